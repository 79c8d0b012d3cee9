#include "repository/store/lnpostgres.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace lnstore {

namespace {

// Defaults a connection string may override: nothing waits long for a server that
// is down, and a row another designer holds is waited for as long as locally.
// A statement the server works on for a minute is given up by the server
// itself; a dead peer shows through the keepalives within half a minute.
const char* const kDefaultKeys[] = {"connect_timeout", "application_name",    "tcp_user_timeout",
                                    "keepalives_idle", "keepalives_interval", "keepalives_count",
                                    "options"};
const char* const kDefaultValues[] = {
    "5", "velkmod", "15000", "15", "5", "3", "-c lock_timeout=30000 -c statement_timeout=60000"};
constexpr int kDefaults = 7;

using Clock = std::chrono::steady_clock;

// How long a request waits for the server to take or send anything: beyond the
// statement timeout, so that only a server that stopped answering altogether
// (a frozen process: its socket stays open and the keepalives are answered)
// runs into it. VELK_SERVER_WAIT (seconds) shortens it for tests.
std::chrono::milliseconds AnswerWait() {
  const char* text = std::getenv("VELK_SERVER_WAIT");
  const double seconds = text ? std::atof(text) : 0;
  return std::chrono::milliseconds(seconds > 0 && seconds < 86400 ? std::lround(seconds * 1000)
                                                                  : 90000);
}

// Waits until the connection's socket is ready for `events`; false when the
// server took and sent nothing for AnswerWait().
bool Await(PGconn* conn, short events) {
  pollfd ready{PQsocket(conn), events, 0};
  const Clock::time_point deadline = Clock::now() + AnswerWait();
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const int rc = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 60000)));
    if (rc > 0 || (rc < 0 && errno != EINTR)) return true;  // libpq reports a broken socket
  }
}

// Sends what libpq holds; false when the server stopped taking data.
bool Flush(PGconn* conn) {
  for (int rc; (rc = PQflush(conn)) == 1;) {
    if (!Await(conn, POLLOUT | POLLIN)) return false;
    if (!PQconsumeInput(conn)) return true;  // broken: the next result says so
  }
  return true;
}

// The next result of the request sent, null after the last; null with `silent`
// set when the server sent nothing in time.
PGresult* NextResult(PGconn* conn, bool* silent) {
  while (PQisBusy(conn)) {
    if (!Await(conn, POLLIN)) {
      *silent = true;
      return nullptr;
    }
    if (!PQconsumeInput(conn)) break;
  }
  return PQgetResult(conn);
}

// All results of the request sent: the first failure, else the last result.
PGresult* Results(PGconn* conn, bool* silent) {
  PGresult* kept = nullptr;
  while (PGresult* result = NextResult(conn, silent)) {
    if (kept && PQresultStatus(kept) == PGRES_FATAL_ERROR) {
      PQclear(result);
      continue;
    }
    PQclear(kept);
    kept = result;
  }
  if (*silent) {
    PQclear(kept);
    return nullptr;
  }
  return kept;
}

// libpq's messages on one line: they end up in message boxes and log entries.
std::string Trimmed(const char* text) {
  std::string line;
  for (const char* c = text ? text : ""; *c; ++c) {
    const bool space = *c == '\n' || *c == '\t' || *c == ' ';
    if (!space)
      line += *c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

bool RefusedCredentials(const std::string& message) {
  for (const char* words : {"authentication failed", "no password supplied", "pg_hba.conf",
                            "permission denied", "password", "role \""}) {
    if (message.find(words) != std::string::npos) return true;
  }
  return false;
}

// Settings files are shared and backed up: a password there would leak.
bool NamesPassword(const std::string& conninfo) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  PQfreemem(error);
  bool named = false;
  for (PQconninfoOption* option = options; option && option->keyword; ++option) {
    if (std::string_view(option->keyword) == "password" && option->val && *option->val)
      named = true;
  }
  PQconninfoFree(options);
  return named;
}

}  // namespace

