#include "settings/store_schema.h"

#include <sqlite3.h>

#include <string>

#include "settings/sqlite_connection.h"

namespace vocor {
namespace {

constexpr const char* kCreateKeys =
    "CREATE TABLE IF NOT EXISTS settings_keys("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " folded TEXT NOT NULL,"
    " UNIQUE(parent, folded))";

constexpr const char* kCreateValues =
    "CREATE TABLE IF NOT EXISTS settings_values("
    " key INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " folded TEXT NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " PRIMARY KEY(key, folded)) WITHOUT ROWID";

// Statements that name every column the store uses; they prepare only
// against tables of our layout.
constexpr const char* kProbes[] = {
    "SELECT id, parent, name, folded FROM settings_keys LIMIT 0",
    "SELECT key, name, folded, type, data FROM settings_values LIMIT 0",
};

// SQLITE_OK once the file is in WAL mode, else what went wrong.
int TryWal(Connection* connection) {
  Statement pragma = connection->Prepare("PRAGMA journal_mode=WAL");
  switch (pragma.Next()) {
    case Statement::Step::kRow:
      return pragma.ColumnBytes(0) == "wal" ? SQLITE_OK : SQLITE_ERROR;
    case Statement::Step::kError:
      return connection->last_error();
    default:
      return SQLITE_ERROR;
  }
}

// Switching a new file to WAL needs it to itself for a moment, and SQLite
// reports a busy file at once instead of waiting as it does elsewhere; two
// processes starting on a new store meet exactly there.
bool UseWal(Connection* connection) {
  constexpr int kPauseMs = 5;
  for (int waited = 0; waited < kBusyTimeoutMs; waited += kPauseMs) {
    int result = TryWal(connection);
    if (result != SQLITE_BUSY) return result == SQLITE_OK;
    sqlite3_sleep(kPauseMs);
  }
  return false;
}

// 1 when the journal is WAL already, 0 when not, -1 when that cannot be
// read; asking does not write.
int IsWal(Connection* connection) {
  Statement pragma = connection->Prepare("PRAGMA journal_mode");
  if (pragma.Next() != Statement::Step::kRow) return -1;
  return pragma.ColumnBytes(0) == "wal" ? 1 : 0;
}

// How many of the two tables exist, or -1 when that cannot be read.
int CountTables(Connection* connection) {
  Statement count = connection->Prepare(
      "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
      "name IN ('settings_keys', 'settings_values')");
  if (count.Next() != Statement::Step::kRow) return -1;
  return static_cast<int>(count.ColumnInt(0));
}

bool CreateTables(Connection* connection) {
  // IMMEDIATE so that two processes creating a new store take turns.
  if (!connection->Exec("BEGIN IMMEDIATE")) return false;
  if (connection->Exec(kCreateKeys) && connection->Exec(kCreateValues) &&
      connection->Exec("COMMIT")) {
    return true;
  }
  connection->Exec("ROLLBACK");
  return false;
}

bool PassesQuickCheck(Connection* connection) {
  Statement check = connection->Prepare("PRAGMA quick_check");
  Statement::Step step = check.Next();
  if (step == Statement::Step::kError) return false;
  if (step != Statement::Step::kRow || check.ColumnBytes(0) != "ok") {
    connection->MarkDamaged();
    return false;
  }
  return true;
}

bool HasOurColumns(Connection* connection) {
  for (const char* probe : kProbes) {
    if (connection->Prepare(probe).valid()) continue;
    // A plain SQL error here means tables of another layout.
    if (connection->last_error() == SQLITE_ERROR) connection->MarkDamaged();
    return false;
  }
  return true;
}

}  // namespace

bool ReadyStore(Connection* connection, bool read_only) {
  sqlite3_busy_timeout(connection->handle(), kBusyTimeoutMs);
  if (!read_only) {
    const int wal = IsWal(connection);
    if (wal < 0 || (wal == 0 && !UseWal(connection))) return false;
  }
  const int tables = CountTables(connection);
  if (tables < 0) return false;
  if (tables < 2 && (read_only || !CreateTables(connection))) return false;
  return PassesQuickCheck(connection) && HasOurColumns(connection);
}

}  // namespace vocor
