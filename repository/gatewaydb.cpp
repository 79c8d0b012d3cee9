#include "repository/gatewaydb.h"

#include "common/infocenter.h"
#include "common/services.h"
#include "repository/store/lnnotes.h"

namespace velk {

CGatewayDb::CGatewayDb(LNNotesSession& session, const std::string& path, const std::string& server,
                       CWorkflowDoc* user)
    : CRepositoryDb(session, {path, server}) {
  services().infoCenter().clearCategory(kBasicRepositoryCategory);
  StatusScope status(services(), "Loading Gateway Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    TakeIdentity(db, user);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(kBasicRepositoryCategory, "Opening Gateway Database", e.GetStatus(),
                       "The Gateway Database cannot be opened anymore.\r\nPlease choose another "
                       "Application Database or retry this later.");
  }
}

}  // namespace velk
