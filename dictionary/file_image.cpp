#include "dictionary/file_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vocor {
namespace {

// Closes a descriptor on every path out of Read.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::shared_ptr<const FileImage> FileImage::Read(const std::string& path,
                                                 size_t max_size) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return nullptr;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  if (st.st_size <= 0 || static_cast<size_t>(st.st_size) >= max_size) {
    return nullptr;
  }
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return nullptr;
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  if (bytes.empty()) return nullptr;
  return std::make_shared<const FileImage>(std::move(bytes));
}

std::shared_ptr<const FileImage> FileImage::FromBytes(std::string bytes) {
  return std::make_shared<const FileImage>(std::move(bytes));
}

}  // namespace vocor
