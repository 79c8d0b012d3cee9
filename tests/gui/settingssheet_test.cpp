// "Modeler Settings", "Workflow Databases" and "Open Database" driven as a user
// does, with kinds and chosen databases of the test's own; "Workflow Settings"
// on a workflow of the test's own.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "dialogs/ui/aclpickerdialog.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/unsignededit.h"
#include "dialogs/ui/wfproperty.h"
#include "dialogs/workflowsettings.h"
#include "model/workflowundo.h"
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
};

TEST_F(SettingsSheetTest, OneBrowseOfThreeKindsFillsBothPagesAndOkKeepsThemAll) {
  kinds["new-app.nsf"] = DatabaseKind::ApplicationEnvironment;
  kinds["new-gw.nsf"] = DatabaseKind::Gateway;
  kinds["new-orga.nsf"] = DatabaseKind::Infrastructure;
  CDlgSettings sheet(Context());
  sheet.show();
  chosen = "Hub;new-app.nsf;new-gw.nsf;new-orga.nsf";
  sheet.InternalPage()->BrowseButton()->click();
  // Which fields one choice fills is the core's. The external page was never in
  // front; what Browse wrote there is kept too.
  sheet.accept();
  for (const auto& [kind, file] : {std::pair(DatabaseKind::Gateway, "new-gw.nsf"),
                                   std::pair(DatabaseKind::Infrastructure, "new-orga.nsf")})
    EXPECT_EQ(settings.databases[kind], (velk::DatabaseLocation{file, "Hub"}));
  EXPECT_EQ(store.getString("Default Settings", "GwDbName", ""), "new-gw.nsf");
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
    EXPECT_EQ(sheettest::Texts(ui),
              std::vector<std::string>{"Please enter an integer between 1 and 250."});
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
    // The factor is the one chosen, not its position.
    EXPECT_EQ(std::tuple(settings.orgName, settings.gridSize, settings.gridMagnetic,
                         settings.arrowSize, settings.autoArrangeFactor),
              std::tuple("Borealis", 250, true, 2, 2));
    EXPECT_EQ(store.getString("Default Settings", "OrgName", ""), "Borealis");
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
  EXPECT_TRUE(std::ranges::any_of(sheet.InternalPage()->findChildren<QLabel*>(), [](QLabel* l) {
    return l->isVisible() && l->text().contains("default databases of new workflows");
  }));
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
  LNNotesSession session_{
      LNNotesSession::ServerMap{{"Hub", "host=127.0.0.1 port=1"}}};  // nothing answers there
};

TEST_F(OpenDatabaseTest, ListsTheDataDirectoryJoinsTheSelectionAndKeepsTheServerOnAFailedChoice) {
  CDlgOpenDatabase dialog(ui_, session_);
  EXPECT_EQ(dialog.PathEdit()->text(), dir_.path());
  EXPECT_EQ(sheettest::Texts(dialog.DatabaseList()),
            (std::vector<std::string>{"acme/gateway.nsf", "appenv.nsf"}));
  EXPECT_EQ(ui_.statusTexts.front(), "Retrieving Notes Environment Data...");
  EXPECT_EQ(ui_.currentStatus(), "");
  sheettest::Select(dialog.DatabaseList(), {"appenv.nsf", "acme/gateway.nsf"});
  const QString expected = dir_.filePath("acme/gateway.nsf") + ";" + dir_.filePath("appenv.nsf");
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

  // A cancelled or failed choice of server goes back to the one before.
  QComboBox* servers = browsing.ServerList();
  sheettest::OnNextModal<CDlgOtherServer>([](CDlgOtherServer& other) {
    EXPECT_EQ(other.windowTitle(), "Other Server");
    other.reject();
  });
  sheettest::Choose(servers, QStringLiteral("Other Server..."));
  EXPECT_EQ(servers->currentText(), "Local");
  EXPECT_EQ(browsing.Server(), "");
  EXPECT_TRUE(ui_.messages.empty());

  // Servers do not answer here: the listing fails and the local folder comes back.
  browsing.PathEdit()->setText("elsewhere");
  sheettest::Choose(servers, QStringLiteral("Hub"));
  EXPECT_EQ(servers->currentText(), "Local");
  EXPECT_EQ(browsing.Server(), "");
  EXPECT_EQ(browsing.PathEdit()->text(), dir_.path());
  EXPECT_EQ(browsing.DatabaseList()->count(), 2);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text.rfind("Document Store Error:\r\n", 0), 0u);
}

