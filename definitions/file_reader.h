// A regular file opened for positioned reads. The definitions reader never
// maps its files: a file cut short under a mapping faults the process,
// whereas a short pread is an error the caller can report.
#ifndef VOCOR_DEFINITIONS_FILE_READER_H_
#define VOCOR_DEFINITIONS_FILE_READER_H_

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vocor {

class FileReader {
 public:
  // Opens the regular file at `path`; null with *error ("NAME: reason")
  // when it cannot be opened or is not a regular file.
  static std::unique_ptr<FileReader> Open(const std::filesystem::path& path,
                                          std::string* error);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // The size when opened.
  uint64_t size() const { return size_; }
  // The file's name (no folder), for messages.
  const std::string& name() const { return name_; }

  // Reads up to `length` bytes at `offset` into *out (replacing it); fewer
  // at the end of the file. False when the read fails.
  bool ReadAt(uint64_t offset, size_t length, std::string* out) const;
  // Reads exactly `length` bytes at `offset`; false when the file ends
  // first (it was cut short) or the read fails.
  bool ReadExactly(uint64_t offset, size_t length, std::string* out) const;

 private:
  FileReader(int fd, uint64_t size, std::string name)
      : fd_(fd), size_(size), name_(std::move(name)) {}
  int fd_;
  uint64_t size_;
  std::string name_;
};

}  // namespace vocor

#endif  // VOCOR_DEFINITIONS_FILE_READER_H_