LNSTATUS MapPostgresError(std::string_view state) {
  if (state.size() != 5) return LNERR_SERVER_NOT_RESPONDING;
  const std::string_view klass = state.substr(0, 2);
  if (klass == "08" || klass == "57") return LNERR_SERVER_NOT_RESPONDING;
  if (klass == "28" || state == "42501") return LNERR_PERMISSION_DENIED;
  if (state == "55P03" || state == "40001" || state == "40P01") return LNERR_DATABASE_BUSY;
  if (state == "53100") return LNERR_DISK_FULL;
  if (klass == "58") return LNERR_DISK_IO;
  if (klass == "25") return LNERR_TRANSACTION;
  // All our statements are fixed: a missing table or column, a broken constraint or
  // a value of the wrong form means the schema has been damaged.
  if (klass == "42" || klass == "23" || klass == "22" || klass == "XX")
    return LNERR_DATABASE_DAMAGED;
  return LNERR_INTERNAL;
}

std::string_view PgRows::Text(int row, int column) const {
  return {PQgetvalue(result_.get(), row, column),
          static_cast<std::size_t>(PQgetlength(result_.get(), row, column))};
}

// Statements with parameters answer in the binary format (no hex to write and
// read for every byte of item data); scripts answer in text.
std::int64_t PgRows::Int(int row, int column) const {
  const char* value = PQgetvalue(result_.get(), row, column);
  if (PQfformat(result_.get(), column) == 0) return std::strtoll(value, nullptr, 10);
  const int size = PQgetlength(result_.get(), row, column);
  std::uint64_t bits = 0;
  for (int at = 0; at < size; ++at) bits = bits << 8 | static_cast<unsigned char>(value[at]);
  if (size > 0 && size < 8 && (static_cast<unsigned char>(value[0]) & 0x80))
    bits |= ~std::uint64_t{0} << (8 * size);  // negative: sign-extended
  return static_cast<std::int64_t>(bits);
}

bool PgRows::Bytes(int row, int column, std::string* out) const {
  if (PQfformat(result_.get(), column) == 1) {
    out->assign(Text(row, column));
    return true;
  }
  std::size_t size = 0;
  const auto* text = reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row, column));
  unsigned char* bytes = PQunescapeBytea(text, &size);
  if (!bytes) return false;
  out->assign(reinterpret_cast<const char*>(bytes), size);
  PQfreemem(bytes);
  return true;
}

std::int64_t PgRows::Changed() const {
  return result_ ? std::strtoll(PQcmdTuples(result_.get()), nullptr, 10) : 0;
}

// Escape strings work whatever standard_conforming_strings is set to.
PgScript& PgScript::Text(std::string_view value) {
  text_ += "E'";
  for (char c : value) {
    if (c == '\'' || c == '\\') text_ += c;
    text_ += c;
  }
  text_ += '\'';
  return *this;
}

PgScript& PgScript::Bytes(std::string_view value) {
  static constexpr char kHex[] = "0123456789abcdef";
  text_ += "E'\\\\x";
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    text_ += kHex[byte >> 4];
    text_ += kHex[byte & 15];
  }
  text_ += "'::bytea";
  return *this;
}

PgConnection::~PgConnection() {
  Settle();
  PQfinish(conn_);
}

