#pragma once
// "Open Sub-Workflow" on an ICDR or CDDR task: the window of its sub-workflow,
// shown when open, else loaded, else offered to be created.

class CEditor;
class CSettingsCommands;
class CWorkflowOpener;
class CWorkflowWindows;
class LNNotesSession;

namespace velk {
class CNode;
class CWorkflowDoc;
class DatabaseCache;
class Services;
class WorkflowSaver;
struct ModelerSettings;
}  // namespace velk

class CSubWorkflowCommands {
 public:
  CSubWorkflowCommands(velk::Services& services, LNNotesSession& session,
                       const velk::ModelerSettings& settings, velk::DatabaseCache& cache,
                       velk::WorkflowSaver& saver, CWorkflowWindows& windows, CEditor& editor,
                       CSettingsCommands& settingsCommands, CWorkflowOpener& opener);

  // The sub-workflow of the task `node` of `from`.
  void OpenSubWorkflow(velk::CWorkflowDoc& from, velk::CNode& node);

 private:
  void CreateSubWorkflow(velk::CWorkflowDoc& from, velk::CNode& node);
  void LoadSubWorkflow(velk::CWorkflowDoc& from, velk::CNode& node);

  velk::Services& services_;
  LNNotesSession& session_;
  const velk::ModelerSettings& settings_;
  velk::DatabaseCache& cache_;
  velk::WorkflowSaver& saver_;
  CWorkflowWindows& windows_;
  CEditor& editor_;
  CSettingsCommands& settingsCommands_;
  CWorkflowOpener& opener_;
};
