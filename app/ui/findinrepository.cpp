#include "app/ui/findinrepository.h"

#include "app/settings.h"
#include "app/ui/workflowopener.h"
#include "common/services.h"
#include "repository/databasecache.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/store/lnstatus.h"

CFindBar::Repository FindInRepository(velk::Services& services, LNNotesSession& session,
                                      const velk::ModelerSettings& settings,
                                      velk::DatabaseCache& cache, CWorkflowOpener& opener) {
  CFindBar::Repository parts;
  parts.read = [&services, &session, &settings]() -> std::unique_ptr<velk::RepositoryFindIndex> {
    const velk::DatabaseLocation& at = settings.databases[velk::DatabaseKind::ProcessDefinitions];
    velk::WaitCursor wait(services);
    try {
      LNDatabase db;
      if (LNSTATUS status = session.GetDatabase(at.fileName, &db, at.server))
        throw LNStatusError(status, session.ErrorMessage(status));
      LNThrowAllErrorsScope throwing(db, true);
      db.Open();
      auto index = std::make_unique<velk::RepositoryFindIndex>(services, db);
      db.Close();
      return index;
    } catch (const LNStatusError& e) {
      ShowNotesError(services,
                     "The stored workflows of the Process Definitions Database cannot be read.", e);
      return nullptr;
    }
  };
  parts.open = [&services, &settings, &cache, &opener](const velk::StoredWorkflow& chosen) {
    velk::CProcessDefDb* repository = cache.FindOrLoad<velk::CProcessDefDb>(
        settings.databases[velk::DatabaseKind::ProcessDefinitions]);
    if (!repository || !repository->ReadHeaders(true)) return;  // reported
    for (const velk::WorkflowHeaderEntry& header : repository->Headers())
      if (header.workflowId == chosen.workflowId && header.version == chosen.version)
        return void(opener.OpenStored(header));
    services.messageBox("The workflow \"" + chosen.name + " v" + std::to_string(chosen.version) +
                            "\" is no longer stored in the Process Definitions Database.",
                        velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
  };
  return parts;
}
