// Makes one store call atomic.
#ifndef VOCOR_SETTINGS_CALL_SCOPE_H_
#define VOCOR_SETTINGS_CALL_SCOPE_H_

namespace vocor {

class Connection;

// Outside a SettingsTransaction, a transaction of its own: deferred for
// calls that only read (they then never wait for another process's
// writer), IMMEDIATE for calls that write (they wait for the write lock up
// front instead of failing when a read lock cannot be upgraded). Inside a
// SettingsTransaction, a savepoint, so that a call that fails half-way
// leaves nothing behind in the larger change. Rolled back by the
// destructor unless Commit() succeeded. `connection` must outlive it.
class CallScope {
 public:
  enum class Kind { kRead, kWrite };

  CallScope(Connection* connection, bool nested, Kind kind);
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

  // False when the transaction or savepoint could not be started; nothing
  // may be done on the connection for this call then.
  bool ok() const { return open_; }

  // Ends the scope keeping its changes. False (and rolled back) on failure.
  bool Commit();

 private:
  void Rollback();

  Connection* connection_;
  bool nested_;
  bool open_ = false;
};

}  // namespace vocor

#endif  // VOCOR_SETTINGS_CALL_SCOPE_H_