LNSTATUS PgConnection::Connect(const std::string& conninfo, std::unique_ptr<PgConnection>* out,
                               FailureDetail* detail) {
  if (NamesPassword(conninfo)) {
    detail->Set(LNERR_PERMISSION_DENIED,
                "the connection in the settings holds a password; keep it in ~/.pgpass");
    return LNERR_PERMISSION_DENIED;
  }
  std::vector<const char*> keys(kDefaultKeys, kDefaultKeys + kDefaults);
  std::vector<const char*> values(kDefaultValues, kDefaultValues + kDefaults);
  keys.push_back("dbname");  // expanded as the connection string; later keys override earlier
  values.push_back(conninfo.c_str());
  keys.push_back(nullptr);
  values.push_back(nullptr);
  PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 1);
  if (!conn) {
    detail->Set(LNERR_SERVER_NOT_RESPONDING, "out of memory");
    return LNERR_SERVER_NOT_RESPONDING;
  }
  if (PQstatus(conn) != CONNECTION_OK) {
    const std::string reason = Trimmed(PQerrorMessage(conn));
    PQfinish(conn);
    const LNSTATUS status =
        RefusedCredentials(reason) ? LNERR_PERMISSION_DENIED : LNERR_SERVER_NOT_RESPONDING;
    detail->Set(status, reason);
    return status;
  }
  PQsetNoticeProcessor(
      conn, [](void*, const char*) {}, nullptr);  // no chatter on stderr
  PQsetnonblocking(conn, 1);                      // every wait for the server is bounded (Await)
  out->reset(new PgConnection(conn));
  (*out)->ReportTo(detail);
  return LNNOERROR;
}

LNSTATUS PgConnection::Failed(const PGresult* result) {
  if (silent_) {
    lastState_.clear();
    Report(LNERR_SERVER_NOT_RESPONDING, "the server has sent no answer for " +
                                            std::to_string(AnswerWait().count() / 1000) +
                                            " seconds");
    return LNERR_SERVER_NOT_RESPONDING;
  }
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  lastState_ = state ? state : "";
  const LNSTATUS status = PQstatus(conn_) == CONNECTION_BAD ? LNERR_SERVER_NOT_RESPONDING
                                                            : MapPostgresError(state ? state : "");
  Report(status, LastError());
  return status;
}

namespace {
PGresult* ExecParams(PGconn* conn, const char* sql, const std::vector<std::string>& params,
                     bool* silent) {
  std::vector<const char*> values;
  for (const std::string& param : params) values.push_back(param.c_str());
  if (!PQsendQueryParams(conn, sql, static_cast<int>(values.size()), nullptr, values.data(),
                         nullptr, nullptr, 1))
    return nullptr;
  if (!Flush(conn)) {
    *silent = true;
    return nullptr;
  }
  return Results(conn, silent);
}
}  // namespace

// A server that stopped answering keeps the rest of its request: the
// connection is cut, so that its transaction ends with nothing written.
void PgConnection::Cut() {
  silent_ = true;
  ::shutdown(PQsocket(conn_), SHUT_RDWR);
}

LNSTATUS PgConnection::Exec(const char* sql, const std::vector<std::string>& params, PgRows* rows) {
  if (prefetch_.valid() && prefetchSql_ == sql && prefetchParams_ == params)
    return Answer(prefetch_.get(), rows);
  if (LNSTATUS status = SendDeferred()) return status;
  if (silent_) return Failed(nullptr);
  ++roundTrips_;
  bool silent = false;
  PGresult* result = ExecParams(conn_, sql, params, &silent);
  if (silent) Cut();
  return Answer(result, rows);
}

void PgConnection::Prefetch(const char* sql, std::vector<std::string> params) {
  Settle();
  if (!deferred_.empty() || silent_) return;  // they would have to go first
  prefetchSql_ = sql;
  prefetchParams_ = std::move(params);
  try {
    prefetch_ = std::async(std::launch::async, [this, sql, &params = prefetchParams_] {
      bool silent = false;
      PGresult* result = ExecParams(conn_, sql, params, &silent);
      if (silent) Cut();
      return result;
    });
    ++roundTrips_;
  } catch (const std::system_error&) {
    // No thread to spare: the batch is read when it is asked for.
  }
}

void PgConnection::Settle() const {
  if (prefetch_.valid()) PQclear(prefetch_.get());
}

