#pragma once
// The session: finds databases by server and path. Its throwing mode is its own
// and each database starts with the mode the session had when it was got.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "repository/store/lndatabase.h"

namespace lnstore {
class Backend;
}

class LNNotesSession {
 public:
  // Server name -> libpq connection string (passwords come from ~/.pgpass or the
  // environment, never from here).
  using ServerMap = std::map<std::string, std::string>;

  // Local databases only.
  LNNotesSession();
  explicit LNNotesSession(ServerMap servers);
  ~LNNotesSession();
  LNNotesSession(const LNNotesSession&) = delete;
  LNNotesSession& operator=(const LNNotesSession&) = delete;

  LNSTATUS Init(int version = 410);
  // How long a statement on a local database waits for another program writing
  // to it before it fails as busy; databases bound afterwards wait this long.
  void SetBusyTimeout(std::chrono::milliseconds wait);
  // How long a kept server connection is handed out without first asking the
  // server whether it still holds it (a restart drops it); later binds use it.
  void SetTrustedIdle(std::chrono::milliseconds idle);
  LNSTATUS Term();
  bool IsInitialized() const;
  // Whether the session's own calls throw their failures; databases got from now
  // on start with this mode.
  void SetThrowAllErrors(bool on) { throwAll_ = on; }
  bool GetThrowAllErrors() const { return throwAll_; }
  // The text of `status` with the server's own words when the session's last
  // failure was that status (a database it could not create or list).
  std::string ErrorMessage(LNSTATUS status) const { return detail_.Message(status); }

  // Binds `db` to a database; nothing is read until Open. An empty server is the
  // local machine: `path` is then relative to the data directory unless absolute.
  LNSTATUS GetDatabase(const std::string& path, LNDatabase* db, const std::string& server = {});
  // Creates an empty database file (fails when one exists) and binds `db` to it.
  LNSTATUS CreateDatabase(const std::string& path, LNDatabase* db, const std::string& title,
                          const std::string& server = {});
  // The same, with `design` writing into the new database, open, before the file
  // appears under `path`: a creation that fails or is cut short leaves none there.
  LNSTATUS CreateDatabase(const std::string& path, LNDatabase* db, const std::string& title,
                          const std::string& server,
                          const std::function<LNSTATUS(LNDatabase&)>& design);
  // The names of the servers the session was given, in name order.
  LNSTATUS GetServerNames(std::vector<std::string>* names) const;
  // Databases (*.nsf) in `directory` (relative to the data directory), recursing
  // into subfolders when `recursive` is set; their file paths include `directory`.
  LNSTATUS GetDatabases(std::vector<LNDatabase>* dbs, const std::string& directory = {},
                        const std::string& server = {}, int recursive = 1);
  // VELK_DATA_DIR, else $XDG_DATA_HOME/velkmod (~/.local/share/velkmod).
  std::string GetDataDirectory() const;
  LNDatetime GetCurrentDatetime() const;
  // VELK_USER, else the login name.
  std::string GetUserNameText() const;
  // "CN=Ann Lee/OU=Sales/O=Acme" -> "Ann Lee/Sales/Acme"; other names unchanged.
  static std::string AbbreviateName(const std::string& name);

 private:
  // Shared with the databases bound through it, which may outlive the session.
  std::shared_ptr<lnstore::Backend> BackendFor(const std::string& server) const;
  std::shared_ptr<lnstore::DatabaseData> Bind(std::shared_ptr<lnstore::Backend> backend,
                                              const std::string& server,
                                              const std::string& path) const;
  LNSTATUS Fail(LNSTATUS status) const;
  bool initialized_ = false;
  std::shared_ptr<lnstore::Backend> local_;
  std::shared_ptr<lnstore::Backend> remote_;
  ServerMap servers_;
  int busyTimeoutMs_;
  std::chrono::milliseconds trustedIdle_;
  bool throwAll_ = false;
  lnstore::FailureDetail detail_;
};
