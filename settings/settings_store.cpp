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

bool ReadStored(int root, const char* key_path, const char* value_name,
                StoredValue* value) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return false;
  std::string folded = FoldName(ValueName(value_name));
  return RunOnStore(root, [&](Connection* connection, bool nested) {
    return WithOpenedKey(connection, nested, CallScope::Kind::kRead, levels,
                         [&](int64_t key) {
                           return ReadValue(connection, key, folded, value);
                         }) == Lookup::kFound;
  });
}

bool WriteStored(int root, const char* key_path, const char* value_name,
                 const StoredValue& value) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return false;
  std::string_view name = ValueName(value_name);
  return RunOnStore(root, [&](Connection* connection, bool nested) {
    return WithOpenedKey(connection, nested, CallScope::Kind::kWrite, levels,
                         [&](int64_t key) {
                           return WriteValue(connection, key, name, value)
                                      ? Lookup::kFound
                                      : Lookup::kError;
                         }) == Lookup::kFound;
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
    int64_t id = 0;
    return scope.ok() && FindKey(connection, levels, &id) == Lookup::kFound &&
           DeleteKeyTree(connection, id) && scope.Commit();
  });
}

bool CloseSettingsStore() { return UserStore::Get().Close(); }

}  // namespace vocor