using velk::WorkflowType;

class WorkflowSheetTest : public sheettest::SheetTest {
 protected:
  void Set(const std::function<void(velk::WorkflowHeader&)>& change) {
    velk::WorkflowHeader h = doc.Header();
    change(h);
    doc.SetHeader(h);
  }
  // The sheet shown, on the page of that index.
  std::unique_ptr<CDlgWFProperty> Open(int page = 0) {
    auto sheet = std::make_unique<CDlgWFProperty>(QStringLiteral("Workflow Settings"), doc, lists,
                                                  [this](QWidget*) { ++databaseSheets; });
    sheet->show();
    EXPECT_TRUE(page == 0 || sheet->SetActivePage(page));
    return sheet;
  }
  int databaseSheets = 0;
};

// Only ICDR and CDDR workflows get "Replication"; a sub-workflow has no
// category, and OK stores it empty.
TEST_F(WorkflowSheetTest, SubWorkflowsHaveReplicationAndStoreAnEmptyCategory) {
  Set([](velk::WorkflowHeader& h) {
    h.category = "Sales";
    h.name = "ICDR: Check";
  });
  for (WorkflowType type : {WorkflowType::Normal, WorkflowType::Referenced, WorkflowType::ICDR}) {
    Set([&](velk::WorkflowHeader& h) { h.workflowType = type; });
    auto sheet = Open();
    QStringList tabs;
    for (int i = 0; i < sheet->Tabs()->count(); ++i) tabs << sheet->Tabs()->tabText(i);
    if (type != WorkflowType::ICDR) {
      EXPECT_EQ(tabs.join('|'), "Basics|Design Information|Initiator|Tracking");
      continue;
    }
    EXPECT_EQ(tabs.join('|'), "Basics|Design Information|Initiator|Replication|Tracking");
    EXPECT_FALSE(sheet->Basics()->CategoryEdit()->isEnabled());
    EXPECT_TRUE(sheet->Basics()->CategoryEdit()->text().isEmpty());
    sheet->Basics()->NameEdit()->setText("ICDR: Check order");
    sheet->Basics()->DatabasesButton()->click();
    EXPECT_EQ(databaseSheets, 1);
    sheet->accept();
  }
  EXPECT_EQ(std::tuple(doc.Header().category, doc.Header().name),
            std::tuple("", "ICDR: Check order"));
}

// A stored status checks its radio button, none outside the codes; a supervisor
// beginning a listed name is shown as that name. OK keeps the one, stores the other.
TEST_F(WorkflowSheetTest, StoredStatusAndSupervisorAreShownAndKeptOnOk) {
  // Status, the radio button checked (-1: none), supervisor stored and shown.
  const std::tuple<int, int, const char*, const char*> cases[] = {
      {2, 2, "bob", "Bob Stone"},
      {0, 0, "Carla Diaz", "Carla Diaz"},
      {4, 4, "Zed", "Zed"},
      {9, -1, "", ""}};
  for (const auto& [status, checked, supervisor, shown] : cases) {
    Set([&](velk::WorkflowHeader& h) {
      h.status = static_cast<velk::WorkflowStatus>(status);
      h.supervisor = supervisor;
    });
    auto sheet = Open(1);
    for (int i = 0; i < velk::kStatusCount; ++i)
      EXPECT_EQ(sheet->DesignInformation()->StatusButton(i)->isChecked(), i == checked);
    ASSERT_TRUE(sheet->SetActivePage(2));
    EXPECT_EQ(sheet->Initiator()->SupervisorBox()->currentText(), shown);
    sheet->accept();
    EXPECT_EQ(static_cast<int>(doc.Header().status), status) << "kept unless changed";
    EXPECT_EQ(doc.Header().supervisor, shown);
  }
}

