#include "settings/sqlite_connection.h"

#include <sqlite3.h>

#include <cstdio>

namespace vocor {

Statement::Statement(Connection* connection, sqlite3_stmt* stmt)
    : connection_(connection), stmt_(stmt) {}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::BindInt(int index, int64_t value) {
  if (stmt_ == nullptr) return;
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) {
    bind_failed_ = true;
  }
}

void Statement::BindText(int index, std::string_view text) {
  if (stmt_ == nullptr) return;
  // A null pointer would bind NULL rather than an empty text.
  const char* data = text.empty() ? "" : text.data();
  if (sqlite3_bind_text64(stmt_, index, data, text.size(), SQLITE_TRANSIENT,
                          SQLITE_UTF8) != SQLITE_OK) {
    bind_failed_ = true;
  }
}

void Statement::BindBlob(int index, std::string_view bytes) {
  if (stmt_ == nullptr) return;
  // A null pointer would bind NULL rather than an empty blob.
  const char* data = bytes.empty() ? "" : bytes.data();
  if (sqlite3_bind_blob64(stmt_, index, data, bytes.size(), SQLITE_TRANSIENT) !=
      SQLITE_OK) {
    bind_failed_ = true;
  }
}

Statement::Step Statement::Next() {
  if (stmt_ == nullptr || bind_failed_) return Step::kError;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return Step::kRow;
  if (rc == SQLITE_DONE) return Step::kDone;
  connection_->NoteError(rc);
  return Step::kError;
}

bool Statement::Run() {
  Step step;
  while ((step = Next()) == Step::kRow) {
  }
  return step == Step::kDone;
}

int64_t Statement::ColumnInt(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string Statement::ColumnBytes(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return std::string();
  return std::string(static_cast<const char*>(data), size);
}

namespace {

// A file: URI naming `path`, with the characters a URI gives meaning to
// escaped.
std::string FileUri(const std::string& path, const char* query) {
  std::string uri = "file:";
  for (char c : path) {
    if (c == '%' || c == '?' || c == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X",
                    static_cast<unsigned char>(c));
      uri += escaped;
    } else {
      uri += c;
    }
  }
  return uri + query;
}

}  // namespace

std::unique_ptr<Connection> Connection::Open(const std::string& path,
                                             Access access) {
  sqlite3* db = nullptr;
  int rc;
  if (access == Access::kImmutable) {
    rc = sqlite3_open_v2(FileUri(path, "?immutable=1").c_str(), &db,
                         SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  } else {
    rc = sqlite3_open_v2(path.c_str(), &db,
                         access == Access::kReadOnly
                             ? SQLITE_OPEN_READONLY
                             : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                         nullptr);
  }
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);  // SQLite may hand out a handle even on failure.
    return nullptr;
  }
  return std::unique_ptr<Connection>(new Connection(db));
}

Connection::~Connection() { sqlite3_close_v2(db_); }

Statement Connection::Prepare(const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK) {
    NoteError(rc);
    sqlite3_finalize(stmt);
    stmt = nullptr;
  }
  return Statement(this, stmt);
}

bool Connection::Exec(const char* sql) { return Prepare(sql).Run(); }

void Connection::SkipCheckpointOnClose() {
  sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

void Connection::NoteError(int code) {
  last_error_ = code & 0xff;
  if (last_error_ == SQLITE_CORRUPT || last_error_ == SQLITE_NOTADB) {
    damaged_ = true;
  }
}

}  // namespace vocor
