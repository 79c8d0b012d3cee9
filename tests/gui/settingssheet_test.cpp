// "Modeler Settings", "Workflow Databases" and "Open Database" driven as a user
// does, with kinds and chosen databases of the test's own.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <map>

#include "repository/databasetemplates.h"
#include "repository/store/lnnotes.h"
#include "repository/ui/opendatabase.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"
#include "sheetfixture.h"
#include "shellfixture.h"

namespace {

using velk::DatabaseKind;

class SettingsSheetTest : public ::testing::Test {
 protected:
  SettingsSheetTest() {
    for (DatabaseKind kind : velk::KindProbeOrder()) {
      const std::string path = std::string(velk::CliNameOf(kind)) + ".nsf";
      settings.databases[kind] = {path, ""};
      kinds[path] = kind;
    }
  }

  SettingsSheetContext Context() {
    return {ui, settings, store,
            [this](const std::string& path, const std::string&) {
              ++probes;
              auto it = kinds.find(path);
              return it == kinds.end() ? DatabaseKind::None : it->second;
            },
            [this](QWidget*) { return chosen; }};
  }

  velk::HeadlessServices ui;
  velk::ModelerSettings settings;
  velk::MemorySettingsBackend store;
  std::map<std::string, DatabaseKind> kinds;
  std::string chosen;
  int probes = 0;
};

TEST_F(SettingsSheetTest, OneBrowseOfThreeKindsFillsBothPagesAndOkKeepsThemAll) {
  kinds["new-app.nsf"] = DatabaseKind::ApplicationEnvironment;
  kinds["new-gw.nsf"] = DatabaseKind::Gateway;
  kinds["new-orga.nsf"] = DatabaseKind::Infrastructure;
  CDlgSettings sheet(Context());
  sheet.show();
  chosen = "Hub;new-app.nsf;new-gw.nsf;new-orga.nsf";
  sheet.InternalPage()->BrowseButton()->click();
  auto* internal = sheet.InternalPage();
  auto* external = sheet.ExternalPage();
  EXPECT_EQ(internal->PathEdit(DatabaseKind::Infrastructure)->text(), "new-orga.nsf");
  EXPECT_EQ(external->PathEdit(DatabaseKind::Gateway)->text(), "new-gw.nsf");

  // The external page was never in front; what Browse wrote there is kept too.
  sheet.accept();
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
  EXPECT_EQ(settings.databases[DatabaseKind::Gateway],
            (velk::DatabaseLocation{"new-gw.nsf", "Hub"}));
  EXPECT_EQ(settings.databases[DatabaseKind::Infrastructure],
            (velk::DatabaseLocation{"new-orga.nsf", "Hub"}));
  EXPECT_EQ(store.getString("Default Settings", "GwDbName", ""), "new-gw.nsf");
  EXPECT_EQ(store.getString("Default Settings", "AppDbServer", "?"), "Hub");
  EXPECT_EQ(store.getString("Default Settings", "TrackingDbServer", "?"), "");
  EXPECT_FALSE(store.contains("Default Settings", "GridSize")) << "Basics was never shown";
}

// A grid size outside 1 to 250 keeps "Basics" in front; what the page holds is
// taken over on leaving it and written only by OK.
TEST_F(SettingsSheetTest, BasicsAreCheckedOnLeavingAndWrittenOnlyOnOk) {
  const velk::ModelerSettings before = settings;
  for (bool ok : {false, true}) {
    CDlgSettings sheet(Context());
    sheet.show();
    ASSERT_TRUE(sheet.SetActivePage(2));
    CDlgSettingsPropAutoSave* basics = sheet.BasicsPage();
    ui.messages.clear();
    basics->GridSizeEdit()->setText("251");
    EXPECT_FALSE(sheet.SetActivePage(0));
    EXPECT_EQ(sheet.ActiveIndex(), 2);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter an integer between 1 and 250.");
    basics->OrgNameEdit()->setText("Borealis");
    basics->GridSizeEdit()->setText("250");
    basics->MagneticBox()->setChecked(true);
    basics->ArrowSizeList()->setCurrentIndex(2);
    basics->FactorList()->setCurrentText("2");
    ASSERT_TRUE(sheet.SetActivePage(0));  // taken over, not yet written
    if (!ok) {
      sheet.reject();
      EXPECT_EQ(settings, before) << "Cancel changes nothing";
      EXPECT_FALSE(store.contains("Default Settings", "OrgName"));
      continue;
    }
    sheet.accept();
    EXPECT_EQ(settings.orgName, "Borealis");
    EXPECT_EQ(settings.gridSize, 250);
    EXPECT_TRUE(settings.gridMagnetic);
    EXPECT_EQ(settings.arrowSize, 2);
    EXPECT_EQ(settings.autoArrangeFactor, 2) << "the factor chosen, not its position";
    EXPECT_EQ(store.getString("Default Settings", "OrgName", ""), "Borealis");
    EXPECT_EQ(store.getString("Default Settings", "RoutingDbName", ""), "procdef.nsf");
  }
}

TEST_F(SettingsSheetTest, WorkflowDatabasesShowTheWorkflowsAndSayOkChangesTheDefaults) {
  velk::DatabaseLocations workflow = settings.databases;
  workflow[DatabaseKind::Infrastructure] = {"branch/infra.nsf", ""};
  kinds["branch/infra.nsf"] = DatabaseKind::Infrastructure;
  CDlgWorkflowDatabase sheet(QStringLiteral("Workflow Databases"), Context(), workflow);
  sheet.show();
  EXPECT_EQ(sheet.Tabs()->count(), 2);
  EXPECT_EQ(sheet.InternalPage()->PathEdit(DatabaseKind::Infrastructure)->text(),
            "branch/infra.nsf");
  const QList<QLabel*> labels = sheet.InternalPage()->findChildren<QLabel*>();
  const bool explained = std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
    return l->isVisible() && l->text().contains("default databases of new workflows");
  });
  EXPECT_TRUE(explained);
  sheet.accept();
  EXPECT_EQ(settings.databases[DatabaseKind::Infrastructure].fileName, "branch/infra.nsf");
  EXPECT_EQ(store.getString("Default Settings", "OrgaDbName", ""), "branch/infra.nsf");
}

