#pragma once
// The application object: the one owner of everything that outlives a window
// (settings, Notes session, document templates, node bitmaps, internal
// clipboard, clipboard formats, status line service) and the start-up sequence.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/settings.h"
#include "app/ui/guiservices.h"
#include "app/ui/mainframe.h"
#include "app/ui/nodebitmaps.h"
#include "app/ui/shellhooks.h"
#include "model/nodeclipboard.h"
#include "repository/store/lnsession.h"

class CChildFrame;
class CDocTemplate;
class CSplashWnd;
class QPrinter;

namespace velk {
class DatabaseCache;
class QSettingsBackend;
}  // namespace velk

class CVelkModApp : public QObject {
  Q_OBJECT
 public:
  struct Options {
    std::string settingsFile;  // INI file; empty: VELK_SETTINGS, else the user's settings
    bool showSplash = true;
    bool showMainWindow = true;
    // Runs before start-up; lets tests replace hooks such as initSession.
    std::function<void(CVelkModApp&)> beforeStart;
  };

  explicit CVelkModApp(Options options);
  ~CVelkModApp() override;
  CVelkModApp(const CVelkModApp&) = delete;
  CVelkModApp& operator=(const CVelkModApp&) = delete;

  // The running application object; nullptr outside its lifetime.
  static CVelkModApp* Instance();

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
  QStringList RecentFiles() const { return recentFiles_; }

  LNNotesSession& Session() { return session_; }
  // Node picture tables A (unselected) and B (selected), loaded at start-up.
  const CNodeBitmaps& NodeBitmaps() const { return nodeBitmaps_; }
  // The printer chosen in "Print Setup", shared by every print of the session.
  QPrinter& Printer();
  // Copied nodes and arrows, shared by all workflow windows.
  velk::NodeClipboard& InternalClipboard() { return clipboard_; }
  ShellHooks& Hooks() { return hooks_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  QToolBar* ToolBar(CMainFrame::Bar bar) const;
  CSplashWnd* Splash() const;

  // Writes the first status pane and repaints it at once; "" restores the prompt.
  void ShowStatusText(const QString& text);

  CDocTemplate& WorkflowTemplate() { return *workflowTemplate_; }
  CDocTemplate& ExtDirTemplate() { return *extDirTemplate_; }
  // The template with this document name ("Workflow", "ExtDirMan"), or nullptr.
  CDocTemplate* FindTemplate(const QString& docName) const;
  // Opens a workflow window on `doc` (may be null while no model is attached).
  CChildFrame* OpenWorkflowWindow(std::shared_ptr<CWorkflowDoc> doc);

  // Clipboard format MIME types in registration order; empty before start-up
  // step 11.
  const QStringList& ClipboardFormats() const { return clipFormats_; }

  // Commands of the application.
  void OnFileNew();
  void OnFileOpen();
  void OnAppAbout();
  void OnFilePrintSetup();
  void OnExternalDirectory();
  void OnSettings();
  // "&Workflow Settings" of the active workflow window.
  void OnWorkflowSettings();

 private:
  bool InitSession();
  void LoadNodeBitmaps();
  void FreeNodeBitmaps();
  void ClearInternalClipboard();
  void InstallDefaultHooks();
  // The settings sheets, the database cache and the initialisation of databases.
  void InstallSettingsHooks();
  void InstallDatabaseCache();
  void RegisterTemplates();
  void RegisterCommands();
  void ShowSplash(bool autoClose);
  bool DefaultDatabasesValid();
  void LoadRecentFiles();

  static CVelkModApp* instance_;
  Options options_;
  std::unique_ptr<velk::QSettingsBackend> store_;
  velk::ModelerSettings settings_;
  LNNotesSession session_;
  std::unique_ptr<velk::DatabaseCache> cache_;  // once the session is up
  velk::NodeClipboard clipboard_;
  CNodeBitmaps nodeBitmaps_;
  ShellHooks hooks_;
  CGuiServices services_;
  std::unique_ptr<CDocTemplate> workflowTemplate_;
  std::unique_ptr<CDocTemplate> extDirTemplate_;
  std::unique_ptr<CMainFrame> frame_;
  QPointer<CSplashWnd> splash_;
  QStringList clipFormats_;
  QStringList recentFiles_;
  std::unique_ptr<QPrinter> printer_;
};

// The status line of the running application (no-op without one).
void ShowStatusText(const QString& text);

// Runs the modeler: start-up, event loop, exit. Returns the process exit code;
// non-zero when start-up failed.
int RunVelkMod(const CVelkModApp::Options& options);
