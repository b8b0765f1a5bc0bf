// A read-only image of a whole file, read into memory once. Dictionaries
// and their clones and enumerators share one image by reference count, so
// closing one holder never pulls the bytes from under another, and a file
// changed or truncated on disk while open cannot fault the reader (a
// mapping would).
#ifndef VOCOR_DICTIONARY_FILE_IMAGE_H_
#define VOCOR_DICTIONARY_FILE_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace vocor {

// Owns memory from malloc and its relatives.
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// `size` zeroed bytes from calloc (null when there is no memory), their
// pages backed at once in one request to the kernel. For the per-node
// arrays of a walk that touches them all over: there, taking the pages one
// fault at a time can cost more than the walk itself. A kernel that does
// not know the request leaves them to be faulted in as usual.
std::unique_ptr<uint8_t, FreeDeleter> AllocateBackedZeroes(size_t size);

class FileImage {
 public:
  // Reads the regular file at `path` whole. Returns null when it cannot be
  // opened or read, is not a regular file, is empty, or holds `max_size`
  // bytes or more.
  static std::shared_ptr<const FileImage> Read(const std::string& path,
                                               size_t max_size);

  // Judges a file by its first bytes (the first chunk read, at least
  // kBinarySniffSize of them or the whole file if smaller), so that a file
  // of the wrong kind is refused before the rest of it is read.
  using FirstBytesCheck = bool (*)(const char* first, size_t size);

  // Read, refusing the file (null) when `plausible` rejects its first
  // bytes.
  static std::shared_ptr<const FileImage> Read(const std::string& path,
                                               size_t max_size,
                                               FirstBytesCheck plausible);

  // How many of a file's first bytes an image needs, judged by its first
  // chunk (`first`, `size` bytes) and the file's size: at most `file_size`.
  using LengthNeeded = size_t (*)(const char* first, size_t size,
                                  size_t file_size);

  // Read, stopping after the bytes `needed` asks for (or after the first
  // chunk, if that already holds more), so that a part of the file that is
  // only wanted later is not read now (see ReadPart). file_size() tells
  // how long the file was.
  static std::shared_ptr<const FileImage> Read(const std::string& path,
                                               size_t max_size,
                                               FirstBytesCheck plausible,
                                               LengthNeeded needed);

  // Reads the `length` bytes at `offset` of the file at `path`, provided
  // it still is a regular file of `file_size` bytes; null otherwise, or
  // when fewer bytes could be read. `length` may be 0.
  static std::shared_ptr<const FileImage> ReadPart(const std::string& path,
                                                   size_t offset, size_t length,
                                                   size_t file_size);

  // Reads a text word list as Read does, with the limit of its kind
  // (kMaxWordListFileSize), and refuses binary files: a file whose first
  // kBinarySniffSize bytes hold a NUL byte is no word list. The file is
  // read in bounded chunks, so a refusal comes after the first of them.
  static std::shared_ptr<const FileImage> ReadWordList(const std::string& path);

  // Copies bytes already in memory (tests, fuzzing).
  static std::shared_ptr<const FileImage> FromBytes(const std::string& bytes);

  const char* data() const { return data_.get(); }
  size_t size() const { return size_; }
  // The size of the file the image was read from, when it was read: more
  // than size() for an image of a file's first bytes only.
  size_t file_size() const { return file_size_; }

  // Only FileImage itself can make the key, and so an image.
  class Key {
    friend class FileImage;
    Key() = default;
  };
  FileImage(Key, std::unique_ptr<char, FreeDeleter> data, size_t size)
      : FileImage(Key(), std::move(data), size, size) {}
  FileImage(Key, std::unique_ptr<char, FreeDeleter> data, size_t size,
            size_t file_size)
      : data_(std::move(data)), size_(size), file_size_(file_size) {}

 private:
  // A buffer for `size` bytes, uninitialised. Large buffers are asked to
  // sit on huge pages: a search that starts a fresh process then takes a
  // handful of page faults to read the file instead of one per 4 KiB.
  static std::unique_ptr<char, FreeDeleter> Allocate(size_t size);

  std::unique_ptr<char, FreeDeleter> data_;
  size_t size_;
  size_t file_size_;
};

// Files of 2 GiB or more are refused: sizes and progress are 32-bit ints.
constexpr size_t kMaxDictionaryFileSize = size_t{1} << 31;

// The largest word lists in use hold a few million words in tens of
// megabytes; a text file far beyond that is no word list, and reading it
// whole would cost its size in memory for nothing.
constexpr size_t kMaxWordListFileSize = size_t{512} << 20;

// How much of a word list is looked at to tell text from binary data, the
// way grep and diff tell them apart.
constexpr size_t kBinarySniffSize = size_t{64} << 10;

// Whether `bytes` looks like binary data rather than text: a NUL byte in
// its first kBinarySniffSize bytes.
bool LooksBinary(const char* bytes, size_t size);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_FILE_IMAGE_H_
