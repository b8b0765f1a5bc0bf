#include "app/search/search_damage.h"

#include <algorithm>

#include "dictionary/dictionary_set.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {

namespace {

void CollectDamaged(const CDictionary* dictionary,
                    std::vector<std::string>* files) {
  if (const auto* set = dynamic_cast<const CDictionarySet*>(dictionary)) {
    for (const CDictionary* member : set->members()) {
      CollectDamaged(member, files);
    }
    return;
  }
  const auto* file = dynamic_cast<const CDictionaryVocorFile*>(dictionary);
  if (file == nullptr || !file->DamageSeen()) return;
  // A file can be a member of several sets under the searched one.
  const std::string path = file->GetFileName();
  if (std::find(files->begin(), files->end(), path) == files->end()) {
    files->push_back(path);
  }
}

}  // namespace

std::vector<std::string> DamagedDictionaryFiles(const CDictionary* searched) {
  std::vector<std::string> files;
  if (searched != nullptr) CollectDamaged(searched, &files);
  return files;
}

std::string DamagedDictionariesMessage(const std::vector<std::string>& files) {
  std::string names;
  for (const std::string& file : files) {
    if (!names.empty()) names += ", ";
    names += "\"" + file + "\"";
  }
  const bool one = files.size() == 1;
  return std::string(one ? "The dictionary file " : "The dictionary files ") +
         names + (one ? " is damaged." : " are damaged.") +
         "  The words found may be incomplete.";
}

}  // namespace vocor
