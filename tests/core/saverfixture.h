#pragma once
// The saver as the program composes it: a cache of repository objects and the
// default databases of the settings, one of each kind in the test's data folder
// under the demo's file names (made empty where the test has not made it).

#include <filesystem>

#include "extdir/extdirlookup.h"
#include "model/workflowsaver.h"
#include "repository/databasecache.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/store/lnbackend.h"
#include "repository/store/lnnotes.h"

namespace velk::testing {

class TestSaver {
 public:
  TestSaver(Services& services, LNNotesSession& session)
      : cache_(services, session, HeadersFrom({"procdef.nsf", ""}), CacheExtDirLinks),
        saver_{cache_, defaults_, directory_, AnswererAsking(services)} {
    for (const DemoDatabase& d : DemoDatabases()) {
      defaults_[d.kind] = {d.fileName, ""};
      if (std::filesystem::exists(lnstore::ResolveLocalPath(d.fileName))) continue;
      LNDatabase db;
      CreateDatabaseOfKind(session, d.kind, d.fileName, "", "", &db);
    }
  }
  WorkflowSaver& operator*() { return saver_; }
  WorkflowSaver* operator->() { return &saver_; }
  const DatabaseLocations& Defaults() const { return defaults_; }

 private:
  DatabaseCache cache_;
  DatabaseLocations defaults_;
  CExtDirLookup directory_;
  WorkflowSaver saver_;
};

}  // namespace velk::testing
