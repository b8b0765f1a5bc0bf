// A read-only image of a whole file, read into memory once. Dictionaries
// and their clones and enumerators share one image by reference count, so
// closing one holder never pulls the bytes from under another, and a file
// changed or truncated on disk while open cannot fault the reader (a
// mapping would).
#ifndef VOCOR_DICTIONARY_FILE_IMAGE_H_
#define VOCOR_DICTIONARY_FILE_IMAGE_H_

#include <cstddef>
#include <memory>
#include <string>

namespace vocor {

class FileImage {
 public:
  // Reads the regular file at `path` whole. Returns null when it cannot be
  // opened or read, is not a regular file, is empty, or holds `max_size`
  // bytes or more.
  static std::shared_ptr<const FileImage> Read(const std::string& path,
                                               size_t max_size);

  // Wraps bytes already in memory (tests, fuzzing).
  static std::shared_ptr<const FileImage> FromBytes(std::string bytes);

  const char* data() const { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }

  explicit FileImage(std::string bytes) : bytes_(std::move(bytes)) {}

 private:
  std::string bytes_;
};

// Files of 2 GiB or more are refused: sizes and progress are 32-bit ints.
constexpr size_t kMaxDictionaryFileSize = size_t{1} << 31;

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_FILE_IMAGE_H_
