// The connection to the current user's settings store, kept between calls
// because opening and checking a database costs far more than one lookup.
// It keeps no data of the store: every call asks SQLite afresh, so changes
// made by other processes are seen at once.
//
// Not thread-safe: the store is used from the user-interface thread only.
#ifndef VOCOR_SETTINGS_USER_STORE_H_
#define VOCOR_SETTINGS_USER_STORE_H_

#include <sys/types.h>

#include <memory>
#include <string>

#include "settings/settings_store.h"
#include "settings/sqlite_connection.h"
#include "settings/store_files.h"

namespace vocor {

class UserStore {
 public:
  // The one instance of the process.
  static UserStore& Get();

  // Returns the connection to the store that SettingsStorePath() names now,
  // or null when it cannot be opened. The connection is reopened when the
  // path changes, when the file at the path was replaced or removed, and
  // in a child process after fork(); a connection found damaged is closed
  // and its file moved aside first. While a transaction lives, its
  // connection is returned whatever the environment says. The pointer is
  // valid until the next Acquire() or Close().
  Connection* Acquire();

  // The path the current connection was opened on; empty when none is open.
  const std::string& path() const { return path_; }

  bool in_transaction() const { return in_transaction_; }
  // Whether the living transaction may write (it was begun to write).
  bool transaction_writes() const { return transaction_writes_; }

  // Whether the current connection was opened read-only.
  bool read_only() const { return connection_ != nullptr && read_only_; }

  // Starts the process-wide transaction: BEGIN IMMEDIATE to write, BEGIN
  // DEFERRED to read. False when one lives already or it could not start.
  bool BeginTransaction(bool write);

  // Set while a SettingsTransaction that failed to begin lives: every call
  // must then fail rather than commit on its own.
  bool transaction_failed() const { return transaction_failed_; }
  void set_transaction_failed(bool failed) { transaction_failed_ = failed; }

  // Failure accounting behind SettingsFailureCount().
  void RecordFailure(SettingsProblem problem);
  // The problem that an SQLite result code of `connection` stands for.
  SettingsProblem ProblemOf(const Connection& connection) const;
  // Why the last Acquire() gave null.
  SettingsProblem OpenProblem() const;
  uint64_t failures() const { return failures_; }
  SettingsProblem last_problem() const { return last_problem_; }

  void set_force_read_only(bool force) { force_read_only_ = force; }

  // Ends the process-wide transaction: commits it when `commit` is true,
  // rolling back if the commit fails, else rolls it back. Returns whether a
  // commit succeeded.
  bool EndTransaction(bool commit);

  // Closes the connection. Refused (false) while a transaction lives.
  bool Close();

 private:
  UserStore() = default;

  void ForgetIfForked();
  // True when the kept connection may serve a call on `path`.
  bool StillValid(const std::string& path) const;
  void Drop();
  Connection* Open(const std::string& path);
  bool ShouldOpenReadOnly(const std::string& path) const;

  std::unique_ptr<Connection> connection_;
  std::string path_;
  FileId file_id_;
  pid_t pid_ = 0;
  bool in_transaction_ = false;
  bool transaction_writes_ = false;
  bool transaction_failed_ = false;
  bool read_only_ = false;
  bool force_read_only_ = false;
  // Why the last attempt to open a store failed (an SQLite code, 0 when
  // the file or its folder could not be reached at all).
  int open_error_ = 0;
  uint64_t failures_ = 0;
  SettingsProblem last_problem_ = SettingsProblem::kNone;
};

}  // namespace vocor

#endif  // VOCOR_SETTINGS_USER_STORE_H_
