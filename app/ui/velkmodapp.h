#pragma once
// The application object: the one owner of everything that outlives a window
// (settings, Notes session, node bitmaps, internal clipboard, recent workflows,
// printer, main frame, the windows' side of the modeler) and the start-up
// sequence.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

#include "app/recentfiles.h"
#include "app/settings.h"
#include "app/ui/guiservices.h"
#include "app/ui/mainframe.h"
#include "app/ui/nodebitmaps.h"
#include "app/ui/shellcollaborators.h"
#include "model/nodeclipboard.h"
#include "repository/store/lnsession.h"

class CModelerShell;
class CSplashWnd;
class QPrinter;

namespace velk {
class DatabaseCache;
class RecoveryFolder;
class WorkflowSaver;
class QSettingsBackend;
}  // namespace velk

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

  // Settings of "Default Settings", read at start-up.
  velk::ModelerSettings& Settings() { return settings_; }
  // The settings file in use.
  QString SettingsFileName() const;
  const velk::RecentWorkflowList& RecentWorkflows() const { return recent_; }

  LNNotesSession& Session() { return session_; }
  // What every part of this modeler reports through.
  CGuiServices& UserInterface() const { return services_; }
  // Copied nodes and arrows, shared by all workflow windows.
  velk::NodeClipboard& InternalClipboard() { return clipboard_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  // The windows, their commands and the editor, made once the frame exists.
  CModelerShell& Shell() { return *shell_; }
  CSplashWnd* Splash() const;

  // Writes the first status pane and repaints it at once; "" restores the prompt.
  void ShowStatusText(const QString& text);

  // Clipboard format MIME types in registration order; empty before start-up
  // step 11.
  const QStringList& ClipboardFormats() const { return clipFormats_; }

 private:
  bool InitSession();
  void ShowSplash();

  Options options_;
  Core core_;  // goes last: every window refers to it
  std::unique_ptr<velk::QSettingsBackend> store_;
  velk::ModelerSettings& settings_;
  LNNotesSession& session_;
  velk::NodeClipboard clipboard_;
  CNodeBitmaps nodeBitmaps_;
  ShellCollaborators parts_;
  CGuiServices& services_;
  std::unique_ptr<CMainFrame> frame_;
  QPointer<CSplashWnd> splash_;
  QStringList clipFormats_;
  velk::RecentWorkflowList recent_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<CModelerShell> shell_;
};
