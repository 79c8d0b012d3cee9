#pragma once
// "Import BPMN..." and "Export as BPMN...": processes of other tools as new
// workflows, and a workflow for them.

#include <functional>
#include <memory>

class CMainFrame;

namespace velk {
class CWorkflowDoc;
class Services;
}  // namespace velk

class CBpmnCommands {
 public:
  struct Parts {
    // Whether the default databases allow a new workflow (says why not).
    std::function<bool()> defaultDatabasesValid;
    // An empty top-level workflow holding the default databases.
    std::function<std::shared_ptr<velk::CWorkflowDoc>()> newWorkflow;
    // Opens a window on a workflow read from a file, with the default databases;
    // not stored yet, it is marked modified.
    std::function<void(std::shared_ptr<velk::CWorkflowDoc>)> openImported;
    // The top document of the active workflow window, or null.
    std::function<velk::CWorkflowDoc*()> activeWorkflow;
  };

  CBpmnCommands(CMainFrame& frame, velk::Services& services, Parts parts);

  // The imported workflow opens in a window of its own, not yet stored: it is
  // modified, so closing it asks whether to save it.
  void Import();
  void Export();

 private:
  CMainFrame& frame_;
  velk::Services& services_;
  Parts parts_;
};
