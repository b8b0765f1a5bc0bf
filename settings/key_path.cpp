#include "settings/key_path.h"

namespace vocor {

bool ParseKeyPath(const char* text, std::vector<KeyLevel>* levels) {
  levels->clear();
  if (text == nullptr) return false;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t end = rest.find('\\');
    std::string_view level = rest.substr(0, end);
    if (!level.empty()) {
      levels->push_back(KeyLevel{std::string(level), FoldName(level)});
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return !levels->empty();
}

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

}  // namespace vocor
