#include "app/ui/velkmodapp.h"

#include <QApplication>
#include <QPrinter>

#include "app/qsettings/qsettingsbackend.h"
#include "app/ui/clipboardformats.h"
#include "app/ui/modelershell.h"
#include "app/ui/splashwnd.h"
#include "app/ui/statusline.h"
#include "common/requirecollaborator.h"
#include "model/workflowrecovery.h"
#include "model/workflowsaver.h"
#include "repository/databasecache.h"
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
  // The windows go with the frame before what they refer to.
  frame_.reset();
  shell_.reset();
}

CSplashWnd* CVelkModApp::Splash() const {
  return splash_;
}

bool CVelkModApp::InitInstance() {
  StartupCursor cursor;
  if (options_.showSplash) ShowSplash();

  store_ = velk::OpenSettingsBackend(options_.settingsFile);
  recent_.Load(*store_);
  settings_.load(*store_);

  frame_ = std::make_unique<CMainFrame>(services_.infoCenter(), *store_);
  if (!frame_->Create()) return false;
  services_.SetFrame(frame_.get());
  // Every window and command hangs off the frame, so the rest of the graph comes
  // after it.
  printer_ = std::make_unique<QPrinter>();
  shell_ = std::make_unique<CModelerShell>(
      ShellBase{*frame_, services_, settings_, *store_, session_, *core_.cache, *core_.saver,
                *core_.recovery, recent_, nodeBitmaps_, clipboard_, *printer_, splash_, parts_});
  connect(frame_.get(), &CMainFrame::frameClosed, qApp, &QCoreApplication::quit,
          Qt::QueuedConnection);
  // A plain start opens no workflow window; there is no other shell command.
  if (options_.showMainWindow) {
    frame_->show();
    frame_->repaint();
  }

  if (!InitSession()) return false;
  nodeBitmaps_.Load(services_);
  cursor.restore();
  clipFormats_ = AllClipboardMimeTypes();
  shell_->OfferRecoveredWorkflows();
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
  nodeBitmaps_.Clear();
  clipboard_.Clear();
  if (store_) store_->sync();
  return exitCode;
}

QString CVelkModApp::SettingsFileName() const {
  return store_ ? QString::fromStdString(store_->fileName()) : QString();
}

void CVelkModApp::ShowStatusText(const QString& text) {
  if (frame_ && frame_->StatusLine()) frame_->StatusLine()->SetMessageText(text);
}

// The start-up splash closes by its timer; "&About" shows the same window without.
void CVelkModApp::ShowSplash() {
  splash_ = new CSplashWnd(CSplashWnd::kTimerMs, nullptr);
  splash_->setAttribute(Qt::WA_QuitOnClose, false);
  splash_->show();
  splash_->repaint();
}
