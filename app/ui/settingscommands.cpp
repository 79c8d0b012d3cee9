#include "app/ui/settingscommands.h"

#include <QApplication>

#include "app/settings.h"
#include "app/ui/mainframe.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "dialogs/ui/wfproperty.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "repository/databasecache.h"
#include "repository/databasevalidation.h"
#include "repository/defaultdatabases.h"
#include "repository/ui/settingssheet.h"

namespace {
// The database check opens the settings sheet under the wait cursor; the sheet
// still needs the arrow.
class ArrowWhileModal {
 public:
  ArrowWhileModal() : waiting_(QApplication::overrideCursor() != nullptr) {
    if (waiting_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileModal() {
    if (waiting_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileModal(const ArrowWhileModal&) = delete;
  ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

 private:
  bool waiting_;
};
}  // namespace

CSettingsCommands::CSettingsCommands(CMainFrame& frame, velk::Services& services,
                                     velk::ModelerSettings& settings, velk::SettingsBackend& store,
                                     LNNotesSession& session, velk::DatabaseCache& cache,
                                     CEditor& editor, CWorkflowWindows& windows)
    : frame_(frame),
      services_(services),
      settings_(settings),
      store_(store),
      session_(session),
      cache_(cache),
      editor_(editor),
      windows_(windows) {}

void CSettingsCommands::ModelerSettings() {
  if (!RunSettingsSheet()) return;
  {
    velk::WaitCursor wait(services_);
    InitializeDefaultDatabases();
  }
  if (CMdiChild* child = frame_.ActiveChild(); child && child->widget()) child->widget()->update();
}

void CSettingsCommands::WorkflowSettings() {
  CChildFrame* child = windows_.ActiveWindow();
  if (!child || !child->GetDocument()) return;
  velk::CWorkflowDoc& document = *child->GetDocument();
  auto runDatabases = [this, &document](QWidget* sheetParent) {
    CDlgWorkflowDatabase sheet(QStringLiteral("Workflow Databases"),
                               SessionSettingsContext(services_, settings_, store_, session_),
                               document.Databases().Locations(), sheetParent);
    sheet.exec();
  };
  RunWorkflowSettings(document, runDatabases, &frame_);
  editor_.UpdateAllViews(document);
}

bool CSettingsCommands::DefaultDatabasesValid() {
  velk::DefaultDatabaseChecks checks;
  checks.detectKind = [this](const velk::DatabaseLocation& db) {
    return velk::DetectDatabaseKind(services_, session_, db.fileName, db.server);
  };
  checks.runSettingsSheet = [this] { return RunSettingsSheet(); };
  checks.initialiseDefaultDatabases = [this] { InitializeDefaultDatabases(); };
  return velk::ValidateDefaultDatabases(services_, settings_.databases, checks);
}

bool CSettingsCommands::RunSettingsSheet() {
  CDlgSettings sheet(SessionSettingsContext(services_, settings_, store_, session_), &frame_);
  ArrowWhileModal arrow;
  if (sheet.exec() != QDialog::Accepted) return false;
  // Open windows draw their arrow heads in the size just chosen.
  for (CWorkflowView* view : editor_.Views()) view->InvalidateAll();
  return true;
}

void CSettingsCommands::InitializeDefaultDatabases() {
  velk::InitializeDefaultDatabases(cache_, settings_.databases);
}
