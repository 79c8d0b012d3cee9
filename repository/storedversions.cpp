#include "repository/storedversions.h"

#include <map>
#include <optional>
#include <tuple>

#include "repository/processdefdb.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr int kActive = 1;
constexpr int kFreeze = 2;

std::string Version(const WorkflowHeaderEntry& h) {
  return "version " + std::to_string(h.version) + " (" + WorkflowStatusToWord(h.status) + ")";
}

// A group of headers; none: the header belongs to no group.
using Key = std::optional<std::tuple<std::string, int>>;

// Reports every group of headers the key puts together that holds more than one.
template <class KeyOf>
void Groups(const std::vector<WorkflowHeaderEntry>& headers, KeyOf key, const char* what,
            std::vector<VersionConflict>& out) {
  std::map<std::tuple<std::string, int>, std::vector<const WorkflowHeaderEntry*>> groups;
  for (const WorkflowHeaderEntry& h : headers)
    if (const Key k = key(h)) groups[*k].push_back(&h);
  for (const auto& [k, group] : groups) {
    if (group.size() < 2) continue;
    std::string versions;
    for (const WorkflowHeaderEntry* h : group)
      versions += (versions.empty() ? "" : ", ") + Version(*h) + " as " + h->workflowId;
    out.push_back({group.front()->type + ": " + versions, what});
  }
}

}  // namespace

std::vector<VersionConflict> StoredVersionConflicts(
    const std::vector<WorkflowHeaderEntry>& headers) {
  std::vector<VersionConflict> out;
  Groups(
      headers,
      [](const WorkflowHeaderEntry& h) -> Key {
        return std::tuple{h.workflowId, h.version};
      },
      "Two stored versions share one workflow id and version number.", out);
  Groups(
      headers,
      [](const WorkflowHeaderEntry& h) -> Key {
        if (h.status == kFreeze) return std::nullopt;
        return std::tuple{h.workflowId, 0};
      },
      "The workflow id has more than one current version.", out);
  Groups(
      headers,
      [](const WorkflowHeaderEntry& h) -> Key {
        if (h.status != kActive) return std::nullopt;
        return std::tuple{h.type, 0};
      },
      "The workflow has more than one Active version: the engine would run them all.", out);
  return out;
}

}  // namespace velk
