#include "dictionary/dictionary.h"

#include <climits>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "dictionary/dictionary_list.h"

namespace vocor {
namespace {

// Ids run from 0 to kIdLimit - 1, so that the counter itself, which stops
// at kIdLimit, can never wrap.
constexpr int kIdLimit = INT_MAX;

struct IdRegistry {
  std::unordered_map<int, CDictionary*> map;
  int next_id = 0;
  // The member lists of every live set, wherever the set is kept: a
  // dictionary leaves them all as it dies.
  std::unordered_set<CList2<CDictionary*, CDictionary*>*> member_lists;
};

IdRegistry& Registry() {
  static IdRegistry* registry = new IdRegistry;  // never destroyed: objects
  return *registry;                              // may outlive statics
}

int LowestFreeId(const IdRegistry& r) {
  int id = 0;
  while (r.map.count(id) != 0) ++id;
  return id;
}

int TakeNextId(CDictionary* object) {
  IdRegistry& r = Registry();
  // Skip ids still held by objects that adopted them out of order.
  while (r.next_id < kIdLimit && r.map.count(r.next_id) != 0) ++r.next_id;
  // Once a stored id has pushed the counter to the end, ids are reused.
  const int id = r.next_id < kIdLimit ? r.next_id++ : LowestFreeId(r);
  r.map[id] = object;
  return id;
}

}  // namespace

CDictionary::CDictionary() : id_(TakeNextId(this)) {}

CDictionary::CDictionary(const CDictionary& other)
    : text_(other.text_), id_(TakeNextId(this)) {}

CDictionary::~CDictionary() {
  for (auto* list : Registry().member_lists) {
    while (list->Remove(this)) {
    }
  }
  auto& map = Registry().map;
  auto it = map.find(id_);
  if (it != map.end() && it->second == this) map.erase(it);
}

bool CDictionary::AdoptStoredId(int stored_id) {
  IdRegistry& r = Registry();
  if (!IsValidId(stored_id)) return false;
  auto it = r.map.find(stored_id);
  if (it != r.map.end() && it->second != this) return false;
  auto mine = r.map.find(id_);
  if (mine != r.map.end() && mine->second == this) r.map.erase(mine);
  id_ = stored_id;
  r.map[id_] = this;
  if (stored_id >= r.next_id) r.next_id = stored_id + 1;
  return true;
}

CDictionary* CDictionary::FindById(int id) {
  auto& map = Registry().map;
  auto it = map.find(id);
  return it == map.end() ? nullptr : it->second;
}

int CDictionary::NextId() { return Registry().next_id; }

bool CDictionary::IsValidId(int64_t id) { return id >= 0 && id < kIdLimit; }

void CDictionary::RegisterMemberList(CList2<CDictionary*, CDictionary*>* list) {
  Registry().member_lists.insert(list);
}

void CDictionary::UnregisterMemberList(
    CList2<CDictionary*, CDictionary*>* list) {
  Registry().member_lists.erase(list);
}

uint32_t CDictionary::GetLanguage() const { return 0; }

std::string CDictionary::GetNotes() const { return std::string(); }

bool CDictionary::HasScores() const { return false; }

std::string FormatSize(int bytes) {
  char buffer[64];
  if (bytes < 1024) {
    std::snprintf(buffer, sizeof buffer, "%i bytes", bytes);
  } else if (bytes < 1048576) {
    std::snprintf(buffer, sizeof buffer, "%.1f Kb", bytes * (1.0 / 1024));
  } else {
    std::snprintf(buffer, sizeof buffer, "%.1f Mb",
                  bytes * (1.0 / 1024) * (1.0 / 1024));
  }
  return buffer;
}

std::string FormatCount(int n) {
  // The sign is kept apart so that it is never separated by a comma.
  const bool negative = n < 0;
  std::string digits = std::to_string(negative ? -static_cast<long long>(n)
                                               : static_cast<long long>(n));
  for (int pos = static_cast<int>(digits.size()) - 3; pos > 0; pos -= 3) {
    digits.insert(pos, 1, ',');
  }
  return negative ? "-" + digits : digits;
}

}  // namespace vocor
