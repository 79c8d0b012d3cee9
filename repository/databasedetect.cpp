// Kind detection of a database named by path and server.

#include "repository/databasekind.h"
#include "repository/databasetemplates.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {
bool IsError(LNSTATUS status) {
  return status != LNNOERROR && !LNIsWarning(status);
}
}  // namespace

DatabaseKind DetectDatabaseKind(Services& services, LNNotesSession& session, const std::string& path,
                                const std::string& server) {
  LNThrowAllErrorsScope returnErrors(session, false);  // and the database it gives
  LNDatabase db;
  LNSTATUS status = session.GetDatabase(path, &db, NormalizeServerName(server));
  if (!IsError(status)) status = db.Open();
  if (IsError(status)) {
    ShowNotesError(services, {}, LNStatusError(status, db.IsNull() ? session.ErrorMessage(status)
                                                                   : db.ErrorMessage(status)));
    return DatabaseKind::None;
  }
  const DatabaseKind kind = DetectKindByViews(db);
  db.Close();
  return kind;
}

}  // namespace velk
