#include "dictionary/dictionary_state.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "settings/settings_store.h"

namespace vocor {

const char kProgramKey[] = "Software\\Vocor\\Vocor for Windows";
const char kSettingsKey[] = "Software\\Vocor\\Vocor for Windows\\Settings";
const char kDictionariesKey[] =
    "Software\\Vocor\\Vocor for Windows\\Dictionaries";
const char kSetsKey[] = "Software\\Vocor\\Vocor for Windows\\DictionarySets";

namespace {

constexpr char kActiveValue[] = "ActiveDictionary";

}  // namespace

DictionaryState::DictionaryState()
    : all_dictionaries_(std::make_unique<CDictionarySet>()),
      all_sets_(std::make_unique<CDictionarySet>()),
      active_(all_dictionaries_.get()) {
  all_dictionaries_->SetName("All Dictionaries");
  all_dictionaries_->MarkAsContainer();
  all_sets_->SetName("All Sets");
  all_sets_->MarkAsContainer();
}

DictionaryState::~DictionaryState() {
  active_ = nullptr;
  all_sets_->DeleteAll();
  all_sets_.reset();
  all_dictionaries_->DeleteAll();
  all_dictionaries_.reset();
}

void DictionaryState::SetActive(CDictionary* dictionary) {
  active_ = dictionary != nullptr ? dictionary : all_dictionaries_.get();
}

void DictionaryState::LoadDictionaries() {
  active_ = all_dictionaries_.get();
  all_sets_->DeleteAll();
  all_dictionaries_->LoadMembersFromRegistry(kCurrentUser, kDictionariesKey);
  all_sets_->LoadMembersFromRegistry(kCurrentUser, kSetsKey);
  LoadActiveDictionary();
}

bool DictionaryState::SaveDictionaries() const {
  SettingsTransaction transaction;
  if (all_dictionaries_->SaveMembersToRegistry(kCurrentUser, kDictionariesKey) <
          0 ||
      all_sets_->SaveMembersToRegistry(kCurrentUser, kSetsKey) < 0 ||
      !SaveActiveDictionary()) {
    return false;  // the transaction rolls back
  }
  return transaction.Commit();
}

void DictionaryState::LoadActiveDictionary() {
  uint32_t id = 0;
  CDictionary* found = nullptr;
  if (ReadRegDword(kCurrentUser, kSettingsKey, kActiveValue, &id) &&
      id <= static_cast<uint32_t>(INT32_MAX)) {
    found = CDictionary::FindById(static_cast<int>(id));
  }
  SetActive(found);
}

bool DictionaryState::SaveActiveDictionary() const {
  const uint32_t id =
      active_ != nullptr ? static_cast<uint32_t>(active_->id()) : 0xFFFFFFFFu;
  return WriteRegDword(kCurrentUser, kSettingsKey, kActiveValue, id);
}

CDictionary* DictionaryState::Install(const std::string& path) {
  std::unique_ptr<CDictionary> dictionary = OpenDictionaryFile(path.c_str());
  if (dictionary == nullptr) return nullptr;
  CDictionary* raw = dictionary.get();
  all_dictionaries_->AdoptMember(std::move(dictionary));
  return raw;
}

bool DictionaryState::Uninstall(CDictionary* dictionary) {
  CDictionarySet* container = nullptr;
  if (all_dictionaries_->Owns(dictionary)) container = all_dictionaries_.get();
  if (all_sets_->Owns(dictionary)) container = all_sets_.get();
  if (container == nullptr) return false;
  for (CDictionary* member : all_sets_->members()) {
    if (auto* set = dynamic_cast<CDictionarySet*>(member)) {
      set->members().Remove(dictionary);
    }
  }
  if (active_ == dictionary) active_ = all_dictionaries_.get();
  container->ReleaseMember(dictionary);  // destroyed here
  return true;
}

std::vector<std::string> ListDictionaryFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_directory(error)) continue;
    if (entry.path().extension() == ".dic") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

int DictionaryState::InstallDataFolderDictionaries(const std::string& folder) {
  int installed = 0;
  for (const auto& file : ListDictionaryFiles(folder)) {
    installed += Install(file) != nullptr;
  }
  if (installed == 0) return 0;
  LoadActiveDictionary();
  SaveDictionaries();
  return installed;
}

}  // namespace vocor
