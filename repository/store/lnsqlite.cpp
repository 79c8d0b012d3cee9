#include "repository/store/lnsqlite.h"

#include <cerrno>

namespace lnstore {

LNSTATUS MapErrno(int error) {
  switch (error) {
    case ENOENT:
      return LNERR_FILE_NOT_FOUND;
    case ENOTDIR:
      return LNERR_NOT_A_FOLDER;
    case ENAMETOOLONG:
      return LNERR_NAME_TOO_LONG;
    case EEXIST:
      return LNERR_FILE_EXISTS;
    case EACCES:
    case EPERM:
      return LNERR_PERMISSION_DENIED;
    case EISDIR:
      return LNERR_NOT_A_DATABASE;
    case ENOSPC:
    case EDQUOT:
      return LNERR_DISK_FULL;
    case EIO:
      return LNERR_DISK_IO;
    default:
      return LNSystemError(error);
  }
}

LNSTATUS MapSqliteError(int code, int systemError) {
  // SQLite's own code says only that a file operation failed; errno says why.
  if ((code & 0xff) == SQLITE_CANTOPEN && systemError != 0) return MapErrno(systemError);
  if ((code & 0xff) == SQLITE_IOERR && (systemError == ENOSPC || systemError == EDQUOT))
    return LNERR_DISK_FULL;
  switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return LNNOERROR;
    case SQLITE_NOTADB:
      return LNERR_NOT_A_DATABASE;
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:  // all our SQL is fixed: an error means the schema is broken
    case SQLITE_MISMATCH:
      return LNERR_DATABASE_DAMAGED;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return LNERR_DATABASE_BUSY;
    case SQLITE_IOERR:
      return LNERR_DISK_IO;
    case SQLITE_FULL:
      return LNERR_DISK_FULL;
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      return LNERR_PERMISSION_DENIED;
    case SQLITE_CANTOPEN:
      return LNERR_CANNOT_OPEN;
    default:
      return LNERR_INTERNAL;
  }
}

Connection::~Connection() {
  for (auto& entry : cache_) sqlite3_finalize(entry.second);
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close_v2(db_);
}

LNSTATUS Connection::Open(const std::string& path, bool create, int busyTimeoutMs,
                          std::unique_ptr<Connection>* out) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (create) flags |= SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    int systemError = 0;
    if (db) {
      rc = sqlite3_extended_errcode(db);
      systemError = sqlite3_system_errno(db);
    }
    sqlite3_close_v2(db);
    return MapSqliteError(rc, systemError);
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busyTimeoutMs);
  out->reset(new Connection(db, busyTimeoutMs));
  return LNNOERROR;
}

LNSTATUS Connection::Exec(const char* sql) {
  return Status(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

LNSTATUS Connection::Prepare(const char* sql, sqlite3_stmt** stmt) {
  auto found = cache_.find(sql);
  if (found != cache_.end()) {
    *stmt = found->second;
    return LNNOERROR;
  }
  int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, stmt, nullptr);
  if (rc != SQLITE_OK) {
    *stmt = nullptr;
    return Status(rc);
  }
  cache_.emplace(sql, *stmt);
  return LNNOERROR;
}

LNSTATUS Connection::Status(int rc) const {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return LNNOERROR;
  return MapSqliteError(rc, sqlite3_system_errno(db_));
}

Query::Query(Connection& connection, const char* sql) : connection_(connection) {
  status_ = connection.Prepare(sql, &stmt_);
}

Query::~Query() {
  if (stmt_) sqlite3_reset(stmt_);
}

Query& Query::Bind(int index, std::int64_t value) {
  if (stmt_) sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Query& Query::Bind(int index, std::string_view text) {
  if (stmt_)
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  return *this;
}

Query& Query::BindBlob(int index, const void* data, std::size_t size) {
  if (stmt_)
    sqlite3_bind_blob(stmt_, index, size ? data : "", static_cast<int>(size), SQLITE_STATIC);
  return *this;
}

bool Query::Next() {
  if (!stmt_ || status_ != LNNOERROR) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE)
    status_ = connection_.Status(sqlite3_extended_errcode(connection_.Handle()));
  return false;
}

LNSTATUS Query::Run() {
  while (Next()) {
  }
  return status_;
}

WriteScope::WriteScope(Connection& connection)
    : connection_(connection), nested_(connection.InTransaction()) {
  status_ = connection_.Exec(nested_ ? "SAVEPOINT ln_write" : "BEGIN IMMEDIATE");
  active_ = status_ == LNNOERROR;
}

WriteScope::~WriteScope() {
  if (active_) Abandon();
}

LNSTATUS WriteScope::Finish() {
  if (!active_) return status_ != LNNOERROR ? status_ : LNERR_TRANSACTION;
  status_ = connection_.Exec(nested_ ? "RELEASE ln_write" : "COMMIT");
  if (status_ != LNNOERROR) Abandon();
  active_ = false;
  return status_;
}

void WriteScope::Abandon() {
  active_ = false;
  if (!connection_.InTransaction()) return;  // SQLite already rolled back on its own
  if (nested_) {
    connection_.Exec("ROLLBACK TO ln_write");
    connection_.Exec("RELEASE ln_write");
  } else {
    connection_.Exec("ROLLBACK");
  }
}

}  // namespace lnstore
