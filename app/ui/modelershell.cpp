#include "app/ui/modelershell.h"

#include "app/ui/findbar.h"
#include "app/ui/findinrepository.h"
#include "app/ui/guiservices.h"
#include "app/ui/mainframe.h"
#include "app/ui/overviewdock.h"
#include "app/ui/workflowframe.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "repository/databasecache.h"
#include "repository/processdefdb.h"

namespace {
constexpr int kWorkflowResource = 129;
constexpr int kExtDirResource = 190;
}  // namespace

CModelerShell::CModelerShell(const ShellBase& base)
    // Workflow windows are opened with their document (CWorkflowWindows), so the
    // workflow template makes none on its own.
    : workflowTemplate(kWorkflowResource, QStringLiteral("Workflow"), nullptr),
      extDirTemplate(kExtDirResource, QStringLiteral("ExtDirMan"),
                     [this]() -> CMdiChild* { return externalDirectory.NewFrame(); }),
      editor(base.services, EditorParts(base), base.settings, base.bitmaps, base.clipboard,
             base.printer),
      windows(
          base.frame, workflowTemplate, editor,
          [choose = base.parts.chooseSaveName, &frame = base.frame](velk::CWorkflowDoc& doc) {
            return choose(doc, &frame);
          },
          base.saver),
      recoveryWriter(windows, base.recovery),
      settingsCommands(base.frame, base.services, base.settings, base.store, base.session,
                       base.cache, editor, windows),
      opener(base.services, base.session, base.settings, base.cache, windows, editor, base.recent,
             base.store),
      files(base.frame, base.services, base.settings, base.cache, settingsCommands, opener,
            base.recent, base.store, base.parts.chooseWorkflow, base.printer),
      help(base.frame, base.splash, base.parts.showHelp),
      subWorkflows(base.services, base.session, base.settings, base.cache, base.saver, windows,
                   editor, settingsCommands, opener),
      externalDirectory(base.frame, extDirTemplate, base.services, base.settings, base.cache,
                        base.saver, windows, editor, settingsCommands, opener),
      versions(base.frame, base.services, base.bitmaps, VersionParts(base.cache)),
      bpmn(base.frame, base.services, BpmnParts()),
      frame_(base.frame),
      recovery_(base.recovery) {
  ConnectWindows();
  RegisterCommands();
  // Both belong to the frame, which deletes them before the windows go.
  new CFindBar(frame_, windows,
               FindInRepository(base.services, base.session, base.settings, base.cache, opener));
  new COverviewDock(frame_);
}

void CModelerShell::OfferRecoveredWorkflows() {
  opener.OfferRecovered(recovery_, recoveryWriter);
}

EditorCollaborators CModelerShell::EditorParts(const ShellBase& base) {
  EditorCollaborators parts = base.parts.editor;
  parts.openClusterWindow = [this](velk::CWorkflowDoc& doc, velk::CNode& node) {
    if (node.IsClusterNode())
      windows.OpenClusterWindow(doc, node);
    else
      subWorkflows.OpenSubWorkflow(doc, node);
  };
  CMainFrame& frame = base.frame;
  parts.commandStateChanged = [&frame] { frame.RequestCommandUpdate(); };
  return parts;
}

CVersionCommands::Parts CModelerShell::VersionParts(velk::DatabaseCache& cache) {
  CVersionCommands::Parts parts;
  parts.activeWorkflow = [this] { return ActiveWorkflow(); };
  parts.repositoryOf = [&cache](velk::CWorkflowDoc& doc) {
    return cache.FindOrLoad<velk::CProcessDefDb>(doc.Databases().processDefinitions.location);
  };
  parts.loadVersion = [this](const velk::WorkflowHeaderEntry& header) {
    return opener.LoadVersion(header);
  };
  return parts;
}

CBpmnCommands::Parts CModelerShell::BpmnParts() {
  CBpmnCommands::Parts parts;
  parts.defaultDatabasesValid = [this] { return settingsCommands.DefaultDatabasesValid(); };
  parts.newWorkflow = [this] { return opener.NewDocument(); };
  parts.openImported = [this](std::shared_ptr<velk::CWorkflowDoc> doc) {
    opener.OpenWindow(doc);
    doc->Session().SetModified();
    editor.UpdateAllViews(*doc);
  };
  parts.activeWorkflow = [this] { return ActiveWorkflow(); };
  return parts;
}

velk::CWorkflowDoc* CModelerShell::ActiveWorkflow() const {
  CChildFrame* window = windows.ActiveWindow();
  return window && window->GetDocument() ? &window->GetDocument()->Top() : nullptr;
}

void CModelerShell::ConnectWindows() {
  QObject::connect(&windows, &CWorkflowWindows::workflowStored, &recoveryWriter,
                   [this](const velk::CWorkflowDoc& doc) {
                     opener.Remember(doc);
                     recoveryWriter.Forget(doc);
                   });
  QObject::connect(&windows, &CWorkflowWindows::workflowClosing, &recoveryWriter,
                   &CRecoveryWriter::Forget);
  QObject::connect(
      &windows, &CWorkflowWindows::workflowClosing, &recoveryWriter,
      [this](const velk::CWorkflowDoc& doc) { externalDirectory.ReleasePublishedTasks(doc); });
}

void CModelerShell::RegisterCommands() {
  CMainFrame& f = frame_;
  auto workflowActive = [this](CmdUI& ui) { ui.enabled = windows.ActiveWindow() != nullptr; };
  f.SetCommandHandler(cmd::FileNew, [this] { files.New(); });
  f.SetCommandHandler(cmd::FileOpen, [this] { files.Open(); });
  f.SetCommandHandler(
      cmd::FileSave, [this] { windows.SaveActive(false); }, workflowActive);
  f.SetCommandHandler(
      cmd::FileSaveAs, [this] { windows.SaveActive(true); }, workflowActive);
  f.SetCommandHandler(cmd::FileImportBpmn, [this] { bpmn.Import(); });
  f.SetCommandHandler(
      cmd::FileExportBpmn, [this] { bpmn.Export(); }, workflowActive);
  f.SetCommandHandler(cmd::FilePrintSetup, [this] { files.PrintSetup(); });
  f.SetRecentList([this](QMenu& menu) { files.FillRecentMenu(menu); });
  f.SetRecentLinks([this] { return files.RecentLinks(); });
  f.SetCommandHandler(
      cmd::VersionHistory, [this] { versions.ShowHistory(); }, workflowActive);
  f.SetCommandHandler(
      cmd::CompareStoredVersion, [this] { versions.CompareWithStored(); }, workflowActive);
  f.SetCommandHandler(cmd::AppAbout, [this] { help.About(); });
  f.SetCommandHandler(cmd::HelpTopics, [this] { help.HelpTopics(); });
  f.SetCommandHandler(cmd::Settings, [this] { settingsCommands.ModelerSettings(); });
  f.SetCommandHandler(
      cmd::WorkflowSettings, [this] { settingsCommands.WorkflowSettings(); }, workflowActive);
  f.SetCommandHandler(cmd::ExternalDirectory,
                      [this] { externalDirectory.ShowExternalDirectory(); });
  f.SetCommandHandler(
      cmd::ConsistencyCheck, [this] { windows.CheckActive(); }, workflowActive);
}
