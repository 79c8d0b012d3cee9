#pragma once
// "Modeler Settings", "&Workflow Settings" of the active workflow window, and the
// check of the default databases every command that opens a workflow makes
// first, which may open "Modeler Settings" itself.

class CEditor;
class CMainFrame;
class CWorkflowWindows;
class LNNotesSession;

namespace velk {
class DatabaseCache;
class Services;
class SettingsBackend;
struct ModelerSettings;
}  // namespace velk

class CSettingsCommands {
 public:
  CSettingsCommands(CMainFrame& frame, velk::Services& services, velk::ModelerSettings& settings,
                    velk::SettingsBackend& store, LNNotesSession& session,
                    velk::DatabaseCache& cache, CEditor& editor, CWorkflowWindows& windows);

  // "Modeler Settings"; on OK the default databases are initialised again.
  void ModelerSettings();
  void WorkflowSettings();
  // Whether the default databases are right, offering "Modeler Settings" when
  // they are not; says why on false.
  bool DefaultDatabasesValid();

 private:
  // "Modeler Settings"; true on OK.
  bool RunSettingsSheet();
  void InitializeDefaultDatabases();

  CMainFrame& frame_;
  velk::Services& services_;
  velk::ModelerSettings& settings_;
  velk::SettingsBackend& store_;
  LNNotesSession& session_;
  velk::DatabaseCache& cache_;
  CEditor& editor_;
  CWorkflowWindows& windows_;
};
