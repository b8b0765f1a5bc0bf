#include "settings/settings_store.h"

#include <cstring>
#include <string_view>

#include "settings/store_call.h"

namespace vocor {
namespace {

// A null value name is the key's unnamed value, as with the registry.
std::string_view ValueName(const char* name) {
  return name == nullptr ? std::string_view() : std::string_view(name);
}

// A read never needs the write lock for a key that exists. A missing key
// is created, as the registry does, but the answer is "missing" whether or
// not that succeeds (a busy writer). A read-only store, and a snapshot
// being read (which must not wait for another writer), create nothing.
Lookup ReadStored(Connection* connection, bool nested,
                  const std::vector<KeyLevel>& levels,
                  const std::string& folded, StoredValue* value) {
  {
    CallScope scope(connection, nested, CallScope::Kind::kRead);
    if (!scope.ok()) return Lookup::kError;
    int64_t id = 0;
    const Lookup key = FindKey(connection, levels, &id);
    const Lookup found =
        key == Lookup::kFound ? ReadValue(connection, id, folded, value) : key;
    if (!scope.Commit()) return Lookup::kError;
    if (key != Lookup::kMissing) return found;
  }
  const UserStore& store = UserStore::Get();
  if (!store.read_only() && (!nested || store.transaction_writes())) {
    WithOpenedKey(connection, nested, CallScope::Kind::kWrite, levels,
                  [](int64_t) { return Lookup::kFound; });
  }
  return Lookup::kMissing;
}

bool ReadStored(int root, const char* key_path, const char* value_name,
                StoredValue* value) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return false;
  std::string folded = FoldName(ValueName(value_name));
  return RunOnStore(root, [&](Connection* connection, bool nested) {
    return ReadStored(connection, nested, levels, folded, value);
  });
}

bool WriteStored(int root, const char* key_path, const char* value_name,
                 const StoredValue& value) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return false;
  std::string_view name = ValueName(value_name);
  return RunOnStore(root, [&](Connection* connection, bool nested) {
    return WithOpenedKey(
        connection, nested, CallScope::Kind::kWrite, levels, [&](int64_t key) {
          return WriteValue(connection, key, name, value) ? Lookup::kFound
                                                          : Lookup::kError;
        });
  });
}

}  // namespace

bool WriteRegString(int root, const char* key_path, const char* value_name,
                    const char* text) {
  if (text == nullptr) return false;
  StoredValue value{kStringType, std::string(text, std::strlen(text) + 1)};
  return WriteStored(root, key_path, value_name, value);
}

bool ReadRegString(int root, const char* key_path, const char* value_name,
                   std::string* out) {
  StoredValue value;
  if (!ReadStored(root, key_path, value_name, &value)) return false;
  *out = value.data.substr(0, value.data.find('\0'));
  return true;
}

bool WriteRegDword(int root, const char* key_path, const char* value_name,
                   uint32_t value) {
  StoredValue stored{kDwordType, std::string(4, '\0')};
  for (int i = 0; i < 4; ++i) {
    stored.data[i] = static_cast<char>((value >> (8 * i)) & 0xff);
  }
  return WriteStored(root, key_path, value_name, stored);
}

bool ReadRegDword(int root, const char* key_path, const char* value_name,
                  uint32_t* out) {
  StoredValue value;
  if (!ReadStored(root, key_path, value_name, &value)) return false;
  uint32_t result = 0;
  for (size_t i = 0; i < 4 && i < value.data.size(); ++i) {
    result |= static_cast<uint32_t>(static_cast<unsigned char>(value.data[i]))
              << (8 * i);
  }
  *out = result;
  return true;
}

bool DeleteRegTree(int root, const char* key_path) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return false;
  return RunOnStore(root, [&](Connection* connection, bool nested) {
    CallScope scope(connection, nested, CallScope::Kind::kWrite);
    if (!scope.ok()) return Lookup::kError;
    int64_t id = 0;
    const Lookup found = FindKey(connection, levels, &id);
    if (found != Lookup::kFound) return found;
    return DeleteKeyTree(connection, id) && scope.Commit() ? Lookup::kFound
                                                           : Lookup::kError;
  });
}

bool CloseSettingsStore() { return UserStore::Get().Close(); }

uint64_t SettingsFailureCount() { return UserStore::Get().failures(); }

SettingsProblem LastSettingsProblem() {
  return UserStore::Get().last_problem();
}

void ForceSettingsStoreReadOnlyForTesting(bool read_only) {
  UserStore::Get().set_force_read_only(read_only);
}

}  // namespace vocor
