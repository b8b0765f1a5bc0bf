#include "settings/store_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "settings/settings_store.h"

namespace vocor {
namespace {

// XDG says relative values are invalid and must be ignored.
const char* AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

std::string HomeFolder() {
  if (const char* home = AbsoluteEnv("HOME")) return home;
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return std::string();
}

std::string ConfigFolder() {
  if (const char* config = AbsoluteEnv("XDG_CONFIG_HOME")) return config;
  std::string home = HomeFolder();
  return home.empty() ? home : home + "/.config";
}

// Renames without ever replacing an existing file.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system cannot rename exclusively; a hard link can fail on an
  // existing name just as well.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

std::string TimeStamp() {
  time_t now = time(nullptr);
  struct tm local;
  char text[32] = "unknown-time";
  if (localtime_r(&now, &local) != nullptr) {
    strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  }
  return text;
}

void MoveCompanion(const std::string& path, const std::string& aside,
                   const char* suffix) {
  RenameNoReplace(path + suffix, aside + suffix);
}

}  // namespace

std::string SettingsStorePath() {
  std::string config = ConfigFolder();
  return config.empty() ? config : config + "/Vocor/settings.sqlite";
}

bool GetFileId(const std::string& path, FileId* id) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  id->device = info.st_dev;
  id->inode = info.st_ino;
  return true;
}

bool MakeParentFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  // Another process may create the same folders at the same moment, which
  // create_directories reports as an error; what counts is the outcome.
  std::filesystem::create_directories(parent, error);
  return std::filesystem::is_directory(parent, error);
}

bool MoveAsideDamaged(const std::string& path, const FileId& expected) {
  FileId current;
  if (!GetFileId(path, &current) || !(current == expected)) return false;
  const std::string base = path + ".damaged-" + TimeStamp();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    std::string aside =
        attempt == 1 ? base : base + "-" + std::to_string(attempt);
    if (RenameNoReplace(path, aside)) {
      MoveCompanion(path, aside, "-wal");
      MoveCompanion(path, aside, "-shm");
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace vocor
