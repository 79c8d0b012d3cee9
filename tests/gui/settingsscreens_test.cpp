// "Modeler Settings", "Open Database" and "Workflow Settings" on the demo
// repository, as the modeler shows them. With VELK_SCREENSHOT_DIR set, every
// page is also saved there as a picture (settings-*.png) for a look at the
// layout; VELK_SCREENSHOT_DATA_DIR then names a demo data directory made by
// "velkmod-cli demo" to show instead of a temporary one.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>

#include "app/databasecache.h"
#include "app/headlessservices.h"
#include "app/infocenter.h"
#include "dialogs/ui/wfproperty.h"
#include "repository/demodata.h"
#include "repository/store/lnnotes.h"
#include "repository/ui/opendatabase.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"

namespace {

class SettingsScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const QByteArray demo = qgetenv("VELK_SCREENSHOT_DATA_DIR");
    setenv("VELK_DATA_DIR", demo.isEmpty() ? dir_.path().toLocal8Bit().constData() : demo.constData(), 1);
    ASSERT_EQ(session_.Init(410), LNNOERROR);
    for (const velk::DemoResult& r : velk::CreateDemoRepository(session_, {}))
      settings_.databases[r.kind] = {r.path, ""};
    cache_ = std::make_unique<velk::DatabaseCache>(session_);
  }
  void TearDown() override {
    cache_.reset();
    velk::InfoCenter::instance().clear();
    session_.Term();
    unsetenv("VELK_DATA_DIR");
  }

  static void Shoot(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    ASSERT_FALSE(picture.isNull());
    const QByteArray dir = qgetenv("VELK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      EXPECT_TRUE(picture.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png")));
    }
  }

  static void ShootPages(CPropertySheet& sheet, const QString& prefix) {
    for (int i = 0; i < sheet.Tabs()->count(); ++i) {
      ASSERT_TRUE(sheet.SetActivePage(i)) << i;
      Shoot(sheet, QStringLiteral("%1-%2-%3")
                       .arg(prefix)
                       .arg(i + 1)
                       .arg(sheet.Tabs()->tabText(i).remove(QLatin1Char(' ')).toLower()));
    }
  }

  QTemporaryDir dir_;
  velk::ScopedHeadlessServices ui_;
  LNNotesSession session_;
  velk::ModelerSettings settings_;
  velk::MemorySettingsBackend store_;
  std::unique_ptr<velk::DatabaseCache> cache_;
};

TEST_F(SettingsScreensTest, ModelerSettingsAcceptTheDemoDatabasesOnEveryPage) {
  CDlgSettings sheet(SessionSettingsContext(settings_, store_, session_));
  sheet.show();
  ShootPages(sheet, QStringLiteral("settings-modeler"));
  EXPECT_TRUE(ui_->messages.empty()) << ui_->messages.front().text;
  sheet.accept();
  EXPECT_EQ(store_.getString("Default Settings", "GwDbName", ""), "gateway.nsf");
}

TEST_F(SettingsScreensTest, OpenDatabaseListsTheDemoDataDirectory) {
  CDlgOpenDatabase dialog(session_);
  dialog.show();
  QListWidget* list = dialog.DatabaseList();
  ASSERT_GE(list->count(), 6);
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text() == "appenv.nsf" || list->item(i)->text() == "infra.nsf")
      list->item(i)->setSelected(true);
  EXPECT_TRUE(dialog.FileNameEdit()->text().endsWith("/infra.nsf"));
  Shoot(dialog, QStringLiteral("settings-opendatabase"));
  CDlgOtherServer other(&dialog);
  other.show();
  Shoot(other, QStringLiteral("settings-otherserver"));
}

TEST_F(SettingsScreensTest, WorkflowSettingsOfADemoSubWorkflow) {
  velk::CWorkflowDoc doc("CN=Test Designer/O=Marvelund", "06.12.2026");
  velk::WorkflowDatabases databases;
  databases.SetLocations(settings_.databases);
  doc.SetDatabases(databases);
  cache_->InitializeDatabases(doc);
  velk::WorkflowHeader h = doc.Header();
  h.name = "ICDR: Check credit";
  h.workflowType = velk::WorkflowType::ICDR;
  h.workflowId = "3F2A9C1B7E6D4A58B0C2D1E9F8A7B6C5";
  h.version = 2;
  h.freeText = "Checks the customer's credit before an order is confirmed.";
  h.supervisor = "ann";
  h.designers = {"Sales/North", "Clerk"};
  h.editors = {"Order Desk"};
  h.replicationPartners = {"Acme Logistics", "Borealis Bank"};
  h.trackingType = 3;
  h.trackingMix = 2;
  h.trackingMail = "tracking@marvelund.example";
  doc.SetHeader(h);
  CDlgWFProperty sheet(QStringLiteral("Workflow Settings"), doc, velk::ListsOfWorkflow(doc),
                       [](QWidget*) {});
  sheet.show();
  ShootPages(sheet, QStringLiteral("settings-workflow"));
  EXPECT_FALSE(sheet.Initiator()->SupervisorBox()->currentText().isEmpty());
  EXPECT_GT(sheet.Initiator()->SupervisorBox()->count(), 3);

  CDlgWorkflowDatabase databasesSheet(QStringLiteral("Workflow Databases"),
                                      SessionSettingsContext(settings_, store_, session_),
                                      doc.Databases().Locations());
  databasesSheet.show();
  ShootPages(databasesSheet, QStringLiteral("settings-workflowdatabases"));
}

}  // namespace
