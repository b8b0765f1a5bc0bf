// Thin RAII owners of SQLite connections and prepared statements. They add
// one thing to the C API: a connection remembers whether SQLite has said
// that its file is damaged or is not a database, so that the store can put
// the file aside and start afresh.
#ifndef VOCOR_SETTINGS_SQLITE_CONNECTION_H_
#define VOCOR_SETTINGS_SQLITE_CONNECTION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vocor {

class Connection;

// A prepared statement. Finalized by the destructor; must not outlive the
// Connection that prepared it. A statement whose preparation failed is
// invalid: every Next() on it returns kError.
class Statement {
 public:
  enum class Step { kRow, kDone, kError };

  // Takes ownership of `stmt`, which may be null (invalid statement).
  Statement(Connection* connection, sqlite3_stmt* stmt);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool valid() const { return stmt_ != nullptr; }

  // Parameters are numbered from 1. Text and bytes are copied by SQLite.
  // A failed bind makes the following Next() return kError.
  void BindInt(int index, int64_t value);
  void BindText(int index, std::string_view text);
  void BindBlob(int index, std::string_view bytes);

  // Advances the statement. Errors are reported to the connection.
  Step Next();

  // Runs the statement to its end; true when no step failed.
  bool Run();

  // Columns of the current row, valid after Next() returned kRow.
  // ColumnBytes gives text or blob content as stored, zero bytes included.
  int64_t ColumnInt(int column) const;
  std::string ColumnBytes(int column) const;

 private:
  Connection* connection_;
  sqlite3_stmt* stmt_;
  bool bind_failed_ = false;
};

// An open SQLite database connection, closed by the destructor.
class Connection {
 public:
  enum class Access {
    kReadWrite,  // creating an empty file when it is missing
    kReadOnly,   // an existing file
    // An existing file that nobody can change while it is open: a store in
    // WAL mode can otherwise be read only by creating its "-shm" companion,
    // which a folder the user cannot write does not allow.
    kImmutable,
  };

  // Opens `path`. SQLite reads nothing yet, so a file that is not a
  // database is noticed only by the first statement. Returns null on
  // failure.
  static std::unique_ptr<Connection> Open(const std::string& path,
                                          Access access = Access::kReadWrite);

  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Prepares `sql` (one statement). See Statement for failures.
  Statement Prepare(const char* sql);

  // Prepares and runs `sql` (one statement), ignoring any rows.
  bool Exec(const char* sql);

  // Records the result code of a failed call. SQLITE_CORRUPT and
  // SQLITE_NOTADB mark the connection damaged.
  void NoteError(int code);

  // For checks above SQLite that find the file unusable as a store.
  void MarkDamaged() { damaged_ = true; }

  bool damaged() const { return damaged_; }

  // The primary result code of the last failure noted, 0 when none.
  int last_error() const { return last_error_; }

  // Makes closing leave the WAL file alone. Closing the last connection
  // normally checkpoints the WAL and deletes it by name, which is wrong
  // when that name now belongs to another store file, and loses evidence
  // when the file is damaged.
  void SkipCheckpointOnClose();

  // Forgets the handle without closing it. For a child process after
  // fork(): closing there would act on SQLite state (locks, the WAL) that
  // belongs to the parent.
  void Abandon() { db_ = nullptr; }

  sqlite3* handle() { return db_; }

 private:
  explicit Connection(sqlite3* db) : db_(db) {}

  sqlite3* db_;
  bool damaged_ = false;
  int last_error_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_SETTINGS_SQLITE_CONNECTION_H_
