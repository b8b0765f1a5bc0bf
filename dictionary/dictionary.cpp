#include "dictionary/dictionary.h"

#include <cstdio>
#include <unordered_map>

namespace vocor {
namespace {

struct IdRegistry {
  std::unordered_map<int, CDictionary*> map;
  int next_id = 0;
};

IdRegistry& Registry() {
  static IdRegistry* registry = new IdRegistry;  // never destroyed: objects
  return *registry;                              // may outlive statics
}

int TakeNextId(CDictionary* object) {
  IdRegistry& r = Registry();
  // Skip ids still held by objects that adopted them out of order.
  while (r.map.count(r.next_id) != 0) ++r.next_id;
  const int id = r.next_id++;
  r.map[id] = object;
  return id;
}

}  // namespace

CDictionary::CDictionary() : id_(TakeNextId(this)) {}

CDictionary::CDictionary(const CDictionary& other)
    : text_(other.text_), id_(TakeNextId(this)) {}

CDictionary::~CDictionary() {
  auto& map = Registry().map;
  auto it = map.find(id_);
  if (it != map.end() && it->second == this) map.erase(it);
}

bool CDictionary::AdoptStoredId(int stored_id) {
  IdRegistry& r = Registry();
  if (stored_id < 0 || stored_id == INT32_MAX) return false;
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

uint32_t CDictionary::GetLanguage() const { return 0; }

std::string CDictionary::GetNotes() const { return std::string(); }

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