LNSTATUS PgConnection::Answer(PGresult* result, PgRows* rows) {
  const ExecStatusType type = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (type != PGRES_COMMAND_OK && type != PGRES_TUPLES_OK) {
    const LNSTATUS status = Failed(result);
    PQclear(result);
    return status;
  }
  if (rows) {
    *rows = PgRows(result);
  } else {
    PQclear(result);
  }
  return LNNOERROR;
}

LNSTATUS PgConnection::Run(const PgScript& script, std::vector<PgRows>* results) {
  if (LNSTATUS status = SendDeferred()) return status;
  return Send(script.Sql(), results);
}

namespace {
void PutBigEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
    out += static_cast<char>((value >> shift) & 0xff);
}
}  // namespace

PgCopyRow& PgCopyRow::Fixed(std::int64_t value, int bytes) {
  PutBigEndian(fields_, static_cast<std::uint32_t>(bytes), 4);
  PutBigEndian(fields_, static_cast<std::uint64_t>(value), bytes);
  ++count_;
  return *this;
}

PgCopyRow& PgCopyRow::Bytes(std::string_view value) {
  PutBigEndian(fields_, value.size(), 4);
  fields_ += value;
  ++count_;
  return *this;
}

std::size_t PgCopyRow::AppendTo(std::string& out) const {
  PutBigEndian(out, static_cast<std::uint16_t>(count_), 2);
  out += fields_;
  return 2 + fields_.size();
}

void PgConnection::Defer(const char* target, const PgCopyRow& row) {
  auto found = std::find_if(deferred_.begin(), deferred_.end(),
                            [&](const auto& entry) { return entry.first == target; });
  if (found == deferred_.end()) found = deferred_.insert(deferred_.end(), {target, {}});
  deferredBytes_ += row.AppendTo(found->second);
}

LNSTATUS PgConnection::SendDeferredIfLarge() {
  // A bound on what waits, so that one request never grows without end.
  constexpr std::size_t kMostDeferred = 8 << 20;
  return deferredBytes_ < kMostDeferred ? LNNOERROR : SendDeferred();
}

// COPY reads rows several times faster than the same rows written as literals.
LNSTATUS PgConnection::SendDeferred() {
  Settle();
  if (deferred_.empty()) return LNNOERROR;
  const auto copies = std::move(deferred_);
  DropDeferred();
  for (const auto& [target, lines] : copies)
    if (LNSTATUS status = Copy(target, lines)) return status;
  return LNNOERROR;
}

// Queues copy data, sending what libpq holds whenever its buffer is full.
bool PgConnection::PutCopyData(const char* data, std::size_t size) {
  for (int rc; (rc = PQputCopyData(conn_, data, static_cast<int>(size))) != 1;) {
    if (rc < 0) return false;
    if (!Await(conn_, POLLOUT | POLLIN)) {
      Cut();
      return false;
    }
    if (PQflush(conn_) < 0) return false;
  }
  return true;
}

LNSTATUS PgConnection::Copy(const std::string& target, const std::string& data) {
  if (silent_) return Failed(nullptr);
  ++roundTrips_;
  const std::string sql = "COPY " + target + " FROM STDIN (FORMAT binary)";
  bool silent = false;
  PGresult* started = nullptr;
  if (PQsendQuery(conn_, sql.c_str())) {
    if (Flush(conn_))
      started = NextResult(conn_, &silent);
    else
      silent = true;
  }
  if (silent) Cut();
  if (!started || PQresultStatus(started) != PGRES_COPY_IN) {
    const LNSTATUS status = Failed(started);
    PQclear(started);
    while (!silent_ && (started = NextResult(conn_, &silent))) PQclear(started);
    return status;
  }
  PQclear(started);
  ++roundTrips_;
  // Signature, flags and header extension before the tuples, -1 after them.
  static constexpr char kHeader[] = "PGCOPY\n\377\r\n\0\0\0\0\0\0\0\0\0";
  static constexpr char kTrailer[] = "\377\377";
  const bool sent = PutCopyData(kHeader, sizeof kHeader - 1) &&
                    PutCopyData(data.data(), data.size()) &&
                    PutCopyData(kTrailer, sizeof kTrailer - 1);
  if (silent_) return Failed(nullptr);
  if (PQputCopyEnd(conn_, sent ? nullptr : "not sent") < 0) return Failed(nullptr);
  if (!Flush(conn_)) Cut();
  LNSTATUS status = LNNOERROR;
  while (PGresult* result = silent_ ? nullptr : NextResult(conn_, &silent)) {
    if (PQresultStatus(result) != PGRES_COMMAND_OK && status == LNNOERROR) status = Failed(result);
    PQclear(result);
  }
  if (silent) Cut();
  if (status == LNNOERROR && (!sent || silent_ || PQstatus(conn_) == CONNECTION_BAD))
    status = Failed(nullptr);
  return status;
}

