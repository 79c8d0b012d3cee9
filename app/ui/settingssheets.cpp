// The settings sheets of the application, the program-wide database cache and
// the initialisation of databases through it.
#include <QApplication>

#include "repository/databasecache.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "dialogs/ui/wfproperty.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
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

bool CVelkModApp::RunSettingsSheet() {
  CDlgSettings sheet(SessionSettingsContext(services_, settings_, SettingsStore(), session_),
                     frame_.get());
  ArrowWhileModal arrow;
  if (sheet.exec() != QDialog::Accepted) return false;
  // Open windows draw their arrow heads in the size just chosen.
  for (CWorkflowView* view : editor_->Views()) view->InvalidateAll();
  return true;
}

void CVelkModApp::InitializeDefaultDatabases() {
  velk::InitializeDefaultDatabases(cache_, settings_.databases);
}

void CVelkModApp::InitializeDatabases(CWorkflowDoc& document) {
  cache_.InitializeDatabases(document);
}

void CVelkModApp::OnWorkflowSettings() {
  CChildFrame* child = windows_->ActiveWindow();
  if (!child || !child->GetDocument()) return;
  CWorkflowDoc& document = *child->GetDocument();
  auto runDatabases = [this, &document](QWidget* sheetParent) {
    CDlgWorkflowDatabase sheet(
        QStringLiteral("Workflow Databases"),
        SessionSettingsContext(services_, settings_, SettingsStore(), session_),
        document.Databases().Locations(), sheetParent);
    sheet.exec();
  };
  RunWorkflowSettings(document, runDatabases, frame_.get());
  editor_->UpdateAllViews(document);
}
