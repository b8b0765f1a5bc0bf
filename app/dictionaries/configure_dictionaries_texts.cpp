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

std::string ListsNotStoredMessage(ListsResult result) {
  switch (result) {
    case ListsResult::kOk:
      return {};
    case ListsResult::kChanged:
      return "The dictionaries were changed by another Vocor window since "
             "this one read them. Their new state has been read instead of "
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
