#include "dictionary/dictionary_state.h"

#include <algorithm>
#include <filesystem>
#include <functional>
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
// Moved on by every save of the lists, by any process.
constexpr char kGenerationValue[] = "DictionaryListsGeneration";

// The stored generation; 0 when none is stored yet.
uint32_t StoredGeneration() {
  uint32_t generation = 0;
  ReadRegDword(kCurrentUser, kSettingsKey, kGenerationValue, &generation);
  return generation;
}

}  // namespace

ListsResult ListsResultOf(SettingsProblem problem) {
  switch (problem) {
    case SettingsProblem::kBusy:
      return ListsResult::kBusy;
    case SettingsProblem::kReadOnly:
      return ListsResult::kReadOnly;
    case SettingsProblem::kUnavailable:
      return ListsResult::kUnavailable;
    default:
      return ListsResult::kFailed;
  }
}

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

bool DictionaryState::IsActivatable(const CDictionary* dictionary) const {
  if (dictionary == all_dictionaries_.get()) return true;
  return (all_dictionaries_->Owns(dictionary) || all_sets_->Owns(dictionary)) &&
         !IsUnavailable(*dictionary);
}

bool DictionaryState::SetActive(CDictionary* dictionary) {
  if (dictionary == nullptr) dictionary = all_dictionaries_.get();
  if (!IsActivatable(dictionary)) return false;
  if (active_ != dictionary) {
    active_changed_ = true;
    unavailable_active_id_ = -1;  // the user chose another
  }
  active_ = dictionary;
  return true;
}

void DictionaryState::ResolveSetMembers() {
  for (CDictionarySet* container : {all_dictionaries_.get(), all_sets_.get()}) {
    for (CDictionary* member : container->members()) {
      if (auto* set = dynamic_cast<CDictionarySet*>(member)) {
        set->ResolveStoredMembers();
      }
    }
  }
}

void DictionaryState::LoadDictionaries() {
  active_ = all_dictionaries_.get();
  all_sets_->DeleteAll();
  unopened_.clear();
  const uint64_t failures = SettingsFailureCount();
  bool read = false;
  {
    // One snapshot: the sets must match the dictionaries they name, and
    // the generation the lists.
    SettingsTransaction snapshot(SettingsTransaction::Mode::kRead);
    read = snapshot.ok() &&
           all_dictionaries_->LoadMembersFromRegistry(
               kCurrentUser, kDictionariesKey, &unopened_) >= 0 &&
           all_sets_->LoadMembersFromRegistry(kCurrentUser, kSetsKey) >= 0;
    ResolveSetMembers();
    generation_ = StoredGeneration();
    LoadActiveDictionary();
    snapshot.Commit();
  }
  active_changed_ = false;
  loaded_ = read && SettingsFailureCount() == failures;
  load_result_ =
      loaded_ ? ListsResult::kOk : ListsResultOf(LastSettingsProblem());
}

ListsResult DictionaryState::Save() const {
  return StoreUnderGeneration([this] {
    return all_dictionaries_->SaveMembersToRegistry(kCurrentUser,
                                                    kDictionariesKey) >= 0 &&
           all_sets_->SaveMembersToRegistry(kCurrentUser, kSetsKey) >= 0 &&
           SaveActiveDictionary();
  });
}

ListsResult DictionaryState::SaveActiveIfChanged() {
  if (!active_changed_) return ListsResult::kOk;
  return StoreUnderGeneration([this] { return SaveActiveDictionary(); });
}

ListsResult DictionaryState::StoreUnderGeneration(
    const std::function<bool()>& write) const {
  if (!loaded_) return ListsResult::kNotLoaded;
  const uint64_t failures = SettingsFailureCount();
  SettingsTransaction transaction;
  if (!transaction.ok()) return ListsResultOf(LastSettingsProblem());
  const uint32_t stored = StoredGeneration();
  if (SettingsFailureCount() != failures) {
    return ListsResultOf(LastSettingsProblem());
  }
  if (stored != generation_) return ListsResult::kChanged;
  const uint32_t next = generation_ + 1;
  if (!write() ||
      !WriteRegDword(kCurrentUser, kSettingsKey, kGenerationValue, next) ||
      !transaction.Commit()) {
    return ListsResultOf(LastSettingsProblem());  // the transaction rolls back
  }
  generation_ = next;
  active_changed_ = false;
  return ListsResult::kOk;
}

bool DictionaryState::SaveDictionaries() const {
  return Save() == ListsResult::kOk;
}

void DictionaryState::LoadActiveDictionary() {
  uint32_t id = 0;
  CDictionary* found = nullptr;
  if (ReadRegDword(kCurrentUser, kSettingsKey, kActiveValue, &id) &&
      id <= static_cast<uint32_t>(INT32_MAX)) {
    found = CDictionary::FindById(static_cast<int>(id));
  }
  if (!SetActive(found)) SetActive(nullptr);
  const bool installed = found != nullptr && (all_dictionaries_->Owns(found) ||
                                              all_sets_->Owns(found));
  unavailable_active_id_ =
      installed && IsUnavailable(*found) ? found->id() : -1;
}

bool DictionaryState::SaveActiveDictionary() const {
  // Unread lists resolve the stored choice wrongly; keep the stored one.
  if (!loaded_) return false;
  const int kept =
      active_ == all_dictionaries_.get() ? unavailable_active_id_ : -1;
  const uint32_t id = kept >= 0 ? static_cast<uint32_t>(kept)
                      : active_ != nullptr
                          ? static_cast<uint32_t>(active_->id())
                          : 0xFFFFFFFFu;
  return WriteRegDword(kCurrentUser, kSettingsKey, kActiveValue, id);
}

CDictionary* DictionaryState::Install(const std::string& path) {
  std::unique_ptr<CDictionary> dictionary = OpenDictionaryFile(path.c_str());
  if (dictionary == nullptr || !PassesInstallCheck(*dictionary)) {
    return nullptr;
  }
  CDictionary* raw = dictionary.get();
  all_dictionaries_->AdoptMember(std::move(dictionary));
  return raw;
}

bool DictionaryState::Uninstall(CDictionary* dictionary) {
  CDictionarySet* container = nullptr;
  if (all_dictionaries_->Owns(dictionary)) container = all_dictionaries_.get();
  if (all_sets_->Owns(dictionary)) container = all_sets_.get();
  if (container == nullptr) return false;
  if (active_ == dictionary) SetActive(nullptr);
  if (dictionary->id() == unavailable_active_id_) unavailable_active_id_ = -1;
  // Destroyed here; it leaves every set that holds it as it goes.
  container->ReleaseMember(dictionary);
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
  if (!loaded_) return 0;
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
