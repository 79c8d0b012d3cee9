#pragma once
// "&New", "&Open...", the recent workflows of the File menu and the start panel,
// and "Print Set&up...".

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "app/recentfiles.h"
#include "app/ui/startpanel.h"

class CMainFrame;
class CSettingsCommands;
class CWorkflowOpener;
class QMenu;
class QPrinter;

namespace velk {
class CProcessDefDb;
class DatabaseCache;
class Services;
class SettingsBackend;
struct ModelerSettings;
struct WorkflowHeaderEntry;
}  // namespace velk

class CFileCommands {
 public:
  // "Load workflow": the stored version chosen, or nothing on Cancel.
  using ChooseWorkflow = std::function<std::optional<velk::WorkflowHeaderEntry>(
      velk::CProcessDefDb&, QWidget* parent)>;

  CFileCommands(CMainFrame& frame, velk::Services& services, const velk::ModelerSettings& settings,
                velk::DatabaseCache& cache, CSettingsCommands& settingsCommands,
                CWorkflowOpener& opener, velk::RecentWorkflowList& recent,
                velk::SettingsBackend& store, ChooseWorkflow chooseWorkflow, QPrinter& printer);

  void New();
  void Open();
  // Opens entry `index` of the recent list; an entry whose workflow is gone is
  // removed with a message.
  void OpenRecent(std::size_t index);
  void FillRecentMenu(QMenu& menu);
  std::vector<CStartPanel::Link> RecentLinks();
  void PrintSetup();

 private:
  CMainFrame& frame_;
  velk::Services& services_;
  const velk::ModelerSettings& settings_;
  velk::DatabaseCache& cache_;
  CSettingsCommands& settingsCommands_;
  CWorkflowOpener& opener_;
  velk::RecentWorkflowList& recent_;
  velk::SettingsBackend& store_;
  ChooseWorkflow chooseWorkflow_;
  QPrinter& printer_;
};
