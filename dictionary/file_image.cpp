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

// Opens `path` for reading if it is a regular file; the descriptor, or -1.
// Sets *size to the file's size.
int OpenRegularFile(const std::string& path, size_t* size) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    return -1;
  }
  *size = static_cast<size_t>(st.st_size);
  return fd;
}

constexpr size_t kHugePage = size_t{2} << 20;

// Large files are read a chunk at a time, so that a file refused for what
// its first bytes hold costs no more than one chunk. At least
// kBinarySniffSize.
constexpr size_t kReadChunk = size_t{1} << 20;

}  // namespace

std::unique_ptr<uint8_t, FreeDeleter> AllocateBackedZeroes(size_t size) {
  std::unique_ptr<uint8_t, FreeDeleter> bytes(
      static_cast<uint8_t*>(std::calloc(size > 0 ? size : 1, 1)));
#ifdef MADV_POPULATE_WRITE
  if (bytes != nullptr) {
    const auto first = reinterpret_cast<uintptr_t>(bytes.get());
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t start = (first + page - 1) & ~(page - 1);
    const uintptr_t end = (first + size) & ~(page - 1);
    if (end > start) {
      ::madvise(reinterpret_cast<void*>(start), end - start,
                MADV_POPULATE_WRITE);
    }
  }
#endif
  return bytes;
}

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
  return Read(path, max_size, plausible, nullptr);
}

std::shared_ptr<const FileImage> FileImage::Read(const std::string& path,
                                                 size_t max_size,
                                                 FirstBytesCheck plausible,
                                                 LengthNeeded needed) {
  size_t file_size = 0;
  FileDescriptor fd(OpenRegularFile(path, &file_size));
  if (fd.get() < 0 || file_size == 0 || file_size >= max_size) return nullptr;
  size_t expected = file_size;
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
    if (done == 0 && needed != nullptr) {
      expected =
          std::clamp(needed(bytes.get(), static_cast<size_t>(n), file_size),
                     static_cast<size_t>(n), file_size);
    }
    done += static_cast<size_t>(n);
  }
  if (done == 0) return nullptr;
  // A file that shrank while it was read is known only as far as it went.
  const size_t known_size = done == expected ? file_size : done;
  return std::make_shared<const FileImage>(Key(), std::move(bytes), done,
                                           known_size);
}

std::shared_ptr<const FileImage> FileImage::ReadPart(const std::string& path,
                                                     size_t offset,
                                                     size_t length,
                                                     size_t file_size) {
  size_t size_now = 0;
  FileDescriptor fd(OpenRegularFile(path, &size_now));
  if (fd.get() < 0 || size_now != file_size || offset > file_size ||
      length > file_size - offset) {
    return nullptr;
  }
  std::unique_ptr<char, FreeDeleter> bytes = Allocate(length);
  if (bytes == nullptr) return nullptr;
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd.get(), bytes.get() + done, length - done,
                              static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return nullptr;
    done += static_cast<size_t>(n);
  }
  return std::make_shared<const FileImage>(Key(), std::move(bytes), length);
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
