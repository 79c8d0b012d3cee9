#include "repository/store/lnsession.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string_view>

#include "repository/store/lnfail.h"
#include "repository/store/lninternal.h"
#include "repository/store/lnsqlite.h"

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "OU=Sales" -> "Sales"; a component without a leading "XX=" stays as it is.
std::string_view StripLabel(std::string_view component) {
  std::size_t equals = component.find('=');
  if (equals == std::string_view::npos || equals == 0) return component;
  for (std::size_t i = 0; i < equals; ++i) {
    if (!std::isalpha(static_cast<unsigned char>(component[i]))) return component;
  }
  return component.substr(equals + 1);
}

}  // namespace

LNNotesSession::LNNotesSession() : LNNotesSession(ServerMap{}) {}
LNNotesSession::LNNotesSession(ServerMap servers)
    : servers_(std::move(servers)), busyTimeoutMs_(lnstore::kBusyTimeoutMs),
      trustedIdle_(lnstore::kTrustedIdle) {}
LNNotesSession::~LNNotesSession() = default;

LNSTATUS LNNotesSession::Init(int) {
  if (!local_) local_ = lnstore::MakeLocalBackend(busyTimeoutMs_);
  if (!remote_) remote_ = lnstore::MakeServerBackend(servers_, trustedIdle_);
  initialized_ = true;
  return LNNOERROR;
}

void LNNotesSession::SetBusyTimeout(std::chrono::milliseconds wait) {
  busyTimeoutMs_ = static_cast<int>(wait.count());
  if (local_) local_ = lnstore::MakeLocalBackend(busyTimeoutMs_);
}

void LNNotesSession::SetTrustedIdle(std::chrono::milliseconds idle) {
  trustedIdle_ = idle;
  if (remote_) remote_ = lnstore::MakeServerBackend(servers_, trustedIdle_);
}

LNSTATUS LNNotesSession::Term() {
  initialized_ = false;
  return LNNOERROR;
}

bool LNNotesSession::IsInitialized() const {
  return initialized_;
}

std::shared_ptr<lnstore::Backend> LNNotesSession::BackendFor(const std::string& server) const {
  return server.empty() ? local_ : remote_;
}

std::shared_ptr<lnstore::DatabaseData> LNNotesSession::Bind(
    std::shared_ptr<lnstore::Backend> backend, const std::string& server,
    const std::string& path) const {
  return std::make_shared<lnstore::DatabaseData>(std::move(backend), server, path, throwAll_);
}

LNSTATUS LNNotesSession::Fail(LNSTATUS status) const {
  return lnstore::Fail(throwAll_, detail_, status);
}

LNSTATUS LNNotesSession::GetDatabase(const std::string& path, LNDatabase* db,
                                     const std::string& server) {
  if (!initialized_) return Fail(LNERR_NO_SESSION);
  if (!db || path.empty()) return Fail(LNERR_INVALID_ARGUMENT);
  *db = LNDatabase(Bind(BackendFor(server), server, path));
  return LNNOERROR;
}

LNSTATUS LNNotesSession::CreateDatabase(const std::string& path, LNDatabase* db,
                                        const std::string& title, const std::string& server) {
  return CreateDatabase(path, db, title, server, nullptr);
}

LNSTATUS LNNotesSession::CreateDatabase(const std::string& path, LNDatabase* db,
                                        const std::string& title, const std::string& server,
                                        const std::function<LNSTATUS(LNDatabase&)>& design) {
  if (!initialized_) return Fail(LNERR_NO_SESSION);
  if (!db || path.empty()) return Fail(LNERR_INVALID_ARGUMENT);
  std::shared_ptr<lnstore::Backend> backend = BackendFor(server);
  lnstore::DatabaseFill fill;
  if (design) {
    fill = [&](const std::string& partial) {
      LNDatabase building(Bind(backend, server, partial));
      LNSTATUS status = building.Open();
      if (status == LNNOERROR) status = design(building);
      building.Close();  // the file is renamed next: no connection may stay open on it
      if (status != LNNOERROR) detail_ = building.d_->detail;  // the creation failed with it
      return LNIsWarning(status) ? LNNOERROR : status;
    };
  }
  if (LNSTATUS status = backend->CreateDatabase(server, path, title, fill, &detail_))
    return Fail(status);
  return GetDatabase(path, db, server);
}

LNSTATUS LNNotesSession::GetServerNames(std::vector<std::string>* names) const {
  if (!initialized_) return Fail(LNERR_NO_SESSION);
  if (!names) return Fail(LNERR_INVALID_ARGUMENT);
  names->clear();
  for (const auto& entry : servers_) names->push_back(entry.first);
  return LNNOERROR;
}

LNSTATUS LNNotesSession::GetDatabases(std::vector<LNDatabase>* dbs, const std::string& directory,
                                      const std::string& server, int recursive) {
  if (!initialized_) return Fail(LNERR_NO_SESSION);
  if (!dbs) return Fail(LNERR_INVALID_ARGUMENT);
  dbs->clear();
  std::vector<std::string> paths;
  std::shared_ptr<lnstore::Backend> backend = BackendFor(server);
  if (LNSTATUS status = backend->ListDatabases(server, directory, recursive != 0, &paths, &detail_))
    return Fail(status);
  for (const std::string& path : paths) dbs->push_back(LNDatabase(Bind(backend, server, path)));
  return LNNOERROR;
}

std::string LNNotesSession::GetDataDirectory() const {
  return lnstore::DataDirectory();
}

LNDatetime LNNotesSession::GetCurrentDatetime() const {
  return LNDatetime::Now();
}

std::string LNNotesSession::GetUserNameText() const {
  std::string user = Env("VELK_USER");
  if (!user.empty()) return user;
  if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return entry->pw_name;
  return Env("USER");
}

std::string LNNotesSession::AbbreviateName(const std::string& name) {
  bool canonical = name.size() > 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
                   std::toupper(static_cast<unsigned char>(name[1])) == 'N' && name[2] == '=';
  if (!canonical) return name;
  const std::string_view whole(name);
  std::string result;
  result.reserve(name.size());
  std::size_t start = 0;
  while (true) {
    std::size_t slash = whole.find('/', start);
    result += StripLabel(whole.substr(start, slash - start));
    if (slash == std::string_view::npos) break;
    result += '/';
    start = slash + 1;
  }
  return result;
}
