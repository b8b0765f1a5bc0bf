#include "compiler/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
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

// Closes a descriptor on every path out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

 private:
  int fd_;
};

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
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
                         std::string* bytes, std::string* error,
                         const FirstChunkCheck& check) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused
  // below like every file that is not regular.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    *error = Reason("cannot open", path, errno);
    return ReadStatus::kUnreadable;
  }
  Descriptor closer(fd);
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    *error = Reason("cannot read", path, errno);
    return ReadStatus::kUnreadable;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = path + ": not a regular file (" + KindOf(st.st_mode) + ")";
    return ReadStatus::kUnreadable;
  }
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size > max_bytes) {
    *error = path + ": larger than " + std::to_string(max_bytes) + " bytes";
    return ReadStatus::kTooLarge;
  }
  bytes->clear();
  bytes->reserve(static_cast<size_t>(size));
  char chunk[kFirstChunkSize];
  for (bool first = true;; first = false) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = Reason("cannot read", path, errno);
      return ReadStatus::kUnreadable;
    }
    const std::string_view got(chunk, static_cast<size_t>(n));
    std::string reason;
    if (first && check && !check(got, static_cast<size_t>(size), &reason)) {
      *error = path + ": " + reason;
      return ReadStatus::kRefused;
    }
    if (n == 0) break;
    // The file may have grown since it was measured.
    if (bytes->size() + got.size() > max_bytes) {
      *error = path + ": larger than " + std::to_string(max_bytes) + " bytes";
      return ReadStatus::kTooLarge;
    }
    bytes->append(got);
  }
  return ReadStatus::kRead;
}

bool ResolveReplaceTarget(const std::string& path, std::string* target,
                          std::string* error) {
  namespace fs = std::filesystem;
  fs::path current(path);
  // The kernel's own limit on links followed in one lookup.
  for (int links = 0; links <= 40; ++links) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno != ENOENT) {
        *error = Reason("cannot look at", current.string(), errno);
        return false;
      }
      *target = current.string();  // a new file, or a link's missing target
      return true;
    }
    if (S_ISREG(st.st_mode)) {
      *target = current.string();
      return true;
    }
    if (!S_ISLNK(st.st_mode)) {
      *error = current.string() + ": not a regular file (" +
               KindOf(st.st_mode) + "); it is left as it is";
      return false;
    }
    std::error_code failed;
    const fs::path next = fs::read_symlink(current, failed);
    if (failed) {
      *error = Reason("cannot follow", current.string(), failed.value());
      return false;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  *error = Reason("cannot follow", path, ELOOP);
  return false;
}

bool WriteFileAtomically(const std::string& requested, std::string_view bytes,
                         std::string* error) {
  std::string path;
  if (!ResolveReplaceTarget(requested, &path, error)) return false;
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
