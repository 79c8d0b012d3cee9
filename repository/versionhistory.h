#pragma once
// Every stored version of one workflow with who saved it and when, as a designer
// looks through them before comparing two or activating one.

#include <string>
#include <vector>

#include "repository/processdefdb.h"

namespace velk {

struct StoredVersion {
  WorkflowHeaderEntry header;
  std::string savedBy;  // the last "User" entry: each save appends its own
  std::string savedAt;  // the last "LastModify" entry, "dd.mm.yyyy hh:mm:ss"
};

struct VersionHistory {
  std::vector<StoredVersion> versions;  // newest first
  std::string error;                    // why the list could not be read; empty when it was
};

// The versions stored under the workflow's name in the database the repository
// reads its header list from: the highest version first and, of one number, the
// latest save first.
VersionHistory ReadVersionHistory(CProcessDefDb& repository, const std::string& workflowName);

// Puts the versions in that order.
void SortNewestFirst(std::vector<StoredVersion>& versions);

}  // namespace velk
