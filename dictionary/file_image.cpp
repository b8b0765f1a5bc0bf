#include "dictionary/file_image.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

constexpr size_t kHugePage = size_t{2} << 20;

// Large files are read a chunk at a time, so that a file refused for what
// its first bytes hold costs no more than one chunk. At least
// kBinarySniffSize.
constexpr size_t kReadChunk = size_t{1} << 20;

}  // namespace

std::unique_ptr<char, FreeDeleter> FileImage::Allocate(size_t size) {
  if (size < kHugePage) {
    return std::unique_ptr<char, FreeDeleter>(
        static_cast<char*>(std::malloc(size > 0 ? size : 1)));
  }
  const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
  char* p = static_cast<char*>(std::aligned_alloc(kHugePage, rounded));
  if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint only
  return std::unique_ptr<char, FreeDeleter>(p);
}

bool LooksBinary(const char* bytes, size_t size) {
  return std::memchr(bytes, '\0', std::min(size, kBinarySniffSize)) != nullptr;
}

std::shared_ptr<const FileImage> FileImage::Read(const std::string& path,
                                                 size_t max_size,
                                                 FirstBytesCheck plausible) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return nullptr;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  if (st.st_size <= 0 || static_cast<size_t>(st.st_size) >= max_size) {
    return nullptr;
  }
  const size_t expected = static_cast<size_t>(st.st_size);
  std::unique_ptr<char, FreeDeleter> bytes = Allocate(expected);
  if (bytes == nullptr) return nullptr;
  size_t done = 0;
  while (done < expected) {
    const size_t chunk = std::min(expected - done, kReadChunk);
    const ssize_t n = ::read(fd.get(), bytes.get() + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return nullptr;
    if (n == 0) break;  // the file shrank while we read it
    if (done == 0 && plausible != nullptr &&
        !plausible(bytes.get(), static_cast<size_t>(n))) {
      return nullptr;
    }
    done += static_cast<size_t>(n);
  }
  if (done == 0) return nullptr;
  return std::make_shared<const FileImage>(Key(), std::move(bytes), done);
}

std::shared_ptr<const FileImage> FileImage::Read(const std::string& path,
                                                 size_t max_size) {
  return Read(path, max_size, nullptr);
}

std::shared_ptr<const FileImage> FileImage::ReadWordList(
    const std::string& path) {
  return Read(path, kMaxWordListFileSize, [](const char* first, size_t size) {
    return !LooksBinary(first, size);
  });
}

std::shared_ptr<const FileImage> FileImage::FromBytes(
    const std::string& bytes) {
  std::unique_ptr<char, FreeDeleter> copy = Allocate(bytes.size());
  if (copy == nullptr) return nullptr;
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return std::make_shared<const FileImage>(Key(), std::move(copy),
                                           bytes.size());
}

}  // namespace vocor
