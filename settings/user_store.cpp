#include "settings/user_store.h"

#include <unistd.h>

#include "settings/settings_store.h"
#include "settings/store_schema.h"

namespace vocor {

UserStore& UserStore::Get() {
  // Never destroyed, so that no exit path (a forked child's included) can
  // close a connection it should not; CloseSettingsStore() closes it.
  static UserStore* const store = new UserStore;
  return *store;
}

void UserStore::ForgetIfForked() {
  if (connection_ == nullptr || pid_ == getpid()) return;
  // The parent's SQLite state came along with fork(); leave it alone.
  connection_->Abandon();
  connection_.reset();
  path_.clear();
  in_transaction_ = false;
}

Connection* UserStore::Acquire() {
  ForgetIfForked();
  if (in_transaction_) return connection_.get();
  std::string path = SettingsStorePath();
  if (StillValid(path)) return connection_.get();
  Drop();
  if (path.empty()) return nullptr;
  return Open(path);
}

bool UserStore::StillValid(const std::string& path) const {
  if (connection_ == nullptr || connection_->damaged() || path != path_) {
    return false;
  }
  FileId current;
  return GetFileId(path, &current) && current == file_id_;
}

void UserStore::Drop() {
  if (connection_ == nullptr) return;
  FileId current;
  bool same_file = GetFileId(path_, &current) && current == file_id_;
  bool damaged = connection_->damaged();
  if (damaged || !same_file) connection_->SkipCheckpointOnClose();
  connection_.reset();
  if (damaged) MoveAsideDamaged(path_, file_id_);
  path_.clear();
}

Connection* UserStore::Open(const std::string& path) {
  if (!MakeParentFolders(path)) return nullptr;
  // A damaged file gets one chance to be replaced by a fresh store.
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::unique_ptr<Connection> connection = Connection::Open(path);
    if (connection == nullptr) return nullptr;
    FileId id;
    bool have_id = GetFileId(path, &id);
    if (have_id && ReadyStore(connection.get())) {
      connection_ = std::move(connection);
      path_ = path;
      file_id_ = id;
      pid_ = getpid();
      return connection_.get();
    }
    bool damaged = connection->damaged();
    if (damaged) connection->SkipCheckpointOnClose();
    connection.reset();
    if (!damaged || !MoveAsideDamaged(path, id)) return nullptr;
  }
  return nullptr;
}

bool UserStore::BeginTransaction() {
  if (in_transaction_) return false;
  Connection* connection = Acquire();
  if (connection == nullptr || !connection->Exec("BEGIN IMMEDIATE")) {
    return false;
  }
  in_transaction_ = true;
  return true;
}

bool UserStore::EndTransaction(bool commit) {
  if (!in_transaction_) return false;
  in_transaction_ = false;
  if (commit && connection_->Exec("COMMIT")) return true;
  // A failed COMMIT can leave the transaction open.
  connection_->Exec("ROLLBACK");
  return false;
}

bool UserStore::Close() {
  ForgetIfForked();
  if (in_transaction_) return false;
  Drop();
  return true;
}

}  // namespace vocor
