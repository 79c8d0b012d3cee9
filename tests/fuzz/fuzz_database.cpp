// Opening a database file: the bytes of a damaged or foreign file are read as the
// modeler and `db check` read them, through the design, every document and, for a
// Process Definitions Database, every stored workflow.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "common/headlessservices.h"
#include "fuzzdir.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "repository/databasecache.h"
#include "repository/databasekind.h"
#include "repository/processdefdb.h"
#include "repository/storejson.h"

namespace {

void LoadWorkflows(velk::Services& services, LNNotesSession& session,
                   const velk::DatabaseLocation& at) {
  velk::DatabaseCache cache(services, session, velk::HeadersFrom(at), velk::CacheExtDirLinks);
  velk::CProcessDefDb* processDefs = cache.FindOrLoad<velk::CProcessDefDb>(at);
  if (!processDefs) return;
  processDefs->ReadHeaders(false);
  for (const velk::WorkflowHeaderEntry& header : processDefs->Headers()) {
    velk::CWorkflowDoc doc(services, session.GetUserNameText());
    velk::WorkflowDatabases databases;
    databases.processDefinitions = {at, processDefs};
    doc.SetDatabases(databases);
    velk::LoadWorkflow(doc, header, session);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LNNotesSession& session = FuzzSession();
  const std::string path = "fuzz.nsf";
  std::filesystem::remove(FuzzDataDirectory() / path);
  std::ofstream(FuzzDataDirectory() / path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  velk::HeadlessServices headless;
  LNDatabase db;
  if (session.GetDatabase(path, &db) != LNNOERROR || db.Open() != LNNOERROR) return 0;
  try {
    velk::DumpDatabase(db);
  } catch (const LNStatusError&) {
    // a damaged document is reported, which is all that is asked
  }
  db.Close();
  if (velk::DetectDatabaseKind(headless, session, path, {}) ==
      velk::DatabaseKind::ProcessDefinitions)
    LoadWorkflows(headless, session, {path, {}});
  return 0;
}
