// The key tree in SQL terms. Every function here runs inside a CallScope
// the caller holds; none starts or ends a transaction. Key ids are valid
// only within that scope: another process may delete the key afterwards.
#ifndef VOCOR_SETTINGS_KEY_TREE_H_
#define VOCOR_SETTINGS_KEY_TREE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/key_path.h"

namespace vocor {

class Connection;

enum class Lookup { kFound, kMissing, kError };

// Value type codes, those of the registry.
constexpr int kStringType = 1;
constexpr int kDwordType = 4;

struct StoredValue {
  int type = 0;
  std::string data;
};

// Finds the key at `levels` (non-empty) without creating anything.
Lookup FindKey(Connection* connection, const std::vector<KeyLevel>& levels,
               int64_t* id);

// Finds the key at `levels` (non-empty), creating it and its missing
// ancestors with the names as spelled there. Needs a write scope.
bool CreateKey(Connection* connection, const std::vector<KeyLevel>& levels,
               int64_t* id);

// Name of the subkey of `parent` at `index` in folded-name order.
Lookup FindSubkeyName(Connection* connection, int64_t parent, int index,
                      std::string* name);

// Names of every subkey of `parent`, in folded-name order, in one query.
Lookup ListSubkeyNames(Connection* connection, int64_t parent,
                       std::vector<std::string>* names);

// Removes the key `id`, every key below it and all their values.
bool DeleteKeyTree(Connection* connection, int64_t id);

Lookup ReadValue(Connection* connection, int64_t key,
                 std::string_view folded_name, StoredValue* value);

// Creates or replaces a value. A replaced value keeps the name it was
// first written with, as the registry does.
bool WriteValue(Connection* connection, int64_t key, std::string_view name,
                const StoredValue& value);

}  // namespace vocor

#endif  // VOCOR_SETTINGS_KEY_TREE_H_
