#pragma once
// The Tracking Database: the modeler only needs to know that it opens, and its
// title and replica id.

#include <string>

#include "repository/repositorydb.h"

namespace velk {

class CTrackingDb : public CRepositoryDb {
 public:
  // Takes title and replica id; a database that cannot be opened leaves every
  // field empty and is reported in a message box.
  CTrackingDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
              CWorkflowDoc* user);

  // The box shown when the database cannot be opened.
  static std::string FailureText(const LNStatusError& error);
};

}  // namespace velk
