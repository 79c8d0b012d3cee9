#pragma once
// The External Directory window as the modeler hosts it: "External Directory"
// opens it over the first directory data set, or shows the open one; its
// requests and drops reach the workflow windows through here.

struct ExtDirViewHost;
class CDocTemplate;
class CEditor;
class CMainFrame;
class CMdiChild;
class CSettingsCommands;
class CWorkflowOpener;
class CWorkflowWindows;

namespace velk {
class CNode;
class CWorkflowDoc;
class DatabaseCache;
class Services;
class WorkflowSaver;
struct EidmOrigin;
struct ModelerSettings;
}  // namespace velk

class CExtDirHosting {
 public:
  // `extDirTemplate` keeps the open External Directory window.
  CExtDirHosting(CMainFrame& frame, CDocTemplate& extDirTemplate, velk::Services& services,
                 const velk::ModelerSettings& settings, velk::DatabaseCache& cache,
                 velk::WorkflowSaver& saver, CWorkflowWindows& windows, CEditor& editor,
                 CSettingsCommands& settingsCommands, CWorkflowOpener& opener);

  // "External Directory".
  void ShowExternalDirectory();
  // A new External Directory window; nullptr when its data set could not be loaded.
  CMdiChild* NewFrame();
  // Leafs published from the closing workflow's tasks forget them.
  void ReleasePublishedTasks(const velk::CWorkflowDoc& closing);

 private:
  ExtDirViewHost Host();
  velk::EidmOrigin OriginOf(const velk::CNode& task);

  CMainFrame& frame_;
  CDocTemplate& template_;
  velk::Services& services_;
  const velk::ModelerSettings& settings_;
  velk::DatabaseCache& cache_;
  velk::WorkflowSaver& saver_;
  CWorkflowWindows& windows_;
  CEditor& editor_;
  CSettingsCommands& settingsCommands_;
  CWorkflowOpener& opener_;
};
