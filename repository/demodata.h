#pragma once
// The demo repository: six databases of the organisation "Marvelund" with
// persons, workgroups, units and roles, application forms, resources and an
// External Directory with partners, process views and EIDM requests, consistent
// with one another so that every reader of the modeler finds what it expects.

#include <string>
#include <vector>

#include "repository/databasekind.h"

class LNNotesSession;
class LNDatabase;

namespace velk {

inline constexpr char kDemoOrganisation[] = "Marvelund";
inline constexpr char kDemoOfficeMail[] = "workflow.office@marvelund.example";

struct DemoDatabase {
  DatabaseKind kind;
  const char* fileName;  // inside the demo folder
  const char* title;
  const char* replicaId;  // fixed, so that every demo repository quotes the same ids
};

// In the order they are created: databases that others quote come first.
const std::vector<DemoDatabase>& DemoDatabases();

// Identities one database's documents quote from another.
struct DemoLinks {
  std::string appReplicaId;       // "AppReplikaID" of stored workflows
  std::string trackingReplicaId;  // "MasterTrackingAddress" of EIDM requests
};

// Writes the demo documents of `kind` into an open database that has the design of
// that kind, in one transaction. Store failures throw LNStatusError.
void WriteDemoDocuments(Services& services, DatabaseKind kind, LNDatabase& db,
                        const DemoLinks& links);

struct DemoResult {
  DatabaseKind kind;
  std::string path;  // as the settings name it: relative to the data directory when inside it
  bool created;      // false: an existing database of the right kind was kept
};

// Creates the demo databases that do not exist yet in `directory` (a file system
// path; empty: the data directory). A database already there is kept when it is of
// its kind; anything else under a demo file name stops everything before a file is
// written (std::runtime_error naming it). Each new database is written under a
// temporary name and renamed when complete, so an interrupted run leaves no
// half-filled database behind.
std::vector<DemoResult> CreateDemoRepository(Services& services, LNNotesSession& session,
                                             const std::string& directory);

}  // namespace velk
