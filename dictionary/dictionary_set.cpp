#include "dictionary/dictionary_set.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_set>

#include "engine/saturate.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

std::string ItemPath(const char* key_path, int n) {
  return std::string(key_path) + "\\Item-" + std::to_string(n);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSet(const CDictionary& dictionary) {
  return dynamic_cast<const CDictionarySet*>(&dictionary) != nullptr;
}

// Reads the member ids of a stored "List" text as atoi reads them, called
// first at the start of the text and then at each later run of digits: so
// only the first number may carry a sign (after leading blanks), and a '-'
// after a number separates. Numbers too large for an int saturate, so
// they name no dictionary.
std::vector<int> ParseIdList(const std::string& text) {
  std::vector<int> ids;
  const char* s = text.c_str();
  while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
  const bool negative = *s == '-' && IsDigit(s[1]);
  if ((*s == '-' || *s == '+') && IsDigit(s[1])) ++s;
  bool first = true;
  while (*s != '\0') {
    if (!IsDigit(*s)) {
      ++s;
      continue;
    }
    const int value = ParseSaturatedDecimal(&s, INT_MAX);
    ids.push_back(first && negative ? -value : value);
    first = false;
  }
  return ids;
}

// The number n of a subkey named "Item-n" (any case), or -1.
long long ItemNumber(const std::string& name) {
  constexpr char kPrefix[] = "item-";
  const size_t prefix = sizeof kPrefix - 1;
  if (name.size() <= prefix || name.size() > prefix + 9) return -1;
  for (size_t i = 0; i < prefix; ++i) {
    if ((name[i] | 0x20) != kPrefix[i]) return -1;
  }
  long long n = 0;
  for (size_t i = prefix; i < name.size(); ++i) {
    if (!IsDigit(name[i])) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

// Saving numbers the members Item-0, Item-1, ... in list order; loading
// them back in that order (not the store's name order, which puts Item-10
// before Item-2) keeps the list's order. That order says nothing about
// which set names which (the menu sorts the lists by name), so sets
// resolve their members only once everything is loaded. Other names
// follow, in the store's order.
void SortItemsByNumber(std::vector<std::string>* subkeys) {
  std::stable_sort(subkeys->begin(), subkeys->end(),
                   [](const std::string& a, const std::string& b) {
                     const long long x = ItemNumber(a), y = ItemNumber(b);
                     if (x < 0 || y < 0) return x >= 0 && y < 0;
                     return x < y;
                   });
}

}  // namespace

CDictionarySet::CDictionarySet() { RegisterMemberList(&members_); }

CDictionarySet::CDictionarySet(const CDictionarySet& source, bool deep)
    : CDictionary(source) {
  RegisterMemberList(&members_);
  for (CDictionary* member : source.members_) {
    if (deep) {
      AdoptMember(member->Clone());
    } else {
      members_.AddTail(member);
    }
  }
}

CDictionarySet::~CDictionarySet() {
  DeleteAll();
  UnregisterMemberList(&members_);
}

std::unique_ptr<CDictionary> CDictionarySet::Clone() const {
  return std::make_unique<CDictionarySet>(*this, false);
}

bool CDictionarySet::IsOpen() const { return true; }

bool CDictionarySet::Open() {
  bool all = true;
  for (CDictionary* member : members_) {
    if (!member->IsOpen() && !member->Open()) all = false;
  }
  return all;
}

void CDictionarySet::Close() {
  for (CDictionary* member : members_) member->Close();
}

int CDictionarySet::GetWordCount() const {
  int sum = 0;
  for (const CDictionary* member : members_) {
    sum = SaturatingAdd(sum, std::max(0, member->GetWordCount()));
  }
  return sum;
}

int CDictionarySet::GetSize() const {
  int sum = 0;
  for (const CDictionary* member : members_) {
    sum = SaturatingAdd(sum, std::max(0, member->GetSize()));
  }
  return sum;
}

bool CDictionarySet::HasScores() const {
  for (const CDictionary* member : members_) {
    if (member->IsOpen() && member->HasScores()) return true;
  }
  return false;
}

EnumPtr CDictionarySet::CreateEnumerator() const {
  EnumPtr all = std::make_unique<CEnumResultsNone>();
  for (const CDictionary* member : members_) {
    if (!member->IsOpen()) continue;
    all = all->Merge(std::move(all), member->CreateEnumerator());
  }
  return all;
}

void CDictionarySet::SortByName() {
  // strcmp compares bytes as unsigned char, a prefix first.
  members_.items().sort([](const CDictionary* a, const CDictionary* b) {
    return std::strcmp(a->GetName(), b->GetName()) < 0;
  });
}

void CDictionarySet::AdoptMember(std::unique_ptr<CDictionary> member) {
  members_.AddTail(member.get());
  owned_.push_back(std::move(member));
}

std::unique_ptr<CDictionary> CDictionarySet::ReleaseMember(
    CDictionary* member) {
  if (!members_.Remove(member)) return nullptr;
  for (auto it = owned_.begin(); it != owned_.end(); ++it) {
    if (it->get() == member) {
      std::unique_ptr<CDictionary> released = std::move(*it);
      owned_.erase(it);
      return released;
    }
  }
  return nullptr;
}

bool CDictionarySet::Owns(const CDictionary* member) const {
  for (const auto& owned : owned_) {
    if (owned.get() == member) return true;
  }
  return false;
}

void CDictionarySet::DeleteAll() {
  members_.RemoveAll();
  while (!owned_.empty()) owned_.pop_back();
}

bool CDictionarySet::WouldLoop(const CDictionary* candidate) const {
  // Walk the sets below the candidate; reaching this set, or meeting a
  // container anywhere, would make enumeration recurse without end.
  std::vector<const CDictionary*> pending = {candidate};
  std::unordered_set<const CDictionary*> seen;
  while (!pending.empty()) {
    const CDictionary* d = pending.back();
    pending.pop_back();
    if (d == this) return true;
    if (!seen.insert(d).second) continue;
    const auto* set = dynamic_cast<const CDictionarySet*>(d);
    if (set == nullptr) continue;
    if (set->container_) return true;
    for (const CDictionary* member : set->members_) pending.push_back(member);
  }
  return false;
}

// ---- Persistence ----

bool CDictionarySet::LoadFromRegistry(int root, const char* key_path) {
  members_.RemoveAll();
  bool ok = CDictionary::LoadFromRegistry(root, key_path);
  if (ok) {
    std::string name;
    ok = ReadRegString(root, key_path, "Name", &name);
    if (ok) text_ = name;
  }
  std::string list;
  const bool list_read = ok && ReadRegString(root, key_path, "List", &list);
  stored_ids_ = ParseIdList(list);
  ResolveStoredMembers();
  return ok && list_read;
}

void CDictionarySet::ResolveStoredMembers() {
  members_.RemoveAll();
  for (int id : stored_ids_) {
    CDictionary* member = FindById(id);
    if (member == nullptr || members_.Find(member) || WouldLoop(member)) {
      continue;
    }
    members_.AddTail(member);
  }
}

bool CDictionarySet::SaveToRegistry(int root, const char* key_path) const {
  std::string list;
  for (const CDictionary* member : members_) {
    if (!list.empty()) list += ',';
    list += std::to_string(member->id());
  }
  const bool base = CDictionary::SaveToRegistry(root, key_path);
  const bool name = WriteRegString(root, key_path, "Name", text_.c_str());
  const bool ids = WriteRegString(root, key_path, "List", list.c_str());
  return base && name && ids;
}

int CDictionarySet::LoadMembersFromRegistry(
    int root, const char* key_path, std::vector<std::string>* unopened) {
  MarkAsContainer();
  DeleteAll();
  const uint64_t failures = SettingsFailureCount();
  std::vector<std::string> subkeys;
  const KeyListing listing = ListSubkeys(root, key_path, &subkeys);
  if (listing == KeyListing::kFailed) return -1;
  if (listing == KeyListing::kMissing) return 0;
  SortItemsByNumber(&subkeys);
  if (CDictionary::LoadFromRegistry(root, key_path)) {
    std::string name;
    if (ReadRegString(root, key_path, "Name", &name)) text_ = name;
  }
  int added = 0;
  // A subkey that fails to load is skipped; the walk goes on to the end.
  for (const std::string& subkey : subkeys) {
    const std::string path = std::string(key_path) + "\\" + subkey;
    std::unique_ptr<CDictionary> member =
        LoadDictionaryFromRegistry(root, path.c_str());
    if (member == nullptr) continue;
    // A set's members were opened as they were loaded. A file that does
    // not open now (a drive not mounted) is kept closed: dropping it
    // would erase it from the store at the next save.
    if (!IsSet(*member) && !member->Open() && unopened != nullptr) {
      unopened->push_back(DictionaryFileName(*member));
    }
    AdoptMember(std::move(member));
    ++added;
  }
  for (CDictionary* member : members_) {
    if (auto* set = dynamic_cast<CDictionarySet*>(member)) {
      set->ResolveStoredMembers();
    }
  }
  // A value that could not be read, unlike one not stored, means the
  // members are not the user's whole list.
  if (SettingsFailureCount() != failures) return -1;
  return added;
}

int CDictionarySet::SaveMembersToRegistry(int root,
                                          const char* key_path) const {
  // Deleting the old list and writing the new one is one change of the
  // store: a crash in between must not lose every installed dictionary.
  SettingsTransaction transaction;
  // Open first so that a store without the key yet can still be written.
  if (!transaction.ok() || OpenSettingsKey(root, key_path) == nullptr ||
      !DeleteRegTree(root, key_path) ||
      !CDictionary::SaveToRegistry(root, key_path) ||
      !WriteRegString(root, key_path, "Name", text_.c_str()) ||
      OpenSettingsKey(root, key_path) == nullptr) {
    return -1;
  }
  int saved = 0;
  for (const CDictionary* member : members_) {
    const std::string path = ItemPath(key_path, saved);
    if (member->SaveToRegistry(root, path.c_str())) {
      ++saved;
    } else {
      // The next member reuses the number; leave it no stray values.
      DeleteRegTree(root, path.c_str());
    }
  }
  if (!transaction.Commit()) return -1;
  return saved;
}

}  // namespace vocor