// "Open Database" on a data directory of the test's own.
class OpenDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Init(410), LNNOERROR);
    LNDatabase db;
    for (const char* path : {"appenv.nsf", "acme/gateway.nsf"})
      ASSERT_EQ(session_.CreateDatabase(path, &db, "Test"), LNNOERROR);
  }
  void TearDown() override { session_.Term(); }

  QTemporaryDir dir_;
  shelltest::ScopedEnv dataDir_{"VELK_DATA_DIR", QFile::encodeName(dir_.path())};
  velk::HeadlessServices ui_;
  LNNotesSession session_{LNNotesSession::ServerMap{{"Hub", "host=127.0.0.1 port=1"}}};  // nothing answers there
};

TEST_F(OpenDatabaseTest, ListsTheDataDirectoryAndJoinsTheSelection) {
  CDlgOpenDatabase dialog(ui_, session_);
  EXPECT_EQ(sheettest::Texts(dialog.ServerList()),
            (std::vector<std::string>{"Local", "Hub", "Other Server..."}));
  EXPECT_EQ(dialog.PathEdit()->text(), dir_.path());
  EXPECT_EQ(sheettest::Texts(dialog.DatabaseList()),
            (std::vector<std::string>{"acme/gateway.nsf", "appenv.nsf"}));
  EXPECT_EQ(ui_.statusTexts.front(), "Retrieving Notes Environment Data...");
  EXPECT_EQ(ui_.currentStatus(), "");
  sheettest::Select(dialog.DatabaseList(), {"appenv.nsf", "acme/gateway.nsf"});
  const std::string base = dir_.path().toStdString();
  const QString expected =
      QString::fromStdString(base + "/acme/gateway.nsf;" + base + "/appenv.nsf");
  // Capitals of the temporary folder stay: lower case would name no file.
  EXPECT_EQ(dialog.FileNameEdit()->text(), expected);
  dialog.accept();
  EXPECT_EQ(dialog.ChosenDatabases(), ";" + expected.toStdString());

  CDlgOpenDatabase browsing(ui_, session_);
  browsing.SetFilePicker([](QWidget*, const QString&) {
    return QStringList{"/X/One.NSF", "/x/two.nsf"};
  });
  browsing.BrowseButton()->click();
  EXPECT_EQ(browsing.FileNameEdit()->text(), "/X/One.NSF;/x/two.nsf") << "no such files: kept";
}

TEST_F(OpenDatabaseTest, CancelledOrFailedServerChoiceRestoresThePrevious) {
  CDlgOpenDatabase dialog(ui_, session_);
  QComboBox* servers = dialog.ServerList();
  sheettest::OnNextModal<CDlgOtherServer>([](CDlgOtherServer& other) {
    EXPECT_EQ(other.windowTitle(), "Other Server");
    other.reject();
  });
  sheettest::Choose(servers, QStringLiteral("Other Server..."));
  EXPECT_EQ(servers->currentText(), "Local");
  EXPECT_EQ(dialog.Server(), "");
  EXPECT_TRUE(ui_.messages.empty());

  // Servers do not answer here: the listing fails and the local folder comes back.
  dialog.PathEdit()->setText("elsewhere");
  sheettest::Choose(servers, QStringLiteral("Hub"));
  EXPECT_EQ(servers->currentText(), "Local");
  EXPECT_EQ(dialog.Server(), "");
  EXPECT_EQ(dialog.PathEdit()->text(), dir_.path());
  EXPECT_EQ(dialog.DatabaseList()->count(), 2);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text.rfind("Document Store Error:\r\n", 0), 0u);
}

}  // namespace
