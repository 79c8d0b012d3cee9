#include "app/ui/velkmodapp.h"

#include <QApplication>
#include <QPrinter>
#include <QToolBar>

#include "app/qsettings/qsettingsbackend.h"
#include "app/ui/bpmncommands.h"
#include "app/ui/clipboardformats.h"
#include "app/ui/doctemplate.h"
#include "app/ui/extdirframe.h"
#include "app/ui/overviewdock.h"
#include "app/ui/recoverywriter.h"
#include "app/ui/splashwnd.h"
#include "app/ui/statusline.h"
#include "app/ui/workflowframe.h"
#include "app/ui/versioncommands.h"
#include "app/ui/workflowwindows.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "model/workflowdoc.h"
#include "model/workflowrecovery.h"
#include "model/workflowsaver.h"
#include "repository/databasecache.h"
#include "repository/databasevalidation.h"
#include "repository/noteserror.h"
#include "repository/store/lnstatus.h"

namespace {

constexpr const char* kSessionFailure = "Can not initialize Notes Session...\nModeler terminating!";

// Restores the cursor on every way out of start-up.
struct StartupCursor {
  StartupCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~StartupCursor() { restore(); }
  void restore() {
    if (active) QApplication::restoreOverrideCursor();
    active = false;
  }
  bool active = true;
};

}  // namespace

CVelkModApp::CVelkModApp(Options options, ShellCollaborators parts, Core core)
    : options_(std::move(options)),
      core_(std::move(core)),
      settings_(*core_.settings),
      session_(*core_.session),
      cache_(*core_.cache),
      saver_(*core_.saver),
      recovery_(*core_.recovery),
      parts_(std::move(parts)),
      services_(*core_.services) {
  Q_INIT_RESOURCE(shell);
  using velk::RequireCollaborator;
  RequireCollaborator(parts_.initSession, "Notes session");
  RequireCollaborator(parts_.chooseWorkflow, "Load workflow dialog");
  RequireCollaborator(parts_.chooseSaveName, "Save Workflow as dialog");
  RequireCollaborator(parts_.showHelp, "help window");
}

CVelkModApp::~CVelkModApp() {
  if (splash_) delete splash_.data();
  frame_.reset();
  recoveryWriter_.reset();
  windows_.reset();
  editor_.reset();
}

CSplashWnd* CVelkModApp::Splash() const {
  return splash_;
}

bool CVelkModApp::InitInstance() {
  StartupCursor cursor;
  if (options_.showSplash) ShowSplash(true);

  store_ = velk::OpenSettingsBackend(options_.settingsFile);
  recent_.Load(*store_);
  settings_.load(*store_);
  RegisterTemplates();

  frame_ = std::make_unique<CMainFrame>(services_.infoCenter(), *store_);
  if (!frame_->Create()) return false;
  services_.SetFrame(frame_.get());
  EditorCollaborators editorParts = parts_.editor;
  editorParts.openClusterWindow = [this](CWorkflowDoc& doc, velk::CNode& node) {
    if (node.IsClusterNode())
      windows_->OpenClusterWindow(doc, node);
    else
      OpenSubWorkflow(doc, node);
  };
  editorParts.commandStateChanged = [this] { frame_->RequestCommandUpdate(); };
  editor_ = std::make_unique<CEditor>(services_, std::move(editorParts), settings_, nodeBitmaps_,
                                      clipboard_, Printer());
  windows_ = std::make_unique<CWorkflowWindows>(
      *frame_, *workflowTemplate_, *editor_,
      [this](CWorkflowDoc& doc) { return parts_.chooseSaveName(doc, frame_.get()); }, saver_);
  recoveryWriter_ = std::make_unique<CRecoveryWriter>(*windows_, recovery_);
  connect(windows_.get(), &CWorkflowWindows::workflowStored, this, [this](const CWorkflowDoc& doc) {
    RememberWorkflow(doc);
    recoveryWriter_->Forget(doc);
  });
  connect(windows_.get(), &CWorkflowWindows::workflowClosing, recoveryWriter_.get(),
          &CRecoveryWriter::Forget);
  connect(windows_.get(), &CWorkflowWindows::workflowClosing, this,
          [this](const CWorkflowDoc& doc) { ReleasePublishedTasks(doc); });
  CreateVersionCommands();
  CreateBpmnCommands();
  RegisterCommands();
  // Both belong to the frame, which deletes them before the windows go.
  new CFindBar(*frame_, *windows_, FindInRepository());
  new COverviewDock(*frame_);
  connect(frame_.get(), &CMainFrame::frameClosed, qApp, &QCoreApplication::quit,
          Qt::QueuedConnection);
  // A plain start opens no workflow window; there is no other shell command.
  if (options_.showMainWindow) {
    frame_->show();
    frame_->repaint();
  }

  if (!InitSession()) return false;
  LoadNodeBitmaps();
  cursor.restore();
  clipFormats_ = AllClipboardMimeTypes();
  OfferRecoveredWorkflows();
  return true;
}

bool CVelkModApp::InitSession() {
  try {
    parts_.initSession(session_);
    return true;
  } catch (const LNStatusError& e) {
    if (splash_) splash_->close();  // it would cover the message
    ShowNotesError(services_, kSessionFailure, e);
  } catch (const std::exception&) {
    if (splash_) splash_->close();
    ShowNotesError(services_, kSessionFailure, LNERR_INTERNAL);
  }
  return false;
}

int CVelkModApp::ExitInstance(int exitCode) {
  FreeNodeBitmaps();
  ClearInternalClipboard();
  if (store_) store_->sync();
  return exitCode;
}

void CVelkModApp::LoadNodeBitmaps() {
  nodeBitmaps_.Load(services_);
}

void CVelkModApp::FreeNodeBitmaps() {
  nodeBitmaps_.Clear();
}

void CVelkModApp::ClearInternalClipboard() {
  clipboard_.Clear();
}

bool CVelkModApp::SaveSettings() {
  settings_.save(*store_);
  return store_->sync();
}

velk::SettingsBackend& CVelkModApp::SettingsStore() {
  return *store_;
}

QString CVelkModApp::SettingsFileName() const {
  return store_ ? QString::fromStdString(store_->fileName()) : QString();
}

QToolBar* CVelkModApp::ToolBar(CMainFrame::Bar bar) const {
  return frame_ ? frame_->ToolBar(bar) : nullptr;
}

void CVelkModApp::ShowStatusText(const QString& text) {
  if (frame_ && frame_->StatusLine()) frame_->StatusLine()->SetMessageText(text);
}

void CVelkModApp::ShowSplash(bool autoClose) {
  if (splash_) {
    splash_->raise();
    return;
  }
  splash_ =
      new CSplashWnd(autoClose ? CSplashWnd::kTimerMs : 0, autoClose ? nullptr : frame_.get());
  splash_->setAttribute(Qt::WA_QuitOnClose, false);
  splash_->show();
  splash_->repaint();
}
