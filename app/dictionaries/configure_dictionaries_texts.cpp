#include "app/dictionaries/configure_dictionaries_texts.h"

#include <filesystem>

#include "dictionary/shipped_folders.h"

namespace vocor {

std::string RemoveQuestion(const std::string& utf8_name) {
  return "Are you sure you wish to remove '" + utf8_name + "'?";
}

const std::vector<std::string>& InstallFilters() {
  static const std::vector<std::string> filters = {
      "All dictionary files (*.dic *.txt)",
      "Dictionary files (*.dic)",
      "Text files (*.txt)",
      "All files (*)",
  };
  return filters;
}

std::string InstallStartFolder(const std::string& program_folder,
                               const std::string& data_folder) {
  const std::filesystem::path languages =
      FindShippedFolder(program_folder, kLanguagesFolderName);
  std::error_code error;
  if (std::filesystem::is_directory(languages, error)) {
    return languages.lexically_normal().string();
  }
  return data_folder;
}

std::string UnopenedDictionariesMessage(const std::vector<std::string>& files) {
  constexpr size_t kNamed = 10;
  if (files.empty()) return {};
  const bool one = files.size() == 1;
  std::string text =
      one ? "An installed dictionary could not be opened:\n\n"
          : "Some installed dictionaries could not be opened:\n\n";
  for (size_t i = 0; i < files.size() && i < kNamed; ++i) {
    text += files[i] + "\n";
  }
  if (files.size() > kNamed) {
    text += "and " + std::to_string(files.size() - kNamed) + " more\n";
  }
  if (one) {
    return text +
           "\nIt stays installed but is not searched in this session; once "
           "its file is back, the next start opens it again. Configure "
           "Dictionaries lists it as unavailable, where you can uninstall it.";
  }
  return text +
         "\nThey stay installed but are not searched in this session; once "
         "their files are back, the next start opens them again. Configure "
         "Dictionaries lists them as unavailable, where you can uninstall "
         "them.";
}

std::string UnavailableDisplayName(const std::string& path) {
  return std::filesystem::path(path).filename().string() + " (unavailable)";
}

std::string ListsNotStoredMessage(ListsResult result) {
  switch (result) {
    case ListsResult::kOk:
      return {};
    case ListsResult::kChanged:
      // Another window or vocor-cli: the store does not say which.
      return "The dictionaries were changed by another program since "
             "this window read them. Their new state has been read instead of "
             "overwriting it; please make your changes again.";
    case ListsResult::kNotLoaded:
      return "The dictionary settings could not be read when Vocor started, "
             "so your changes apply to this session only and were not "
             "stored.";
    default:
      return "The dictionary settings could not be stored. Your changes "
             "apply to this session only.";
  }
}

}  // namespace vocor
