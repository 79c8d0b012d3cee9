#pragma once
// The windows' side of the modeler in one place: the document templates, the
// editor, the workflow windows and their recovery copies, the command objects,
// the find bar and the overview dock. The application makes it right after its
// main frame, since every window and command hangs off that frame; what outlives
// the windows comes in as `ShellBase`.

#include <QPointer>

#include "app/ui/bpmncommands.h"
#include "app/ui/doctemplate.h"
#include "app/ui/extdirhost.h"
#include "app/ui/filecommands.h"
#include "app/ui/helpcommands.h"
#include "app/ui/recoverywriter.h"
#include "app/ui/settingscommands.h"
#include "app/ui/shellcollaborators.h"
#include "app/ui/subworkflowcommands.h"
#include "app/ui/versioncommands.h"
#include "app/ui/workflowopener.h"
#include "app/ui/workflowwindows.h"
#include "editor/ui/editor.h"

class CGuiServices;
class CSplashWnd;

namespace velk {
class NodeClipboard;
}  // namespace velk

struct ShellBase {
  CMainFrame& frame;
  CGuiServices& services;
  velk::ModelerSettings& settings;
  velk::SettingsBackend& store;
  LNNotesSession& session;
  velk::DatabaseCache& cache;
  velk::WorkflowSaver& saver;
  velk::RecoveryFolder& recovery;
  velk::RecentWorkflowList& recent;
  const CNodeBitmaps& bitmaps;
  velk::NodeClipboard& clipboard;
  QPrinter& printer;
  QPointer<CSplashWnd>& splash;
  const ShellCollaborators& parts;
};

class CModelerShell {
 public:
  // Makes the graph in the order of the members below and fills the frame's
  // command table.
  explicit CModelerShell(const ShellBase& base);
  CModelerShell(const CModelerShell&) = delete;
  CModelerShell& operator=(const CModelerShell&) = delete;

  // Offers each workflow a modeler that ended without saving left a copy of.
  void OfferRecoveredWorkflows();

  CDocTemplate workflowTemplate;
  CDocTemplate extDirTemplate;
  CEditor editor;
  CWorkflowWindows windows;
  CRecoveryWriter recoveryWriter;
  CSettingsCommands settingsCommands;
  CWorkflowOpener opener;
  CFileCommands files;
  CHelpCommands help;
  CSubWorkflowCommands subWorkflows;
  CExtDirHosting externalDirectory;
  CVersionCommands versions;
  CBpmnCommands bpmn;

 private:
  EditorCollaborators EditorParts(const ShellBase& base);
  CVersionCommands::Parts VersionParts(velk::DatabaseCache& cache);
  CBpmnCommands::Parts BpmnParts();
  // The top document of the active workflow window, or null.
  velk::CWorkflowDoc* ActiveWorkflow() const;
  void ConnectWindows();
  void RegisterCommands();

  CMainFrame& frame_;
  velk::RecoveryFolder& recovery_;
};
