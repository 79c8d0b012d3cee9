// The settings sheets of the application, the program-wide database cache and
// the initialisation of databases through it.
#include <QApplication>

#include "app/databasecache.h"
#include "app/ui/velkmodapp.h"
#include "dialogs/ui/wfproperty.h"
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

void CVelkModApp::InstallDatabaseCache() {
  cache_ = std::make_unique<velk::DatabaseCache>(session_);
  velk::setDatabaseCache(cache_.get());
}

void CVelkModApp::InstallSettingsHooks() {
  hooks_.runSettingsSheet = [this](QWidget* parent) {
    CDlgSettings sheet(SessionSettingsContext(settings_, SettingsStore(), session_), parent);
    ArrowWhileModal arrow;
    if (sheet.exec() != QDialog::Accepted) return false;
    velk::CWorkflowDoc::SetArrowSize(settings_.arrowSize);
    return true;
  };
  hooks_.initializeDefaultDatabases = [this] {
    if (velk::hasDatabaseCache())
      velk::InitializeDefaultDatabases(velk::databaseCache(), settings_.databases);
  };
  hooks_.initializeDatabases = [](CWorkflowDoc& document) {
    if (velk::hasDatabaseCache()) velk::databaseCache().InitializeDatabases(document);
  };
  hooks_.runWorkflowSettings = [this](CWorkflowDoc& document, QWidget* parent) {
    auto runDatabases = [this, &document](QWidget* sheetParent) {
      CDlgWorkflowDatabase sheet(QStringLiteral("Workflow Databases"),
                                 SessionSettingsContext(settings_, SettingsStore(), session_),
                                 document.Databases().Locations(), sheetParent);
      sheet.exec();
    };
    return RunWorkflowSettings(document, runDatabases, parent);
  };
}
