#include "settings/settings_store.h"
#include "settings/user_store.h"

namespace vocor {

SettingsTransaction::SettingsTransaction() {
  UserStore& store = UserStore::Get();
  if (store.in_transaction()) return;  // Joins the one that lives.
  outer_ = true;
  active_ = store.BeginTransaction();
}

SettingsTransaction::~SettingsTransaction() {
  if (active_) UserStore::Get().EndTransaction(false);
}

bool SettingsTransaction::Commit() {
  // An inner transaction has nothing of its own to commit; the outer one
  // decides.
  if (!outer_) return true;
  if (!active_) return false;
  active_ = false;
  return UserStore::Get().EndTransaction(true);
}

}  // namespace vocor
