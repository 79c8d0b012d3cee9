#pragma once
// The application object: the one owner of everything that outlives a window
// (settings, Notes session, document templates, node bitmaps, internal
// clipboard, clipboard formats, status line service) and the start-up sequence.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/recentfiles.h"
#include "app/settings.h"
#include "app/ui/findbar.h"
#include "app/ui/guiservices.h"
#include "app/ui/mainframe.h"
#include "app/ui/nodebitmaps.h"
#include "app/ui/shellcollaborators.h"
#include "model/nodeclipboard.h"
#include "repository/store/lnsession.h"

class CChildFrame;
class CDocTemplate;
class CSplashWnd;
class CRecoveryWriter;
class CBpmnCommands;
class CVersionCommands;
class CWorkflowWindows;
struct ExtDirViewHost;
class QMenu;
class QPrinter;

namespace velk {
class CNode;
class CWorkflowDoc;
class DatabaseCache;
class RecoveryFolder;
class WorkflowSaver;
struct EidmOrigin;
class QSettingsBackend;
}  // namespace velk
using velk::CWorkflowDoc;

class CVelkModApp : public QObject {
  Q_OBJECT
 public:
  struct Options {
    std::string settingsFile;  // INI file; empty: VELK_SETTINGS, else the user's settings
    bool showSplash = true;
    bool showMainWindow = true;
  };

  // What outlives every window besides the application's own parts, made by the
  // composition root before start-up: the services every part reports through,
  // the settings (read at start-up), the Notes session, the database cache, the
  // one saver of workflows and the folder of recovery copies.
  struct Core {
    std::unique_ptr<CGuiServices> services;
    std::unique_ptr<velk::ModelerSettings> settings;
    std::unique_ptr<LNNotesSession> session;
    std::unique_ptr<velk::DatabaseCache> cache;
    std::unique_ptr<velk::WorkflowSaver> saver;
    std::unique_ptr<velk::RecoveryFolder> recovery;
  };

  // Ends the program with a message when a collaborator is missing.
  CVelkModApp(Options options, ShellCollaborators parts, Core core);
  ~CVelkModApp() override;
  CVelkModApp(const CVelkModApp&) = delete;
  CVelkModApp& operator=(const CVelkModApp&) = delete;

  // Start-up in its fixed order; false means the program ends.
  bool InitInstance();
  // Frees the node bitmaps and the internal clipboard; returns `exitCode`.
  int ExitInstance(int exitCode = 0);

  // Settings of "Default Settings", read at start-up. The settings sheet changes
  // them here and calls SaveSettings.
  velk::ModelerSettings& Settings() { return settings_; }
  bool SaveSettings();
  velk::SettingsBackend& SettingsStore();
  // The settings file in use.
  QString SettingsFileName() const;
  const velk::RecentWorkflowList& RecentWorkflows() const { return recent_; }

