#include "tools/vocor-mkdic/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vocor {
namespace {

std::string Reason(const std::string& what, const std::string& path,
                   int error_number) {
  return what + " " + path + ": " + std::strerror(error_number);
}

// Owns a descriptor and, until Keep, the temporary file it was made for.
class TemporaryFile {
 public:
  TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the descriptor, reporting a late write error as close sees it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  void Keep() { path_.clear(); }

 private:
  int fd_;
  std::string path_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

mode_t CreationMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Makes the rename itself durable; a failure here loses nothing that the
// caller could still act on, so it is not reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, size_t max_bytes,
                         std::string* bytes, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = Reason("cannot open", path, errno);
    return ReadStatus::kUnreadable;
  }
  bytes->clear();
  char chunk[1 << 16];
  ReadStatus status = ReadStatus::kRead;
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {  // a folder fails here with EISDIR
      *error = Reason("cannot read", path, errno);
      status = ReadStatus::kUnreadable;
      break;
    }
    if (n == 0) break;
    if (bytes->size() + static_cast<size_t>(n) > max_bytes) {
      *error = path + ": larger than " + std::to_string(max_bytes) + " bytes";
      status = ReadStatus::kTooLarge;
      break;
    }
    bytes->append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return status;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error) {
  const std::filesystem::path target(path);
  std::string folder = target.parent_path().string();
  if (folder.empty()) folder = ".";
  std::string pattern =
      folder + "/." + target.filename().string() + ".tmp-XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    *error = Reason("cannot create a file in", folder, errno);
    return false;
  }
  TemporaryFile temp(fd, pattern);
  if (::fchmod(temp.fd(), CreationMode()) != 0 || !WriteAll(temp.fd(), bytes) ||
      ::fsync(temp.fd()) != 0 || !temp.Close()) {
    *error = Reason("cannot write", path, errno);
    return false;
  }
  if (::rename(temp.path().c_str(), path.c_str()) != 0) {
    *error = Reason("cannot replace", path, errno);
    return false;
  }
  temp.Keep();
  SyncFolder(folder);
  return true;
}

}  // namespace vocor
