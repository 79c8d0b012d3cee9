// "Find in Repository" of the find bar: reads the default Process Definitions
// Database and opens the chosen stored version as File Open does.
#include "app/ui/velkmodapp.h"
#include "repository/databasecache.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/store/lnstatus.h"

CFindBar::Repository CVelkModApp::FindInRepository() {
  CFindBar::Repository parts;
  parts.read = [this]() -> std::unique_ptr<velk::RepositoryFindIndex> {
    const velk::DatabaseLocation& at = settings_.databases[velk::DatabaseKind::ProcessDefinitions];
    velk::WaitCursor wait(services_);
    try {
      LNDatabase db;
      if (LNSTATUS status = session_.GetDatabase(at.fileName, &db, at.server))
        throw LNStatusError(status, session_.ErrorMessage(status));
      LNThrowAllErrorsScope throwing(db, true);
      db.Open();
      auto index = std::make_unique<velk::RepositoryFindIndex>(services_, db);
      db.Close();
      return index;
    } catch (const LNStatusError& e) {
      ShowNotesError(services_,
                     "The stored workflows of the Process Definitions Database cannot be read.", e);
      return nullptr;
    }
  };
  parts.open = [this](const velk::StoredWorkflow& chosen) {
    velk::CProcessDefDb* repository = cache_.FindOrLoad<velk::CProcessDefDb>(
        settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
    if (!repository || !repository->ReadHeaders(true)) return;  // reported
    for (const velk::WorkflowHeaderEntry& header : repository->Headers())
      if (header.workflowId == chosen.workflowId && header.version == chosen.version)
        return void(OpenStoredWorkflow(header));
    services_.messageBox("The workflow \"" + chosen.name + " v" + std::to_string(chosen.version) +
                             "\" is no longer stored in the Process Definitions Database.",
                         velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
  };
  return parts;
}
