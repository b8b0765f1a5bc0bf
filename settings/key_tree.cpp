#include "settings/key_tree.h"

#include "settings/sqlite_connection.h"

namespace vocor {
namespace {

// Runs a statement expected to give at most one row and hands that row to
// `read`.
template <typename Read>
Lookup SingleRow(Statement* statement, Read read) {
  switch (statement->Next()) {
    case Statement::Step::kRow:
      read(*statement);
      return Lookup::kFound;
    case Statement::Step::kDone:
      return Lookup::kMissing;
    default:
      return Lookup::kError;
  }
}

Lookup FindChild(Connection* connection, int64_t parent,
                 const std::string& folded, int64_t* id) {
  Statement find = connection->Prepare(
      "SELECT id FROM settings_keys WHERE parent = ?1 AND folded = ?2");
  find.BindInt(1, parent);
  find.BindText(2, folded);
  return SingleRow(&find,
                   [id](const Statement& row) { *id = row.ColumnInt(0); });
}

bool InsertChild(Connection* connection, int64_t parent, const KeyLevel& level,
                 int64_t* id) {
  Statement insert = connection->Prepare(
      "INSERT INTO settings_keys(parent, name, folded) VALUES(?1, ?2, ?3) "
      "RETURNING id");
  insert.BindInt(1, parent);
  insert.BindText(2, level.name);
  insert.BindText(3, level.folded);
  if (insert.Next() != Statement::Step::kRow) return false;
  *id = insert.ColumnInt(0);
  return insert.Run();
}

// Runs `deletion`, a DELETE that may name "subtree": the ids of key `id`
// and of every key below it.
bool DeleteInSubtree(Connection* connection, int64_t id, const char* deletion) {
  std::string sql =
      "WITH RECURSIVE subtree(id) AS (SELECT ?1 UNION ALL "
      "SELECT k.id FROM settings_keys k JOIN subtree s ON k.parent = s.id) ";
  sql += deletion;
  Statement statement = connection->Prepare(sql.c_str());
  statement.BindInt(1, id);
  return statement.Run();
}

}  // namespace

Lookup FindKey(Connection* connection, const std::vector<KeyLevel>& levels,
               int64_t* id) {
  int64_t current = 0;
  for (const KeyLevel& level : levels) {
    Lookup found = FindChild(connection, current, level.folded, &current);
    if (found != Lookup::kFound) return found;
  }
  *id = current;
  return Lookup::kFound;
}

bool CreateKey(Connection* connection, const std::vector<KeyLevel>& levels,
               int64_t* id) {
  int64_t current = 0;
  for (const KeyLevel& level : levels) {
    Lookup found = FindChild(connection, current, level.folded, &current);
    if (found == Lookup::kError) return false;
    if (found == Lookup::kMissing &&
        !InsertChild(connection, current, level, &current)) {
      return false;
    }
  }
  *id = current;
  return true;
}

Lookup FindSubkeyName(Connection* connection, int64_t parent, int index,
                      std::string* name) {
  if (index < 0) return Lookup::kMissing;
  Statement find = connection->Prepare(
      "SELECT name FROM settings_keys WHERE parent = ?1 "
      "ORDER BY folded LIMIT 1 OFFSET ?2");
  find.BindInt(1, parent);
  find.BindInt(2, index);
  return SingleRow(
      &find, [name](const Statement& row) { *name = row.ColumnBytes(0); });
}

Lookup ListSubkeyNames(Connection* connection, int64_t parent,
                       std::vector<std::string>* names) {
  Statement list = connection->Prepare(
      "SELECT name FROM settings_keys WHERE parent = ?1 ORDER BY folded");
  list.BindInt(1, parent);
  Statement::Step step;
  while ((step = list.Next()) == Statement::Step::kRow) {
    names->push_back(list.ColumnBytes(0));
  }
  return step == Statement::Step::kDone ? Lookup::kFound : Lookup::kError;
}

bool DeleteKeyTree(Connection* connection, int64_t id) {
  // Values first: once the keys are gone their values cannot be found.
  return DeleteInSubtree(connection, id,
                         "DELETE FROM settings_values WHERE key IN subtree") &&
         DeleteInSubtree(connection, id,
                         "DELETE FROM settings_keys WHERE id IN subtree");
}

Lookup ReadValue(Connection* connection, int64_t key,
                 std::string_view folded_name, StoredValue* value) {
  Statement read = connection->Prepare(
      "SELECT type, data FROM settings_values WHERE key = ?1 AND folded = ?2");
  read.BindInt(1, key);
  read.BindText(2, folded_name);
  return SingleRow(&read, [value](const Statement& row) {
    value->type = static_cast<int>(row.ColumnInt(0));
    value->data = row.ColumnBytes(1);
  });
}

bool WriteValue(Connection* connection, int64_t key, std::string_view name,
                const StoredValue& value) {
  Statement write = connection->Prepare(
      "INSERT INTO settings_values(key, name, folded, type, data) "
      "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(key, folded) "
      "DO UPDATE SET type = excluded.type, data = excluded.data");
  write.BindInt(1, key);
  write.BindText(2, name);
  write.BindText(3, FoldName(name));
  write.BindInt(4, value.type);
  write.BindBlob(5, value.data);
  return write.Run();
}

}  // namespace vocor
