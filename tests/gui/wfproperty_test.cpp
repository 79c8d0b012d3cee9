// "Workflow Settings" on a workflow of the test's own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "dialogs/ui/aclpickerdialog.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/unsignededit.h"
#include "dialogs/ui/wfproperty.h"
#include "dialogs/workflowsettings.h"
#include "model/workflowundo.h"
#include "sheetfixture.h"

namespace {

using velk::WorkflowStatus;
using velk::WorkflowType;

class WorkflowSheetTest : public sheettest::SheetTest {
 protected:
  void Set(const std::function<void(velk::WorkflowHeader&)>& change) {
    velk::WorkflowHeader h = doc.Header();
    change(h);
    doc.SetHeader(h);
  }
  std::unique_ptr<CDlgWFProperty> Open() {
    auto sheet = std::make_unique<CDlgWFProperty>(QStringLiteral("Workflow Settings"), doc, lists,
                                                  [this](QWidget*) { ++databaseSheets; });
    sheet->show();
    return sheet;
  }
  int databaseSheets = 0;
};

TEST_F(WorkflowSheetTest, ReplicationIsTheFourthOfFiveTabsOnlyForIcdrAndCddr) {
  const struct {
    WorkflowType type;
    QStringList tabs;
  } cases[] = {
      {WorkflowType::Normal, {"Basics", "Design Information", "Initiator", "Tracking"}},
      {WorkflowType::ICDR,
       {"Basics", "Design Information", "Initiator", "Replication", "Tracking"}},
      {WorkflowType::Referenced, {"Basics", "Design Information", "Initiator", "Tracking"}},
  };
  for (const auto& c : cases) {
    Set([&](velk::WorkflowHeader& h) { h.workflowType = c.type; });
    auto sheet = Open();
    QStringList tabs;
    for (int i = 0; i < sheet->Tabs()->count(); ++i) tabs << sheet->Tabs()->tabText(i);
    EXPECT_EQ(tabs, c.tabs);
  }
}

TEST_F(WorkflowSheetTest, SubWorkflowStoresAnEmptyCategoryOnOk) {
  Set([](velk::WorkflowHeader& h) {
    h.workflowType = WorkflowType::ICDR;
    h.category = "Sales";
    h.name = "ICDR: Check";
  });
  auto sheet = Open();
  EXPECT_FALSE(sheet->Basics()->CategoryEdit()->isEnabled());
  EXPECT_TRUE(sheet->Basics()->CategoryEdit()->text().isEmpty());
  sheet->Basics()->NameEdit()->setText("ICDR: Check order");
  sheet->Basics()->DatabasesButton()->click();
  EXPECT_EQ(databaseSheets, 1);
  sheet->accept();
  EXPECT_EQ(doc.Header().category, "");
  EXPECT_EQ(doc.Header().name, "ICDR: Check order");
}

TEST_F(WorkflowSheetTest, StoredStatusChecksItsRadioButtonAndNoneOutsideTheCodes) {
  const struct {
    int status;
    int checked;  // -1: none
  } cases[] = {{2, 2}, {0, 0}, {4, 4}, {9, -1}};
  for (const auto& c : cases) {
    Set([&](velk::WorkflowHeader& h) { h.status = static_cast<WorkflowStatus>(c.status); });
    auto sheet = Open();
    ASSERT_TRUE(sheet->SetActivePage(1));
    for (int i = 0; i < velk::kStatusCount; ++i)
      EXPECT_EQ(sheet->DesignInformation()->StatusButton(i)->isChecked(), i == c.checked);
    sheet->accept();
    EXPECT_EQ(static_cast<int>(doc.Header().status), c.status) << "kept unless changed";
  }
}

TEST_F(WorkflowSheetTest, TrackingTypeIsStoredByItsExactTextAndValuesMustBeUnsigned) {
  const struct {
    const char* type;
    int code;
  } cases[] = {{"send", 0}, {"SELF", 0}, {"Send", 1}, {"Mix", 3}, {"Sometimes", 0}};
  for (const auto& c : cases) {
    Set([](velk::WorkflowHeader& h) { h.trackingType = 2; });
    auto sheet = Open();
    ASSERT_TRUE(sheet->SetActivePage(3));
    EXPECT_EQ(sheet->Tracking()->TypeBox()->currentText(), "Self");
    sheet->Tracking()->TypeBox()->setEditText(QString::fromLatin1(c.type));
    sheet->Tracking()->RateEdit()->SetText("12");
    sheet->accept();
    EXPECT_EQ(doc.Header().trackingType, c.code) << c.type;
    EXPECT_EQ(doc.Header().trackingRate, 12);
  }
  for (const char* wrong : {"-1", "abc", ""}) {
    auto sheet = Open();
    ASSERT_TRUE(sheet->SetActivePage(3));
    ui.messages.clear();
    sheet->Tracking()->MixEdit()->SetText(QString::fromLatin1(wrong));
    EXPECT_FALSE(sheet->SetActivePage(0)) << wrong;
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Rejected) << "the sheet stays open";
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Please enter a positive integer.");
  }
}

TEST_F(WorkflowSheetTest, SupervisorBeginningAListedNameIsStoredAsThatName) {
  const struct {
    const char* stored;
    const char* shown;
  } cases[] = {{"bob", "Bob Stone"}, {"Carla Diaz", "Carla Diaz"}, {"Zed", "Zed"}, {"", ""}};
  for (const auto& c : cases) {
    Set([&](velk::WorkflowHeader& h) { h.supervisor = c.stored; });
    auto sheet = Open();
    ASSERT_TRUE(sheet->SetActivePage(2));
    EXPECT_EQ(sheet->Initiator()->SupervisorBox()->currentText(), c.shown);
    sheet->accept();
    EXPECT_EQ(doc.Header().supervisor, c.shown);
  }
}

TEST_F(WorkflowSheetTest, PickerOffersAnEditorThatStandsOnlyInDesigner) {
  Set([](velk::WorkflowHeader& h) {
    h.designers = {"Bob Stone"};
    h.editors = {"Ann Lee"};
  });
  auto sheet = Open();
  ASSERT_TRUE(sheet->SetActivePage(2));
  std::vector<std::string> offered;
  sheettest::OnNextModal<CDlgAccessControlList>([&](CDlgAccessControlList& picker) {
    offered = sheettest::Texts(picker.AvailableList());
    picker.reject();
  });
  sheet->Initiator()->EditorList()->AddItems();
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Bob Stone"), offered.end());
  EXPECT_EQ(std::find(offered.begin(), offered.end(), "Ann Lee"), offered.end());
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
