#pragma once
// Thin SQLite layer of the local store: one connection per open database, its
// prepared statements cached for the connection's lifetime, SQLite result codes
// turned into store status codes.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "repository/store/lnstatus.h"

namespace lnstore {

// How long a statement waits for another writer of the same file by default: long
// enough to wait out another designer saving a large workflow; a crashed writer
// holds no lock (the system drops it with the process).
inline constexpr int kBusyTimeoutMs = 30000;

// The store status for an (extended) SQLite result code; `systemError`, the errno
// SQLite saw (0: unknown), tells why a file could not be opened, read or written.
LNSTATUS MapSqliteError(int code, int systemError = 0);
// The store status for an errno of a file operation.
LNSTATUS MapErrno(int error);

class Connection {
 public:
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens an existing file (`create` false) or creates a new one; a statement
  // waits up to `busyTimeoutMs` for another writer.
  static LNSTATUS Open(const std::string& path, bool create, int busyTimeoutMs,
                       std::unique_ptr<Connection>* out);

  sqlite3* Handle() const { return db_; }
  int BusyTimeoutMs() const { return busyTimeoutMs_; }
  // Runs statements without results (pragmas, transaction control).
  LNSTATUS Exec(const char* sql);
  // The cached statement of `sql`; statements are keyed by the address of their
  // text, so `sql` must be a string with static storage.
  LNSTATUS Prepare(const char* sql, sqlite3_stmt** stmt);
  LNSTATUS Status(int rc) const;
  bool InTransaction() const { return !sqlite3_get_autocommit(db_); }
  std::int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  int Changes() const { return sqlite3_changes(db_); }

 private:
  Connection(sqlite3* db, int busyTimeoutMs) : db_(db), busyTimeoutMs_(busyTimeoutMs) {}
  sqlite3* db_;
  int busyTimeoutMs_;
  std::unordered_map<const char*, sqlite3_stmt*> cache_;
};

// One execution of a cached statement; resets it when done so it can be reused.
class Query {
 public:
  Query(Connection& connection, const char* sql);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // The status of preparing; binding and stepping a failed query do nothing.
  LNSTATUS Status() const { return status_; }
  Query& Bind(int index, std::int64_t value);
  Query& Bind(int index, std::string_view text);
  // The blob must stay alive until the query has been stepped.
  Query& BindBlob(int index, const void* data, std::size_t size);
  // True while a row is available; at the end or on failure false, with Status() telling which.
  bool Next();
  // Steps a statement that yields no rows.
  LNSTATUS Run();

  // Inline, as readers of many small rows call them for every column. Text and
  // Blob go through the column's value: each sqlite3_column_* call checks the
  // statement and its allocation state anew.
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view Text(int column) const {
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    const unsigned char* text = sqlite3_value_text(value);
    if (!text) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_value_bytes(value))};
  }
  std::string_view Blob(int column) const {
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    const void* data = sqlite3_value_blob(value);
    if (!data) return {};
    return {static_cast<const char*>(data), static_cast<std::size_t>(sqlite3_value_bytes(value))};
  }
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  Connection& connection_;
  sqlite3_stmt* stmt_ = nullptr;
  LNSTATUS status_ = LNNOERROR;
};

// All writes of one store call, atomic: a transaction of its own, or a savepoint
// inside the caller's explicit transaction. Rolls back unless Finish succeeds.
class WriteScope {
 public:
  explicit WriteScope(Connection& connection);
  ~WriteScope();
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;

  LNSTATUS Status() const { return status_; }
  LNSTATUS Finish();

 private:
  void Abandon();
  Connection& connection_;
  bool nested_;
  bool active_ = false;
  LNSTATUS status_ = LNNOERROR;
};

}  // namespace lnstore
