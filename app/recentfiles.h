#pragma once
// The File menu's list of recently used workflows. Workflows live in databases,
// so an entry names a stored workflow version rather than a file; the list is
// kept in the section "Recent File List" as "File1".."File4".

#include <cstddef>
#include <string>
#include <vector>

#include "app/settings.h"

namespace velk {

inline constexpr const char* kRecentFileSection = "Recent File List";

// One entry of the File menu's recent list: a stored workflow.
struct RecentWorkflow {
  std::string workflowId;  // id of the stored version
  int version = 0;
  std::string name;      // workflow name, shown in the menu
  std::string database;  // Process Definitions Database file name it was stored in
  std::string server;    // its server; empty for the local machine
  bool operator==(const RecentWorkflow&) const = default;
};

class RecentWorkflowList {
 public:
  static constexpr int kMaxEntries = 4;

  // Reads "File1".."File4" of section "Recent File List"; unreadable entries are skipped.
  void Load(const SettingsBackend& store);
  // Writes File1..File4 (empty string for unused slots).
  void Save(SettingsBackend& store) const;
  // Puts the workflow first; an entry of the same workflow name and database is
  // replaced (so a newer version or id takes its place); at most four stay.
  void Add(const RecentWorkflow& entry);
  // Out-of-range indexes are ignored.
  void Remove(std::size_t index);
  const std::vector<RecentWorkflow>& Entries() const { return entries_; }
  // Entry i as the designer reads it: "Order Handling v2" (name, " v" version).
  std::string EntryText(std::size_t index) const;
  // The menu text of entry i: "&1 Order Handling v2" (1-based accelerator, then
  // EntryText); an '&' in the name is doubled so it shows as itself.
  std::string MenuText(std::size_t index) const;

 private:
  std::vector<RecentWorkflow> entries_;
};

}  // namespace velk
