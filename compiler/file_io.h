// Whole-file reading and atomic replacement of files, for command-line
// tools that must never leave a half-written output behind.
#ifndef VOCOR_COMPILER_FILE_IO_H_
#define VOCOR_COMPILER_FILE_IO_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vocor {

enum class ReadStatus {
  kRead,
  kTooLarge,    // the file holds more than the limit
  kUnreadable,  // missing, not a regular file, no permission, an I/O error
  kRefused,     // its first bytes showed it is not of the expected kind
};

// Judges a file by its first bytes (at most kFirstChunkSize of them) and
// its size, before the rest is read. Returns false with a one-line reason
// in *reason to refuse it.
using FirstChunkCheck = std::function<bool(
    std::string_view first, size_t file_size, std::string* reason)>;

constexpr size_t kFirstChunkSize = size_t{1} << 16;

// Reads the regular file at `path` whole into *bytes (an empty file is
// read as empty). Its type and size are checked before anything is read:
// devices, pipes and folders are refused, and so is a file larger than
// `max_bytes`. Then `check` (if any) judges the first chunk. On failure
// *error is a one-line reason naming the path.
ReadStatus ReadWholeFile(const std::string& path, size_t max_bytes,
                         std::string* bytes, std::string* error,
                         const FirstChunkCheck& check = nullptr);

// Where replacing `path` writes: `path` itself when nothing is there or a
// regular file is, or the file that a symbolic link at `path` leads to
// (followed through chains of links), which may not exist yet. Fails with
// a one-line reason in *error when what is there, or at the end of the
// links, is not a regular file: replacing a device, a pipe or a folder by
// a file would break whatever relies on it.
bool ResolveReplaceTarget(const std::string& path, std::string* target,
                          std::string* error);

// Replaces the file at `path` with `bytes` so that it holds either its old
// content or all of the new, even across a crash: the bytes go to a
// temporary file in the same folder, which is flushed to disk and renamed
// over `path`. On failure the temporary file is removed, `path` is
// untouched, and *error is a one-line reason. The new file gets the usual
// permissions of a created file (0666 less the umask). The rename only
// ever replaces a regular file: a symbolic link is followed to its target,
// and anything else is refused (see ResolveReplaceTarget).
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error);

}  // namespace vocor

#endif  // VOCOR_COMPILER_FILE_IO_H_
