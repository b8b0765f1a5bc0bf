#include <sstream>

#include "app/shell/version_info.h"

namespace vocor {

namespace {
CVersionInfo& Current() {
  static CVersionInfo info;
  return info;
}
}  // namespace

const char kVersionResource[] = ":/version/version.txt";

bool ParseVersionText(const std::string& text, CVersionInfo* out) {
  CVersionInfo info;
  bool has_version = false;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "FileDescription") {
      info.FileDescription = value;
    } else if (key == "FileVersion") {
      info.FileVersion = value;
      has_version = true;
    } else if (key == "LegalCopyright") {
      info.LegalCopyright = value;
    }
  }
  if (!has_version) return false;
  *out = info;
  return true;
}

void SetVersionInfo(const CVersionInfo& info) { Current() = info; }

const CVersionInfo& VersionInfo() { return Current(); }

}  // namespace vocor
