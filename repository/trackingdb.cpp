#include "repository/trackingdb.h"

#include "common/services.h"
#include "repository/store/lnnotes.h"

namespace velk {

CTrackingDb::CTrackingDb(Services& services, LNNotesSession& session, const std::string& path,
                         const std::string& server, CWorkflowDoc* user)
    : CRepositoryDb(services, session, {path, server}) {
  services_.showStatusText("loading tracking database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    TakeIdentity(db, user);
    db.Close();
  } catch (const LNStatusError& e) {
    services_.showStatusText({});
    services_.messageBox(FailureText(e), MsgIcon::None, MsgButtons::Ok);
    return;
  }
  services_.showStatusText({});
}

std::string CTrackingDb::FailureText(const LNStatusError& error) {
  return std::string("Document store error code:") + " " + error.what() + ".\n" +
         "The Tracking Database" + "\n" + "cannot be opened anymore." + "\n" +
         "Please choose another Tracking Database or retry this later.";
}

}  // namespace velk