  LNNotesSession& Session() { return session_; }
  // What every part of this modeler reports through.
  CGuiServices& UserInterface() const { return services_; }
  // Node picture tables A (unselected) and B (selected), loaded at start-up.
  const CNodeBitmaps& NodeBitmaps() const { return nodeBitmaps_; }
  // The printer chosen in "Print Setup", shared by every print of the session.
  QPrinter& Printer();
  // Copied nodes and arrows, shared by all workflow windows.
  velk::NodeClipboard& InternalClipboard() { return clipboard_; }
  CEditor& Editor() { return *editor_; }
  CWorkflowWindows& WorkflowWindows() { return *windows_; }
  CRecoveryWriter& RecoveryWriter() { return *recoveryWriter_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  QToolBar* ToolBar(CMainFrame::Bar bar) const;
  CSplashWnd* Splash() const;

  // Writes the first status pane and repaints it at once; "" restores the prompt.
  void ShowStatusText(const QString& text);

  CDocTemplate& WorkflowTemplate() { return *workflowTemplate_; }
  CDocTemplate& ExtDirTemplate() { return *extDirTemplate_; }
  // The template with this document name ("Workflow", "ExtDirMan"), or nullptr.
  CDocTemplate* FindTemplate(const QString& docName) const;
  // Opens a workflow window on the top document `doc`.
  CChildFrame* OpenWorkflowWindow(std::shared_ptr<CWorkflowDoc> doc);

  // Clipboard format MIME types in registration order; empty before start-up
  // step 11.
  const QStringList& ClipboardFormats() const { return clipFormats_; }

  // Commands of the application.
  void OnFileNew();
  void OnFileOpen();
  // Opens entry `index` of the recent list; an entry whose workflow is gone is
  // removed with a message.
  void OnOpenRecent(std::size_t index);
  void OnAppAbout();
  void OnFilePrintSetup();
  void OnExternalDirectory();
  void OnSettings();
  // "&Workflow Settings" of the active workflow window.
  void OnWorkflowSettings();
  // "Open Sub-Workflow" on an ICDR or CDDR task of `from`: shows its sub-workflow's
  // window, loads the sub-workflow, or offers to create it.
  void OpenSubWorkflow(CWorkflowDoc& from, velk::CNode& node);

 private:
  bool InitSession();
  void LoadNodeBitmaps();
  void FreeNodeBitmaps();
  void ClearInternalClipboard();
  // "Modeler Settings"; true on OK.
  bool RunSettingsSheet();
  void InitializeDefaultDatabases();
  void InitializeDatabases(CWorkflowDoc& doc);
  // A new top-level workflow holding the default databases.
  std::shared_ptr<CWorkflowDoc> NewWorkflowDocument();
  // Opens a window and loads the stored version into it; false when loading failed.
  bool OpenStoredWorkflow(const velk::WorkflowHeaderEntry& header);
  void RememberWorkflow(const CWorkflowDoc& doc);
  // Offers each workflow a modeler that ended without saving left a copy of.
  void OfferRecoveredWorkflows();
  // Opens the window of a workflow restored from a recovery copy.
  void RestoreWorkflow(std::shared_ptr<CWorkflowDoc> doc);
  // "Version History..." and "Compare with Stored Version" with their commands
  // (app/ui/versioncommands.h).
  void CreateVersionCommands();
  // "Import BPMN..." and "Export as BPMN..." with their commands
  // (app/ui/bpmncommands.h).
  void CreateBpmnCommands();
  void CreateSubWorkflow(CWorkflowDoc& from, velk::CNode& node);
  void LoadSubWorkflow(CWorkflowDoc& from, velk::CNode& node);
  void FillRecentMenu(QMenu& menu);
  void RegisterTemplates();
  void RegisterCommands();
  void ShowSplash(bool autoClose);
  bool DefaultDatabasesValid();
  // The External Directory window (app/ui/extdirhost.cpp).
  CMdiChild* NewExtDirFrame();
  ExtDirViewHost ExtDirHost();
  velk::EidmOrigin EidmOriginOf(const velk::CNode& task);
  // What "Find in Repository" reads and opens (app/ui/findinrepository.cpp).
  CFindBar::Repository FindInRepository();
  // Leafs published from the closing workflow's tasks forget them.
  void ReleasePublishedTasks(const CWorkflowDoc& closing);

  Options options_;
  Core core_;  // goes last: every window refers to it
  std::unique_ptr<velk::QSettingsBackend> store_;
  velk::ModelerSettings& settings_;
  LNNotesSession& session_;
  velk::DatabaseCache& cache_;
  velk::WorkflowSaver& saver_;
  velk::RecoveryFolder& recovery_;
  velk::NodeClipboard clipboard_;
  CNodeBitmaps nodeBitmaps_;
  ShellCollaborators parts_;
  CGuiServices& services_;
  std::unique_ptr<CDocTemplate> workflowTemplate_;
  std::unique_ptr<CDocTemplate> extDirTemplate_;
  std::unique_ptr<CMainFrame> frame_;
  QPointer<CSplashWnd> splash_;
  QStringList clipFormats_;
  velk::RecentWorkflowList recent_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<CEditor> editor_;
  std::unique_ptr<CWorkflowWindows> windows_;
  std::unique_ptr<CRecoveryWriter> recoveryWriter_;
  std::unique_ptr<CVersionCommands> versions_;
  std::unique_ptr<CBpmnCommands> bpmn_;
};

