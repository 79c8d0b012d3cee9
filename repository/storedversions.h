#pragma once
// What must never be in a Process Definitions Database, whoever stored it: two
// stored versions of one workflow id with one number, two current versions of
// one workflow id, or two Active versions of one workflow (by its name) that
// the engine would both run.

#include <string>
#include <vector>

namespace velk {

struct WorkflowHeaderEntry;

struct VersionConflict {
  std::string title;  // the workflow and the versions concerned
  std::string text;   // what is wrong
};

std::vector<VersionConflict> StoredVersionConflicts(
    const std::vector<WorkflowHeaderEntry>& headers);

}  // namespace velk
