#pragma once
// "Find in Repository": the names, performers and forms of every workflow
// version a Process Definitions Database stores, read once through its header
// and structure views, then searched without regard to case as the designer
// types.

#include <string>
#include <string_view>
#include <vector>

#include "model/workflowfind.h"

class LNDatabase;

namespace velk {

class Services;

// One stored version as its header names it.
struct StoredWorkflow {
  std::string workflowId;
  std::string name;
  int version = 0;
  int status = 0;
};

struct RepositoryHit {
  std::size_t workflow = 0;  // index into Workflows()
  std::string task;          // "" when the workflow's name matched
  FoundIn in = FoundIn::Name;
};

class RepositoryFindIndex {
 public:
  // Reads the open database; store failures throw LNStatusError. A task whose
  // version no header names is left out, as loading leaves it out.
  // A field that cannot be read is shown through `services` and left empty.
  RepositoryFindIndex(Services& services, LNDatabase& procdef);

  const std::vector<StoredWorkflow>& Workflows() const { return workflows_; }
  // Hits by workflow in header order; none for an empty text.
  std::vector<RepositoryHit> Find(std::string_view text) const;
  // "Order Handling v2 (Active): task 'Pack parcel' (performer)";
  // "Order Handling v2 (Active) (name)" for the workflow itself.
  std::string Describe(const RepositoryHit& hit) const;

 private:
  struct Entry {
    std::string folded;
    RepositoryHit hit;
  };
  void Add(std::string_view text, RepositoryHit hit);
  void ReadHeaders(Services& services, LNDatabase& procdef);
  void ReadTasks(Services& services, LNDatabase& procdef);

  std::vector<StoredWorkflow> workflows_;
  std::vector<Entry> entries_;
};

}  // namespace velk
