#include "definitions/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vocor {

std::unique_ptr<FileReader> FileReader::Open(const std::filesystem::path& path,
                                             std::string* error) {
  const std::string name = path.filename().string();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = name + ": cannot be opened (" + std::strerror(errno) + ")";
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    *error = name + ": not a regular file";
    return nullptr;
  }
  return std::unique_ptr<FileReader>(
      new FileReader(fd, static_cast<uint64_t>(st.st_size), name));
}

FileReader::~FileReader() { ::close(fd_); }

bool FileReader::ReadAt(uint64_t offset, size_t length,
                        std::string* out) const {
  out->resize(length);
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd_, out->data() + done, length - done,
                              static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  out->resize(done);
  return true;
}

bool FileReader::ReadExactly(uint64_t offset, size_t length,
                             std::string* out) const {
  return ReadAt(offset, length, out) && out->size() == length;
}

}  // namespace vocor
