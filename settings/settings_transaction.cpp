#include "settings/settings_store.h"
#include "settings/user_store.h"

namespace vocor {

SettingsTransaction::SettingsTransaction(Mode mode) {
  UserStore& store = UserStore::Get();
  // Joins the one that lives, or shares the failure of one that could not
  // begin.
  if (store.in_transaction() || store.transaction_failed()) return;
  outer_ = true;
  active_ = store.BeginTransaction(mode == Mode::kWrite);
  if (!active_) {
    failed_ = true;
    store.set_transaction_failed(true);
  }
}

SettingsTransaction::~SettingsTransaction() {
  UserStore& store = UserStore::Get();
  if (active_) store.EndTransaction(false);
  if (failed_) store.set_transaction_failed(false);
}

bool SettingsTransaction::ok() const {
  if (outer_) return active_;
  UserStore& store = UserStore::Get();
  return store.in_transaction() && !store.transaction_failed();
}

bool SettingsTransaction::Commit() {
  // An inner transaction has nothing of its own to commit; the outer one
  // decides.
  if (!outer_) return !UserStore::Get().transaction_failed();
  if (!active_) return false;
  active_ = false;
  return UserStore::Get().EndTransaction(true);
}

}  // namespace vocor
