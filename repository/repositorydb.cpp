#include "repository/repositorydb.h"

#include <algorithm>
#include <utility>

#include "common/infocenter.h"
#include "common/services.h"
#include "repository/identity.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"

namespace velk {

CRepositoryDb::CRepositoryDb(Services& services, LNNotesSession& session,
                             DatabaseLocation requested)
    : services_(services), session_(&session), requested_(std::move(requested)) {}

CRepositoryDb::~CRepositoryDb() = default;

void CRepositoryDb::AddUser(CWorkflowDoc* user) {
  if (user && std::find(users_.begin(), users_.end(), user) == users_.end()) users_.push_back(user);
}

void CRepositoryDb::RemoveUser(CWorkflowDoc* user) {
  std::erase(users_, user);
}

void CRepositoryDb::OpenDatabase(LNDatabase& db) const {
  if (LNSTATUS status = session_->GetDatabase(requested_.fileName, &db, requested_.server))
    throw LNStatusError(status, session_->ErrorMessage(status));
  LNThrowAllErrorsScope throwing(db, true);
  db.Open();
}

void CRepositoryDb::TakeIdentity(LNDatabase& db, CWorkflowDoc* user) {
  if (!identified_) {
    identified_ = true;
    path_ = requested_.fileName;
    server_ = requested_.server;
    title_ = db.GetTitle();
    replicaId_ = FormatReplicaId(db.GetReplicaID());
  }
  AddUser(user);
}

void Report(Services& services, const std::string& category, const std::string& title,
            const std::string& text, Severity severity) {
  services.infoCenter().addEntry(category, title, text, 0, severity);
}

void ReportStoreFailure(Services& services, const std::string& category, const std::string& title,
                        const LNStatusError& error, const std::string& explanation) {
  Report(services, category, title, GetNotesErrorText(error) + explanation, Severity::Error);
}

}  // namespace velk
