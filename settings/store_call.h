// The frame every public settings call runs in.
#ifndef VOCOR_SETTINGS_STORE_CALL_H_
#define VOCOR_SETTINGS_STORE_CALL_H_

#include <cstdint>
#include <vector>

#include "settings/call_scope.h"
#include "settings/key_path.h"
#include "settings/key_tree.h"
#include "settings/settings_store.h"
#include "settings/sqlite_connection.h"
#include "settings/user_store.h"

namespace vocor {

// Runs `op(Connection*, bool nested)`, which returns a Lookup, on the
// current user's store; `nested` tells whether a SettingsTransaction lives.
// True when `op` gave kFound. Root 0 and a store that cannot be opened fail
// without calling `op`, and so does every call while a SettingsTransaction
// that failed to begin lives. A call that failed because the file proved
// damaged runs once more, on the fresh store that replaces it, unless a
// transaction still holds the damaged one. Every failure but kMissing is
// counted for SettingsFailureCount().
template <typename Op>
bool RunOnStore(int root, Op op) {
  if (root == 0) return false;
  UserStore& store = UserStore::Get();
  if (store.transaction_failed()) {
    store.RecordFailure(store.last_problem());
    return false;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    Connection* connection = store.Acquire();
    if (connection == nullptr) {
      store.RecordFailure(store.OpenProblem());
      return false;
    }
    const Lookup result = op(connection, store.in_transaction());
    if (result == Lookup::kFound) return true;
    if (result == Lookup::kMissing) return false;
    if (!connection->damaged() || store.in_transaction() || store.read_only()) {
      store.RecordFailure(store.ProblemOf(*connection));
      return false;
    }
  }
  store.RecordFailure(SettingsProblem::kError);
  return false;
}

// Opens the key at `levels` with create semantics and runs `use(key_id)`,
// which returns a Lookup, in the same transaction. For a kRead use, a key
// that exists is used under a read transaction, so that reading does not
// queue behind another process's writer; only a missing key costs a write.
template <typename Use>
Lookup WithOpenedKey(Connection* connection, bool nested, CallScope::Kind kind,
                     const std::vector<KeyLevel>& levels, Use use) {
  int64_t id = 0;
  if (kind == CallScope::Kind::kRead) {
    CallScope scope(connection, nested, kind);
    if (!scope.ok()) return Lookup::kError;
    Lookup found = FindKey(connection, levels, &id);
    if (found == Lookup::kError) return found;
    if (found == Lookup::kFound) {
      Lookup result = use(id);
      return scope.Commit() ? result : Lookup::kError;
    }
  }
  CallScope scope(connection, nested, CallScope::Kind::kWrite);
  if (!scope.ok() || !CreateKey(connection, levels, &id)) {
    return Lookup::kError;
  }
  // The key was created even when `use` fails, as with the registry.
  Lookup result = use(id);
  return scope.Commit() ? result : Lookup::kError;
}

}  // namespace vocor

#endif  // VOCOR_SETTINGS_STORE_CALL_H_
