#include "dictionary/shipped_folders.h"

#include <filesystem>
#include <system_error>

namespace vocor {

namespace fs = std::filesystem;

std::string ProgramFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return std::string();
  return self.parent_path().string();
}

std::string FindShippedFolder(const std::string& program_folder,
                              std::string_view name) {
  const fs::path program(program_folder);
  const fs::path beside = program / name;
  // Normalised, so that messages name the folder without "bin/..".
  const fs::path installed =
      (program / ".." / "share" / "vocor" / name).lexically_normal();
  std::error_code error;
  for (const fs::path& candidate : {beside, installed}) {
    if (fs::is_directory(candidate, error)) return candidate.string();
  }
  return beside.string();
}

}  // namespace vocor
