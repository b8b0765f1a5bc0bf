// File-system side of the settings store: where the file lives, whether it
// is still the file a connection was opened on, and putting a damaged file
// aside.
#ifndef VOCOR_SETTINGS_STORE_FILES_H_
#define VOCOR_SETTINGS_STORE_FILES_H_

#include <sys/types.h>

#include <string>

namespace vocor {

// Identifies a file independently of its name.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId&) const = default;
};

// Stores in *id the identity of the file at `path`; false when there is
// none.
bool GetFileId(const std::string& path, FileId* id);

// Creates the folders leading to the file `path` (not the file itself).
bool MakeParentFolders(const std::string& path);

// Renames the store file `path`, provided it is still the file `expected`,
// to "<path>.damaged-YYYYMMDD-HHMMSS" (local time, with "-2", "-3"... when
// that name is taken), along with its "-wal" and "-shm" companions, which
// belong to the damaged file and would spoil a fresh one. Nothing is ever
// deleted or overwritten. Returns false when the file was not renamed
// (already gone, replaced by another process, or the rename failed).
bool MoveAsideDamaged(const std::string& path, const FileId& expected);

}  // namespace vocor

#endif  // VOCOR_SETTINGS_STORE_FILES_H_
