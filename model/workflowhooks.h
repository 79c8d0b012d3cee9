#pragma once
// Where saving and loading reach work that lives in other parts of the program:
// the consistency check, the "Save Workflow as" chooser and the External
// Directory. Each part installs its function when it is there; an empty function
// means the part is missing and the step is left out as described below.

#include <functional>
#include <string>

namespace velk {

class CWorkflowDoc;

struct WorkflowHooks {
  // Must pass before a save writes anything; it shows its own messages. Unset:
  // every workflow passes.
  std::function<bool(CWorkflowDoc&)> consistencyCheck;
  // "Save Workflow as": lets the designer name the workflow; false on Cancel.
  // Unset: the workflow keeps its name, as if OK had been pressed at once.
  std::function<bool(CWorkflowDoc&)> chooseSaveName;
  // After a save has stored an In Task with a GRI id: the IRI leaf of that GRI id
  // records the workflow. Unset: nothing is recorded.
  std::function<void(const std::string& griId, const std::string& workflowId)> publishInTask;
  // While loading an external subscribed workflow with a GRI id: the name of the
  // organisation the leaf names, or empty when the leaf or the organisation is
  // unknown. Unset: the member stays as stored.
  std::function<std::string(const std::string& griId)> organisationOfLeaf;
};

// The program's hooks.
WorkflowHooks& workflowHooks();

// Installs hooks for the lifetime of a scope and restores the previous ones (tests).
class ScopedWorkflowHooks {
 public:
  explicit ScopedWorkflowHooks(WorkflowHooks hooks) : previous_(workflowHooks()) {
    workflowHooks() = std::move(hooks);
  }
  ~ScopedWorkflowHooks() { workflowHooks() = std::move(previous_); }
  ScopedWorkflowHooks(const ScopedWorkflowHooks&) = delete;
  ScopedWorkflowHooks& operator=(const ScopedWorkflowHooks&) = delete;

 private:
  WorkflowHooks previous_;
};

}  // namespace velk
