#include "app/dictionaries/dictionary_working_copy.h"

#include <algorithm>

namespace vocor {

namespace {

void RemoveEverywhere(DictionaryList* list, CDictionary* dictionary) {
  while (list->Remove(dictionary)) {
  }
}

}  // namespace

DictionaryWorkingCopy::DictionaryWorkingCopy(DictionaryState* state)
    : state_(state) {
  for (CDictionary* dictionary : state->all_dictionaries()->members()) {
    if (dynamic_cast<CDictionarySet*>(dictionary) == nullptr) {
      dictionaries_.members().AddTail(dictionary);
      continue;
    }
    listed_sets_.emplace_back(dictionary, dictionary->Clone());
    CDictionary* copy = listed_sets_.back().second.get();
    set_copies_[dictionary] = copy;
    dictionaries_.members().AddTail(copy);
  }
  for (CDictionary* set : state->all_sets()->members()) {
    sets_.push_back(set->Clone());
    set_copies_[set] = sets_.back().get();
  }
  // A set may hold another set: the copy must hold that set's copy, or it
  // would lose the member when the application's sets are replaced.
  for (CDictionarySet* set : WorkingSets()) {
    for (CDictionary*& member : set->members().items()) {
      member = WorkingCopyOf(member);
    }
  }
}

std::vector<CDictionarySet*> DictionaryWorkingCopy::WorkingSets() const {
  std::vector<CDictionarySet*> sets;
  for (const auto& listed : listed_sets_) {
    sets.push_back(static_cast<CDictionarySet*>(listed.second.get()));
  }
  for (const auto& copy : sets_) {
    if (auto* set = dynamic_cast<CDictionarySet*>(copy.get())) {
      sets.push_back(set);
    }
  }
  return sets;
}

CDictionary* DictionaryWorkingCopy::WorkingCopyOf(
    CDictionary* dictionary) const {
  const auto found = set_copies_.find(dictionary);
  return found != set_copies_.end() ? found->second : dictionary;
}

DictionaryWorkingCopy::~DictionaryWorkingCopy() { Discard(); }

CDictionary* DictionaryWorkingCopy::Install(const std::string& path) {
  std::unique_ptr<CDictionary> dictionary = OpenDictionaryFile(path.c_str());
  if (dictionary == nullptr || !PassesInstallCheck(*dictionary)) {
    return nullptr;
  }
  CDictionary* installed = dictionary.get();
  dictionaries_.AdoptMember(std::move(dictionary));
  modified_ = true;
  return installed;
}

bool DictionaryWorkingCopy::Uninstall(CDictionary* dictionary) {
  if (dictionary == nullptr || !dictionaries_.members().Find(dictionary)) {
    return false;
  }
  if (activated_ == dictionary) activated_ = nullptr;
  for (CDictionarySet* set : WorkingSets()) {
    RemoveEverywhere(&set->members(), dictionary);
  }
  if (dictionaries_.Owns(dictionary)) {
    dictionaries_.ReleaseMember(dictionary);  // destroyed here
    modified_ = true;
    return true;
  }
  RemoveEverywhere(&dictionaries_.members(), dictionary);
  const auto listed = std::find_if(listed_sets_.begin(), listed_sets_.end(),
                                   [dictionary](const auto& entry) {
                                     return entry.second.get() == dictionary;
                                   });
  if (listed != listed_sets_.end()) {
    // A set's copy: the original goes at Commit, the copy now.
    uninstalled_.push_back(listed->first);
    set_copies_.erase(listed->first);
    listed_sets_.erase(listed);
  } else {
    uninstalled_.push_back(dictionary);
  }
  modified_ = true;
  return true;
}

bool DictionaryWorkingCopy::Activate(CDictionary* dictionary) {
  if (dictionary == nullptr || !dictionaries_.members().Find(dictionary) ||
      IsUnavailable(*dictionary)) {
    return false;
  }
  activated_ = dictionary;
  modified_ = true;
  return true;
}

CDictionary* DictionaryWorkingCopy::ActiveAfterCommit() const {
  CDictionary* active = activated_ != nullptr ? activated_ : state_->active();
  if (std::find(uninstalled_.begin(), uninstalled_.end(), active) !=
      uninstalled_.end()) {
    return nullptr;  // "All Dictionaries"
  }
  const auto copy = set_copies_.find(active);
  return copy != set_copies_.end() ? copy->second : active;
}

void DictionaryWorkingCopy::HandOverDictionaries() {
  CDictionarySet* all = state_->all_dictionaries();
  const DictionaryList order = dictionaries_.members();
  // Destroying them takes them out of every set that holds them,
  // wherever that set is kept.
  for (CDictionary* dictionary : uninstalled_) state_->Uninstall(dictionary);
  uninstalled_.clear();
  // The copies of the sets listed among the dictionaries replace them.
  for (auto& [original, copy] : listed_sets_) {
    state_->Uninstall(original);
    all->AdoptMember(std::move(copy));
  }
  listed_sets_.clear();
  for (CDictionary* dictionary : order) {
    if (dictionaries_.Owns(dictionary)) {
      all->AdoptMember(dictionaries_.ReleaseMember(dictionary));
    }
  }
  dictionaries_.members().RemoveAll();
  all->members().CopyFrom(order);
}

void DictionaryWorkingCopy::HandOverSets() {
  CDictionarySet* all = state_->all_sets();
  all->DeleteAll();
  for (auto& copy : sets_) all->AdoptMember(std::move(copy));
  sets_.clear();
  set_copies_.clear();
}

ListsResult DictionaryWorkingCopy::Commit() {
  if (done_) return ListsResult::kOk;
  if (!modified_) {
    Discard();
    return ListsResult::kOk;
  }
  done_ = true;
  CDictionary* active = ActiveAfterCommit();
  // Nothing may point at what the hand-over destroys.
  state_->SetActive(nullptr);
  HandOverDictionaries();
  HandOverSets();
  state_->SetActive(active);
  const ListsResult result = state_->Save();
  if (result == ListsResult::kChanged) state_->LoadDictionaries();
  return result;
}

void DictionaryWorkingCopy::Discard() {
  if (done_) return;
  done_ = true;
  activated_ = nullptr;
  sets_.clear();
  listed_sets_.clear();
  set_copies_.clear();
  dictionaries_.DeleteAll();
  uninstalled_.clear();
}

}  // namespace vocor
