#include "settings/user_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

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
  open_error_ = 0;
  if (path.empty()) return nullptr;
  return Open(path);
}

void UserStore::RecordFailure(SettingsProblem problem) {
  ++failures_;
  last_problem_ = problem;
}

SettingsProblem UserStore::OpenProblem() const {
  return open_error_ == SQLITE_BUSY ? SettingsProblem::kBusy
                                    : SettingsProblem::kUnavailable;
}

SettingsProblem UserStore::ProblemOf(const Connection& connection) const {
  switch (connection.last_error()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return SettingsProblem::kBusy;
    case SQLITE_READONLY:
      return SettingsProblem::kReadOnly;
    default:
      return read_only() ? SettingsProblem::kReadOnly : SettingsProblem::kError;
  }
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
  // A store opened read-only is the user's to repair, never ours to move.
  bool damaged = connection_->damaged() && !read_only_;
  if (damaged || !same_file) connection_->SkipCheckpointOnClose();
  connection_.reset();
  if (damaged) MoveAsideDamaged(path_, file_id_);
  path_.clear();
}

// access(2) rather than trying to write: a store must not be created, nor
// its WAL companions, where the user cannot write; root passes it anyway,
// hence the forcing hook for tests.
bool UserStore::ShouldOpenReadOnly(const std::string& path) const {
  if (force_read_only_) return true;
  const std::string folder = std::filesystem::path(path).parent_path();
  if (::access(folder.c_str(), W_OK) != 0) return true;
  return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

namespace {

// Read-only, a store whose folder cannot take a "-shm" file is readable only
// as immutable, which is safe while no "-wal" exists: no other process can
// then write it either (short of root).
Connection::Access ReadOnlyAccess(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path();
  if (::access(folder.c_str(), W_OK) == 0 ||
      ::access((path + "-wal").c_str(), F_OK) == 0) {
    return Connection::Access::kReadOnly;
  }
  return Connection::Access::kImmutable;
}

}  // namespace

Connection* UserStore::Open(const std::string& path) {
  if (!MakeParentFolders(path)) return nullptr;
  const bool read_only = ShouldOpenReadOnly(path);
  const Connection::Access access =
      read_only ? ReadOnlyAccess(path) : Connection::Access::kReadWrite;
  // A damaged file gets one chance to be replaced by a fresh store; a store
  // opened read-only is never replaced.
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::unique_ptr<Connection> connection = Connection::Open(path, access);
    if (connection == nullptr) return nullptr;
    FileId id;
    bool have_id = GetFileId(path, &id);
    if (have_id && ReadyStore(connection.get(), read_only)) {
      connection_ = std::move(connection);
      path_ = path;
      file_id_ = id;
      pid_ = getpid();
      read_only_ = read_only;
      return connection_.get();
    }
    open_error_ = connection->last_error();
    bool damaged = connection->damaged() && !read_only;
    if (damaged) connection->SkipCheckpointOnClose();
    connection.reset();
    if (!damaged || !MoveAsideDamaged(path, id)) return nullptr;
  }
  return nullptr;
}

bool UserStore::BeginTransaction(bool write) {
  if (in_transaction_) return false;
  Connection* connection = Acquire();
  if (connection == nullptr) {
    RecordFailure(OpenProblem());
    return false;
  }
  // SQLite lets a read-only connection begin a write transaction; the
  // first write would fail half-way through the caller's change.
  if (write && read_only()) {
    RecordFailure(SettingsProblem::kReadOnly);
    return false;
  }
  if (!connection->Exec(write ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED")) {
    RecordFailure(ProblemOf(*connection));
    return false;
  }
  in_transaction_ = true;
  transaction_writes_ = write;
  return true;
}

bool UserStore::EndTransaction(bool commit) {
  if (!in_transaction_) return false;
  in_transaction_ = false;
  if (commit && connection_->Exec("COMMIT")) return true;
  if (commit) RecordFailure(ProblemOf(*connection_));
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
