#pragma once
// Thin libpq layer of the server store: one connection per open database,
// PostgreSQL errors turned into store status codes with the server's own words
// kept as the failure detail.

#include <libpq-fe.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "repository/store/lnstatus.h"

namespace lnstore {

// The status for a failed command's SQLSTATE (empty: the connection is gone).
LNSTATUS MapPostgresError(std::string_view sqlState);

// One result of a command; empty when the command returned no rows.
class PgRows {
 public:
  PgRows() = default;
  explicit PgRows(PGresult* result) : result_(result, &PQclear) {}
  int Count() const { return result_ ? PQntuples(result_.get()) : 0; }
  bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column); }
  std::string_view Text(int row, int column) const;
  std::int64_t Int(int row, int column) const;
  // A bytea column; false when its text form is no "\x..." text.
  bool Bytes(int row, int column, std::string* out) const;
  // Rows changed by an INSERT, UPDATE or DELETE.
  std::int64_t Changed() const;

 private:
  std::shared_ptr<PGresult> result_;
};

// Builds a script of statements with the values written as literals, so that
// several statements go to the server in one round trip.
class PgScript {
 public:
  PgScript& Add(std::string_view sql) {
    text_ += sql;
    return *this;
  }
  PgScript& Int(std::int64_t value) {
    text_ += std::to_string(value);
    return *this;
  }
  PgScript& Text(std::string_view value);
  PgScript& Bytes(std::string_view value);
  const std::string& Sql() const { return text_; }

 private:
  std::string text_;
};

// Rows for COPY in its binary format: the server takes them without parsing
// text. Each value has the width of its column's type.
class PgCopyRow {
 public:
  PgCopyRow& Int8(std::int64_t value) { return Fixed(value, 8); }
  PgCopyRow& Int4(std::int32_t value) { return Fixed(value, 4); }
  PgCopyRow& Int2(std::int16_t value) { return Fixed(value, 2); }
  PgCopyRow& Bytes(std::string_view value);
  // Appends the tuple: its field count, then the fields; returns its size.
  std::size_t AppendTo(std::string& out) const;

 private:
  PgCopyRow& Fixed(std::int64_t value, int bytes);
  std::string fields_;
  std::int16_t count_ = 0;
};

class PgConnection {
 public:
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // Connects with a libpq connection string; a few seconds' timeout unless it
  // names its own. A failure is LNERR_SERVER_NOT_RESPONDING (or, for refused
  // credentials, LNERR_PERMISSION_DENIED) with the connection's reason in `detail`.
  static LNSTATUS Connect(const std::string& conninfo, std::unique_ptr<PgConnection>* out,
                          FailureDetail* detail);
  // Where the server's words for a failure go: the detail of the handle the
  // connection works for now (none while it waits in the pool).
  void ReportTo(FailureDetail* detail) { detail_ = detail; }
  void Report(LNSTATUS status, std::string words) {
    if (detail_) detail_->Set(status, std::move(words));
  }

  // One statement with text parameters ($1, $2, ...).
  LNSTATUS Exec(const char* sql, const std::vector<std::string>& params, PgRows* rows = nullptr);
  LNSTATUS Exec(const char* sql) { return Exec(sql, {}); }
  // Sends a statement now whose answer the next Exec of the same statement and
  // parameters takes; a thread reads it meanwhile, so that the server's work and
  // the transfer overlap the caller's. Any other request discards it first.
  void Prefetch(const char* sql, std::vector<std::string> params);
  // All statements of a script in one round trip; `results` receives one entry per
  // statement that ran. Stops at the first failure.
  LNSTATUS Run(const PgScript& script, std::vector<PgRows>* results = nullptr);
  // Rows whose insertion nobody waits for (new notes of a transaction): copied
  // into `target` ("table(columns)") ahead of the next request, many at once,
  // in the order their targets were first named. A failure among them is the
  // next request's answer (at the latest the commit's).
  void Defer(const char* target, const PgCopyRow& row);
  // Sends what waits once it has grown large; called between rows that may
  // travel apart (a note's items never before the note).
  LNSTATUS SendDeferredIfLarge();
  void DropDeferred() {
    deferred_.clear();
    deferredBytes_ = 0;
  }
  bool InTransaction() const;
  // The server's version as a number (150004: 15.4).
  int ServerVersion() const { return PQserverVersion(conn_); }
  // Healthy, outside any transaction and with nothing waiting: fit for another user.
  bool Reusable() const;
  // Requests sent to any server by this process, for measuring.
  static std::uint64_t RoundTrips() { return roundTrips_; }
  bool InFailedTransaction() const {
    Settle();
    return PQtransactionStatus(conn_) == PQTRANS_INERROR;
  }
  // The server's message of the last failure.
  std::string LastError() const;
  // The SQLSTATE of the last failed command ("23505": a unique key is taken).
  const std::string& LastState() const { return lastState_; }

 private:
  explicit PgConnection(PGconn* conn) : conn_(conn) {}
  LNSTATUS Failed(const PGresult* result);
  LNSTATUS Answer(PGresult* result, PgRows* rows);
  // Waits for a prefetched answer nobody took and drops it.
  void Settle() const;
  LNSTATUS SendDeferred();
  LNSTATUS Copy(const std::string& target, const std::string& data);
  bool PutCopyData(const char* data, std::size_t size);
  void Cut();
  LNSTATUS Send(const std::string& sql, std::vector<PgRows>* results);
  PGconn* conn_;
  std::atomic<bool> silent_ = false;  // the server stopped answering: the connection is cut
  std::vector<std::pair<std::string, std::string>> deferred_;  // target, tuples
  std::size_t deferredBytes_ = 0;
  std::string lastState_;
  FailureDetail* detail_ = nullptr;
  mutable std::future<PGresult*> prefetch_;
  const char* prefetchSql_ = nullptr;
  std::vector<std::string> prefetchParams_;
  static inline std::atomic<std::uint64_t> roundTrips_ = 0;
};

// Idle connections of this process by connection string: opening a database on
// a server takes one instead of having the server start a process for it. One
// idle for long is dropped rather than trusted.
class PgPool {
 public:
  explicit PgPool(std::chrono::milliseconds trustedIdle) : trustedIdle_(trustedIdle) {}
  std::unique_ptr<PgConnection> Take(const std::string& conninfo);
  void Give(const std::string& conninfo, std::unique_ptr<PgConnection> connection);

 private:
  struct Idle {
    std::string conninfo;
    std::chrono::steady_clock::time_point since;
    std::unique_ptr<PgConnection> connection;
  };
  const std::chrono::milliseconds trustedIdle_;  // idle longer: asked first
  std::mutex mutex_;
  std::vector<Idle> idle_;
};

}  // namespace lnstore
