#include "settings/call_scope.h"

#include "settings/sqlite_connection.h"

namespace vocor {

CallScope::CallScope(Connection* connection, bool nested, Kind kind)
    : connection_(connection), nested_(nested) {
  const char* begin = nested                 ? "SAVEPOINT vocor_call"
                      : kind == Kind::kWrite ? "BEGIN IMMEDIATE"
                                             : "BEGIN DEFERRED";
  open_ = connection_->Exec(begin);
}

CallScope::~CallScope() {
  if (open_) Rollback();
}

bool CallScope::Commit() {
  if (!open_) return false;
  if (connection_->Exec(nested_ ? "RELEASE vocor_call" : "COMMIT")) {
    open_ = false;
    return true;
  }
  Rollback();
  return false;
}

void CallScope::Rollback() {
  open_ = false;
  if (nested_) {
    // ROLLBACK TO keeps the savepoint on the stack; RELEASE removes it.
    connection_->Exec("ROLLBACK TO vocor_call");
    connection_->Exec("RELEASE vocor_call");
  } else {
    connection_->Exec("ROLLBACK");
  }
}

}  // namespace vocor
