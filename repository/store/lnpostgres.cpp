#include "repository/store/lnpostgres.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "repository/store/lnfail.h"

namespace lnstore {

namespace {

// Defaults a connection string may override: nothing waits long for a server that
// is down, and a row another designer holds is waited for as long as locally.
const char* const kDefaultKeys[] = {"connect_timeout", "application_name", "tcp_user_timeout",
                                    "keepalives_idle", "options"};
const char* const kDefaultValues[] = {"5", "velkmod", "15000", "15", "-c lock_timeout=30000"};
constexpr int kDefaults = 5;

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

LNSTATUS PgConnection::Connect(const std::string& conninfo, std::unique_ptr<PgConnection>* out) {
  if (NamesPassword(conninfo)) {
    SetFailureDetail(LNERR_PERMISSION_DENIED,
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
    SetFailureDetail(LNERR_SERVER_NOT_RESPONDING, "out of memory");
    return LNERR_SERVER_NOT_RESPONDING;
  }
  if (PQstatus(conn) != CONNECTION_OK) {
    const std::string reason = Trimmed(PQerrorMessage(conn));
    PQfinish(conn);
    const LNSTATUS status =
        RefusedCredentials(reason) ? LNERR_PERMISSION_DENIED : LNERR_SERVER_NOT_RESPONDING;
    SetFailureDetail(status, reason);
    return status;
  }
  PQsetNoticeProcessor(
      conn, [](void*, const char*) {}, nullptr);  // no chatter on stderr
  out->reset(new PgConnection(conn));
  return LNNOERROR;
}

LNSTATUS PgConnection::Failed(const PGresult* result) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  lastState_ = state ? state : "";
  const LNSTATUS status = PQstatus(conn_) == CONNECTION_BAD ? LNERR_SERVER_NOT_RESPONDING
                                                            : MapPostgresError(state ? state : "");
  SetFailureDetail(status, LastError());
  return status;
}

namespace {
PGresult* ExecParams(PGconn* conn, const char* sql, const std::vector<std::string>& params) {
  std::vector<const char*> values;
  for (const std::string& param : params) values.push_back(param.c_str());
  return PQexecParams(conn, sql, static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                      nullptr, 1);
}
}  // namespace

LNSTATUS PgConnection::Exec(const char* sql, const std::vector<std::string>& params, PgRows* rows) {
  if (prefetch_.valid() && prefetchSql_ == sql && prefetchParams_ == params)
    return Answer(prefetch_.get(), rows);
  if (LNSTATUS status = SendDeferred()) return status;
  ++roundTrips_;
  return Answer(ExecParams(conn_, sql, params), rows);
}

void PgConnection::Prefetch(const char* sql, std::vector<std::string> params) {
  Settle();
  if (!deferred_.empty()) return;  // they would have to go first
  prefetchSql_ = sql;
  prefetchParams_ = std::move(params);
  try {
    prefetch_ = std::async(std::launch::async, [conn = conn_, sql, &params = prefetchParams_] {
      return ExecParams(conn, sql, params);
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

LNSTATUS PgConnection::Copy(const std::string& target, const std::string& data) {
  ++roundTrips_;
  const std::string sql = "COPY " + target + " FROM STDIN (FORMAT binary)";
  PGresult* started = PQexec(conn_, sql.c_str());
  if (!started || PQresultStatus(started) != PGRES_COPY_IN) {
    const LNSTATUS status = Failed(started);
    PQclear(started);
    return status;
  }
  PQclear(started);
  ++roundTrips_;
  // Signature, flags and header extension before the tuples, -1 after them.
  static constexpr char kHeader[] = "PGCOPY\n\377\r\n\0\0\0\0\0\0\0\0\0";
  static constexpr char kTrailer[] = "\377\377";
  const bool sent = PQputCopyData(conn_, kHeader, sizeof kHeader - 1) == 1 &&
                    PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) == 1 &&
                    PQputCopyData(conn_, kTrailer, sizeof kTrailer - 1) == 1;
  if (PQputCopyEnd(conn_, sent ? nullptr : "not sent") != 1) return Failed(nullptr);
  LNSTATUS status = LNNOERROR;
  while (PGresult* result = PQgetResult(conn_)) {
    if (PQresultStatus(result) != PGRES_COMMAND_OK && status == LNNOERROR) status = Failed(result);
    PQclear(result);
  }
  if (status == LNNOERROR && (!sent || PQstatus(conn_) == CONNECTION_BAD)) status = Failed(nullptr);
  return status;
}

LNSTATUS PgConnection::Send(const std::string& sql, std::vector<PgRows>* results) {
  ++roundTrips_;
  if (!PQsendQuery(conn_, sql.c_str())) return Failed(nullptr);
  LNSTATUS status = LNNOERROR;
  while (PGresult* result = PQgetResult(conn_)) {
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
  if (status == LNNOERROR && PQstatus(conn_) == CONNECTION_BAD) status = Failed(nullptr);
  return status;
}

bool PgConnection::Reusable() const {
  Settle();
  return PQstatus(conn_) == CONNECTION_OK && PQtransactionStatus(conn_) == PQTRANS_IDLE &&
         deferred_.empty();
}

namespace {
constexpr auto kLongestIdle = std::chrono::seconds(60);
constexpr auto kTrustedIdle = std::chrono::seconds(1);  // idle longer: asked first
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
    if (now - taken.since < kTrustedIdle || taken.connection->Exec("SELECT 1") == LNNOERROR)
      return std::move(taken.connection);
    ClearFailureDetail();
  }
}

void PgPool::Give(const std::string& conninfo, std::unique_ptr<PgConnection> connection) {
  if (!connection || !connection->Reusable()) return;
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