TEST_F(WorkflowSheetTest, TrackingTypeIsStoredByItsExactTextAndValuesMustBeUnsigned) {
  const std::pair<const char*, int> cases[] = {
      {"send", 0}, {"SELF", 0}, {"Send", 1}, {"Mix", 3}, {"Sometimes", 0}};
  for (const auto& [type, code] : cases) {
    Set([](velk::WorkflowHeader& h) { h.trackingType = 2; });
    auto sheet = Open(3);
    EXPECT_EQ(sheet->Tracking()->TypeBox()->currentText(), "Self");
    sheet->Tracking()->TypeBox()->setEditText(QString::fromLatin1(type));
    sheet->Tracking()->RateEdit()->SetText("12");
    sheet->accept();
    EXPECT_EQ(doc.Header().trackingType, code) << type;
    EXPECT_EQ(doc.Header().trackingRate, 12);
  }
  for (const char* wrong : {"-1", "abc", ""}) {
    auto sheet = Open(3);
    ui.messages.clear();
    sheet->Tracking()->MixEdit()->SetText(QString::fromLatin1(wrong));
    EXPECT_FALSE(sheet->SetActivePage(0)) << wrong;
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Rejected) << "the sheet stays open";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, "Please enter a positive integer."));
  }
}

TEST_F(WorkflowSheetTest, PickerOffersAnEditorThatStandsOnlyInDesigner) {
  Set([](velk::WorkflowHeader& h) {
    h.designers = {"Bob Stone"};
    h.editors = {"Ann Lee"};
  });
  auto sheet = Open(2);
  std::vector<std::string> offered;
  sheettest::OnNextModal<CDlgAccessControlList>([&](CDlgAccessControlList& picker) {
    offered = sheettest::Texts(picker.AvailableList());
    picker.reject();
  });
  sheet->Initiator()->EditorList()->AddItems();
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "Bob Stone"), 1);
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "Ann Lee"), 0);
}

TEST_F(WorkflowSheetTest, OkMarksTheWorkflowModifiedAsOneUndoStepAndCancelChangesNothing) {
  std::vector<std::string> titles;
  doc.Session().SetTitleHandler(
      [&](velk::CWorkflowDoc& d) { titles.push_back(d.Session().Title()); });
  for (bool ok : {false, true}) {
    sheettest::OnNextModal<CDlgWFProperty>([ok](CDlgWFProperty& sheet) {
      sheet.Basics()->NameEdit()->setText("Order");
      ok ? sheet.accept() : sheet.reject();
    });
    EXPECT_EQ(RunWorkflowSettings(doc, {}, nullptr), ok);
    EXPECT_EQ(doc.Session().IsModified(), ok);
    EXPECT_EQ(doc.Header().name, ok ? "Order" : "New workflow");
    ASSERT_FALSE(titles.empty()) << "the title is refreshed either way";
    EXPECT_EQ(titles.back(), ok ? "Order v0 (Design) *" : "New workflow v0 (Design)");
    EXPECT_EQ(doc.Session().History().StepCount(), ok ? 1u : 0u);
  }
  EXPECT_EQ(doc.Session().History().UndoName(), "Workflow Settings");
  ASSERT_TRUE(doc.Session().History().Undo());
  EXPECT_EQ(doc.Header().name, "New workflow");
  EXPECT_EQ(titles.back(), "New workflow v0 (Design)");
}

}  // namespace
