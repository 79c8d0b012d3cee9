#pragma once
// What every cached repository object knows of the database it was read from:
// where it lives, its title and replica id, and the workflows that use it.

#include <string>
#include <vector>

#include "common/services.h"
#include "repository/databasekind.h"
#include "repository/store/lnstatus.h"

class LNDatabase;
class LNNotesSession;

namespace velk {

class CWorkflowDoc;

class CRepositoryDb {
 public:
  virtual ~CRepositoryDb();
  CRepositoryDb(const CRepositoryDb&) = delete;
  CRepositoryDb& operator=(const CRepositoryDb&) = delete;

  // Path, server, title and replica id stay empty until the database has been
  // opened once, so an object that never could open it matches no location.
  const std::string& Path() const { return path_; }
  const std::string& Server() const { return server_; }  // empty: the local machine
  const std::string& Title() const { return title_; }
  const std::string& ReplicaId() const { return replicaId_; }  // "XXXXXXXX:XXXXXXXX"
  DatabaseLocation Location() const { return {path_, server_}; }
  // The location this object was asked to read; kept even when opening failed,
  // so that a reload can try again.
  const DatabaseLocation& RequestedLocation() const { return requested_; }

  // The workflow documents that use the object (not owned).
  const std::vector<CWorkflowDoc*>& Users() const { return users_; }
  // Ignores null and documents already listed.
  void AddUser(CWorkflowDoc* user);
  void RemoveUser(CWorkflowDoc* user);

  // What the object reports through.
  Services& UserInterface() const { return services_; }

 protected:
  CRepositoryDb(Services& services, LNNotesSession& session, DatabaseLocation requested);

  // Binds and opens the requested database. Throws LNStatusError; the database
  // keeps the session's throwing mode.
  void OpenDatabase(LNDatabase& db) const;
  // After the first successful open: location, title, replica id and the user.
  // Later calls only add the user.
  void TakeIdentity(LNDatabase& db, CWorkflowDoc* user);

  Services& services_;

 private:
  LNNotesSession* session_;
  DatabaseLocation requested_;
  std::string path_;
  std::string server_;
  std::string title_;
  std::string replicaId_;
  std::vector<CWorkflowDoc*> users_;
  bool identified_ = false;
};

// One Info Center entry with the flag 0, as every repository reports.
void Report(Services& services, const std::string& category, const std::string& title, const std::string& text,
            Severity severity);
// An error entry: the store's message for `error`, then `explanation`.
void ReportStoreFailure(Services& services, const std::string& category, const std::string& title,
                        const LNStatusError& error, const std::string& explanation);

}  // namespace velk