LNSTATUS PgConnection::Send(const std::string& sql, std::vector<PgRows>* results) {
  if (silent_) return Failed(nullptr);
  ++roundTrips_;
  if (!PQsendQuery(conn_, sql.c_str())) return Failed(nullptr);
  if (!Flush(conn_)) {
    Cut();
    return Failed(nullptr);
  }
  LNSTATUS status = LNNOERROR;
  bool silent = false;
  while (PGresult* result = NextResult(conn_, &silent)) {
    const ExecStatusType type = PQresultStatus(result);
    if (type != PGRES_COMMAND_OK && type != PGRES_TUPLES_OK) {
      if (status == LNNOERROR) status = Failed(result);
      PQclear(result);
    } else if (results) {
      results->emplace_back(result);
    } else {
      PQclear(result);
    }
  }
  if (silent) {
    Cut();
    return Failed(nullptr);
  }
  if (status == LNNOERROR && PQstatus(conn_) == CONNECTION_BAD) status = Failed(nullptr);
  return status;
}

bool PgConnection::Reusable() const {
  Settle();
  return !silent_ && PQstatus(conn_) == CONNECTION_OK &&
         PQtransactionStatus(conn_) == PQTRANS_IDLE && deferred_.empty();
}

namespace {
constexpr auto kLongestIdle = std::chrono::seconds(60);
constexpr std::size_t kMostIdle = 4;
}  // namespace

std::unique_ptr<PgConnection> PgPool::Take(const std::string& conninfo) {
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    Idle taken;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      std::erase_if(idle_, [&](const Idle& idle) { return now - idle.since > kLongestIdle; });
      auto found = std::find_if(idle_.rbegin(), idle_.rend(),
                                [&](const Idle& idle) { return idle.conninfo == conninfo; });
      if (found == idle_.rend()) return nullptr;
      taken = std::move(*found);
      idle_.erase(std::next(found).base());
    }
    // The server may have dropped a connection idle for a while (a restart): it
    // would fail the next request, so it is asked first.
    if (now - taken.since < trustedIdle_ || taken.connection->Exec("SELECT 1") == LNNOERROR)
      return std::move(taken.connection);
  }
}

void PgPool::Give(const std::string& conninfo, std::unique_ptr<PgConnection> connection) {
  if (!connection) return;
  connection->ReportTo(nullptr);  // the handle it worked for may go before it
  if (!connection->Reusable()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (std::count_if(idle_.begin(), idle_.end(), [&](const Idle& idle) {
        return idle.conninfo == conninfo;
      }) >= static_cast<long>(kMostIdle))
    return;
  idle_.push_back({conninfo, std::chrono::steady_clock::now(), std::move(connection)});
}

bool PgConnection::InTransaction() const {
  Settle();
  const PGTransactionStatusType state = PQtransactionStatus(conn_);
  return state == PQTRANS_INTRANS || state == PQTRANS_INERROR || state == PQTRANS_ACTIVE;
}

std::string PgConnection::LastError() const {
  return Trimmed(PQerrorMessage(conn_));
}

}  // namespace lnstore
