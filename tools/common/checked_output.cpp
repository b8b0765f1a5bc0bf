#include "tools/common/checked_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vocor::tools {
namespace {

bool g_failed = false;
int g_error = 0;

void NoteFailure(int error) {
  if (g_failed) return;
  g_failed = true;
  g_error = error != 0 ? error : EIO;
}

}  // namespace

void ReserveStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // Read-only, so that writing to it fails (EBADF) and is reported.
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

bool WriteOutput(std::string_view bytes) {
  if (g_failed) return false;
  if (bytes.empty()) return true;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
    NoteFailure(errno);
    return false;
  }
  return true;
}

bool OutputFailed() { return g_failed; }

int FinishOutput(const char* program, int code, int failure_code) {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) NoteFailure(errno);
  if (!g_failed) return code;
  if (g_error == EPIPE) return code;  // the reader has all it wanted
  std::fprintf(stderr, "%s: cannot write the output: %s\n", program,
               std::strerror(g_error));
  return failure_code;
}

}  // namespace vocor::tools
