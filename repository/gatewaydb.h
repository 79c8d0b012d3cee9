#pragma once
// The Gateway Database: the modeler only needs to know that it opens, and its
// title and replica id.

#include <string>

#include "repository/repositorydb.h"

namespace velk {

inline constexpr char kBasicRepositoryCategory[] = "Reading basic repository data";

class CGatewayDb : public CRepositoryDb {
 public:
  // Takes title and replica id; a database that cannot be opened leaves every
  // field empty and becomes an Info Center error.
  CGatewayDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
             CWorkflowDoc* user);
};

}  // namespace velk
