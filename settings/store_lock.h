// Test support: a whole store as text, and a connection of its own to the
// current user's settings store that holds a lock on it, as another process
// busy with the store would. Made after the store exists (the store's own code
// creates it).
//
// kWrite holds the write lock: other writers wait and then fail, readers
// go on. kEverything holds the file exclusively: readers fail as well, as
// with a store that cannot be read for as long as a call waits.
#ifndef VOCOR_SETTINGS_STORE_LOCK_H_
#define VOCOR_SETTINGS_STORE_LOCK_H_

#include <sqlite3.h>

#include <string>

#include "settings/settings_store.h"

namespace vocor {

// Every key and value of the current user's store, one per line, read
// through a connection of its own; "<unreadable>" when it cannot be read.
inline std::string DumpStore() {
  sqlite3* db = nullptr;
  std::string dump;
  if (sqlite3_open_v2(SettingsStorePath().c_str(), &db, SQLITE_OPEN_READONLY,
                      nullptr) == SQLITE_OK) {
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT k.id, k.parent, k.name, v.name, v.type, "
                       "hex(v.data) FROM settings_keys k LEFT JOIN "
                       "settings_values v ON v.key = k.id ORDER BY 1, 4",
                       -1, &rows, nullptr);
    int rc;
    while ((rc = sqlite3_step(rows)) == SQLITE_ROW) {
      for (int column = 0; column < 6; ++column) {
        const unsigned char* text = sqlite3_column_text(rows, column);
        dump += text != nullptr ? reinterpret_cast<const char*>(text) : "-";
        dump += column < 5 ? '|' : '\n';
      }
    }
    if (rc != SQLITE_DONE) dump = "<unreadable>";
    sqlite3_finalize(rows);
  } else {
    dump = "<unreadable>";
  }
  sqlite3_close_v2(db);
  return dump;
}

class StoreLock {
 public:
  enum class Kind { kWrite, kEverything };

  explicit StoreLock(Kind kind = Kind::kWrite) {
    const std::string path = SettingsStorePath();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
      return;
    }
    if (kind == Kind::kEverything && !Exec("PRAGMA locking_mode=EXCLUSIVE")) {
      return;
    }
    // A write makes the exclusive mode take the file for good.
    held_ = Exec("BEGIN IMMEDIATE") &&
            Exec(
                "INSERT INTO settings_values(key, name, folded, type, data) "
                "VALUES(-1, 'lock', 'LOCK', 4, x'00000000')");
  }

  ~StoreLock() { Release(); }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  // True when the lock was taken.
  bool held() const { return held_; }

  // Rolls back what the lock wrote and lets go of the file.
  void Release() {
    if (db_ == nullptr) return;
    Exec("ROLLBACK");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    held_ = false;
  }

 private:
  bool Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }

  sqlite3* db_ = nullptr;
  bool held_ = false;
};

}  // namespace vocor

#endif  // VOCOR_SETTINGS_STORE_LOCK_H_
