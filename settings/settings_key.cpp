#include "settings/settings_store.h"
#include "settings/store_call.h"

namespace vocor {
namespace {

// A key handle names its key by path within the store file it was opened
// on and looks the key up afresh at each call, so it always sees the key
// as it is now; a key deleted since enumerates nothing.
class StoredKey final : public SettingsKey {
 public:
  StoredKey(std::string store_path, std::vector<KeyLevel> levels)
      : store_path_(std::move(store_path)), levels_(std::move(levels)) {}

  bool SubkeyName(int index, std::string* name) const override {
    return RunOnStore(kCurrentUser, [&](Connection* connection, bool nested) {
      if (UserStore::Get().path() != store_path_) return Lookup::kMissing;
      CallScope scope(connection, nested, CallScope::Kind::kRead);
      if (!scope.ok()) return Lookup::kError;
      int64_t id = 0;
      std::string found;
      Lookup result = FindKey(connection, levels_, &id);
      if (result == Lookup::kFound) {
        result = FindSubkeyName(connection, id, index, &found);
      }
      if (!scope.Commit()) return Lookup::kError;
      if (result == Lookup::kFound) *name = std::move(found);
      return result;
    });
  }

 private:
  const std::string store_path_;
  const std::vector<KeyLevel> levels_;
};

}  // namespace

std::unique_ptr<SettingsKey> OpenSettingsKey(int root, const char* key_path) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return nullptr;
  bool opened = RunOnStore(root, [&](Connection* connection, bool nested) {
    return WithOpenedKey(connection, nested, CallScope::Kind::kRead, levels,
                         [](int64_t) { return Lookup::kFound; });
  });
  if (!opened) return nullptr;
  return std::make_unique<StoredKey>(UserStore::Get().path(),
                                     std::move(levels));
}

KeyListing ListSubkeys(int root, const char* key_path,
                       std::vector<std::string>* names) {
  std::vector<KeyLevel> levels;
  if (!ParseKeyPath(key_path, &levels)) return KeyListing::kFailed;
  std::vector<std::string> found;
  bool missing = false;
  const bool listed =
      RunOnStore(root, [&](Connection* connection, bool nested) {
        CallScope scope(connection, nested, CallScope::Kind::kRead);
        if (!scope.ok()) return Lookup::kError;
        found.clear();
        int64_t id = 0;
        Lookup result = FindKey(connection, levels, &id);
        missing = result == Lookup::kMissing;
        if (result == Lookup::kFound) {
          result = ListSubkeyNames(connection, id, &found);
        }
        if (!scope.Commit()) return Lookup::kError;
        return missing ? Lookup::kFound : result;
      });
  if (!listed) return KeyListing::kFailed;
  *names = std::move(found);
  return missing ? KeyListing::kMissing : KeyListing::kListed;
}

}  // namespace vocor
