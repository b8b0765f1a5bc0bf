// Whole-file reading and atomic replacement of files, for command-line
// tools that must never leave a half-written output behind.
#ifndef VOCOR_TOOLS_VOCOR_MKDIC_FILE_IO_H_
#define VOCOR_TOOLS_VOCOR_MKDIC_FILE_IO_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vocor {

enum class ReadStatus {
  kRead,
  kTooLarge,    // the file holds more than the limit
  kUnreadable,  // missing, a folder, no permission, an I/O error
};

// Reads the file at `path` whole into *bytes (an empty file is read as
// empty). Anything readable counts, pipes included. On failure *error is
// a one-line reason naming the path.
ReadStatus ReadWholeFile(const std::string& path, size_t max_bytes,
                         std::string* bytes, std::string* error);

// Replaces the file at `path` with `bytes` so that it holds either its old
// content or all of the new, even across a crash: the bytes go to a
// temporary file in the same folder, which is flushed to disk and renamed
// over `path`. On failure the temporary file is removed, `path` is
// untouched, and *error is a one-line reason. The new file gets the usual
// permissions of a created file (0666 less the umask).
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error);

}  // namespace vocor

#endif  // VOCOR_TOOLS_VOCOR_MKDIC_FILE_IO_H_
