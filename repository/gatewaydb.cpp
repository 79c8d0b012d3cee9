#include "repository/gatewaydb.h"

#include "common/infocenter.h"
#include "common/services.h"
#include "repository/store/lnnotes.h"

namespace velk {

CGatewayDb::CGatewayDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
                       CWorkflowDoc* user)
    : CRepositoryDb(services, session, {path, server}) {
  services_.infoCenter().clearCategory(kBasicRepositoryCategory);
  StatusScope status(services_, "Loading Gateway Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    TakeIdentity(db, user);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kBasicRepositoryCategory, "Opening Gateway Database", e,
                       "The Gateway Database cannot be opened anymore.\r\nPlease choose another "
                       "Application Database or retry this later.");
  }
}

}  // namespace velk
