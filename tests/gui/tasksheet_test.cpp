// The task property sheet: its tabs and "Basics", the "Performer" page with its
// readers and the "Access Control List" picker, the "Forms", "Activities" and
// "Resources" pages, and the "Task routing" dialog, driven as the user drives them.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/ui/aclpickerdialog.h"
#include "dialogs/ui/addnewforms.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/selectresource.h"
#include "dialogs/ui/taskroutingdialog.h"
#include "gui/sheetfixture.h"

namespace {

using namespace sheettest;
using velk::NodeKind;
using Strings = std::vector<std::string>;

using NodeSheetTest = SheetTest;

// The other kinds are checked on the layout in the core.
TEST_F(NodeSheetTest, TabsAndTitleFollowTheNodeKind) {
  const std::pair<NodeKind, QString> cases[] = {
      {NodeKind::In,
       "Internal Node Properties: Basics|Performer|Forms|Incoming CM|GRI "
       "Info|Activities|Resources"},
      {NodeKind::Extern,
       "External Subscribed Workflow Properties: Basics|Outgoing CM|Incoming CM|External "
       "Subscribed Workflow"},
      {NodeKind::ICDR, "Task Properties: Basics"},
      {NodeKind::ExtWFTask, "External WWW Step Properties: Basics|External Performer|Forms"},
  };
  for (const auto& [kind, expected] : cases) {
    auto sheet = OpenSheet(AddTask(kind));
    QStringList tabs;
    for (int i = 0; i < sheet->Tabs()->count(); ++i) tabs << sheet->Tabs()->tabText(i);
    EXPECT_EQ(sheet->windowTitle() + ": " + tabs.join('|'), expected);
  }
}

TEST_F(NodeSheetTest, CancelAfterEditingSeveralPagesLeavesTheNodeUnchanged) {
  velk::CNode* node =
      AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) { a.activities = {"Call"}; });
  const velk::NodeAttributes before = node->Attributes();
  auto sheet = OpenSheet(node);
  Find<QLineEdit>(sheet.get(), "name")->setText(QStringLiteral("Renamed"));
  sheet->Tabs()->setCurrentIndex(3);
  sheet->Activities().AddActivity();
  sheet->Tabs()->setCurrentIndex(1);
  Find<QComboBox>(sheet.get(), "performerType")->setCurrentIndex(3);
  sheet->reject();
  EXPECT_EQ(node->Attributes(), before);
}

TEST_F(NodeSheetTest, OkAfterOnlyBasicsChangesOnlyTheBasicsFields) {
  velk::CNode* node = AddTask(NodeKind::In, [](velk::NodeAttributes& a) {
    a.objects = {"Retired form"};  // the forms page would drop it, had it been shown
    a.performerType = 9;           // the performer page would complain, had it been shown
  });
  velk::NodeAttributes expected = node->Attributes();
  auto sheet = OpenSheet(node);
  QLineEdit* name = Find<QLineEdit>(sheet.get(), "name");
  name->clear();
  QTest::keyClicks(name, QStringLiteral("Approve order"));
  QLineEdit* duration = Find<QLineEdit>(sheet.get(), "duration");
  duration->clear();
  QTest::keyClicks(duration, QStringLiteral("12"));
  Find<QComboBox>(sheet.get(), "durationUnit")->setCurrentIndex(2);
  QTest::keyClicks(Find<QPlainTextEdit>(sheet.get(), "description"), QStringLiteral("Look"));
  sheet->accept();
  expected.name = "Approve order";
  expected.duration = 12;
  expected.durationUnit = 2;
  expected.freeText = "Look";
  EXPECT_EQ(node->Attributes(), expected);
  EXPECT_TRUE(ui.messages.empty());
}

// Which texts are integers in range is the core's, and a non-integer duration is
// refused end to end.
TEST_F(NodeSheetTest, DurationOutsideItsRangeKeepsThePageInFrontAndAClusterHasNone) {
  velk::CNode* node = AddTask(NodeKind::Intern);
  const velk::NodeAttributes before = node->Attributes();
  auto sheet = OpenSheet(node);
  Find<QLineEdit>(sheet.get(), "duration")->setText(QStringLiteral("10000"));
  sheet->Tabs()->setCurrentIndex(2);
  EXPECT_EQ(sheet->Tabs()->currentIndex(), 0);
  sheet->accept();
  EXPECT_EQ(MessageTexts(), Strings(2, "Please enter an integer between 0 and 9999."));
  EXPECT_EQ(node->Attributes(), before);
  EXPECT_TRUE(sheet->isVisible());

  auto cluster = OpenSheet(AddTask(NodeKind::IWC));
  EXPECT_FALSE(Find<QLineEdit>(cluster.get(), "duration")->isEnabled() ||
               Find<QComboBox>(cluster.get(), "durationUnit")->isEnabled());
}

// Which routings are accepted is the core's; here the dialog shows the arrow's
// values, enables its boxes by option and stores what it accepts.
TEST_F(NodeSheetTest, TaskRoutingShowsTheArrowEnablesByOptionAndStoresWhatItAccepts) {
  velk::CArrow* arrow = doc.CreateArrow(*AddTask(NodeKind::Intern), *AddTask(NodeKind::Intern),
                                        {velk::RoutingKind::Cor, "big", "Amount > 10"});
  CDlgTaskRouting dialog(doc, *arrow, lists);
  dialog.show();
  EXPECT_EQ(std::tuple(dialog.Option(3)->isChecked(), dialog.DescriptionBox()->text(),
                       dialog.FormulaBox()->toPlainText(), dialog.FormulaBox()->isEnabled()),
            std::tuple(true, QString("big"), QString("Amount > 10"), true));
  QTest::mouseClick(dialog.Option(2), Qt::LeftButton);
  EXPECT_FALSE(dialog.FormulaBox()->isEnabled());
  EXPECT_TRUE(dialog.DescriptionBox()->isEnabled());

  QTest::mouseClick(dialog.Option(3), Qt::LeftButton);
  dialog.FormulaBox()->setPlainText(QStringLiteral("(Amount > 10"));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible()) << "an unbalanced formula keeps the dialog";
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(arrow->Formula(), "Amount > 10");

  dialog.FormulaBox()->setPlainText(QStringLiteral("Amount > 20"));
  QTest::mouseClick(dialog.Option(0), Qt::LeftButton);
  EXPECT_FALSE(dialog.FormulaBox()->isEnabled() || dialog.DescriptionBox()->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(arrow->Routing(), (velk::ArrowRouting{velk::RoutingKind::And, "", "Amount > 20"}));
}

class PerformerPageTest : public SheetTest {
 protected:
  // The sheet of an internal task, on its "Performer" page.
  std::unique_ptr<CDlgNodeProperty> OpenPerformer(velk::CNode* node) {
    auto sheet = OpenSheet(node, QStringLiteral("Performer"));
    page_ = &sheet->Performer();
    return sheet;
  }
  bool Shown(const char* groupTitle) const {
    for (QGroupBox* g : page_->findChildren<QGroupBox*>())
      if (g->title() == QLatin1String(groupTitle)) return g->isVisible();
    ADD_FAILURE() << groupTitle;
    return false;
  }

  CDlgNodePropertyPerformer* page_ = nullptr;
};

// The type rules are the core's; here the page shows each stored type's group.
TEST_F(PerformerPageTest, StoredTypeOpensWithItsGroupAndValues) {
  // Type, member and argument stored; the group shown and a box there with its text.
  const std::tuple<int, const char*, const char*, const char*, const char*, const char*> cases[] = {
      {1, "sales/north", "", "Properties of Type Unit", "unitName", "Sales/North"},  // any case
      {2, "Audit", "", "Properties of Type Workgroup", "workgroupName", "Audit"},
      {3, "Clerk", "Branch", "Properties Of Parameter", "parameter", "Branch"},
      {3, "Clerk", "#Amount#", "Properties Of Field", "field", "Amount"},
  };
  for (const auto& [type, member, argument, group, combo, shown] : cases) {
    SCOPED_TRACE(group);
    velk::CNode* node = AddTask(NodeKind::Intern, [&](velk::NodeAttributes& a) {
      a.performerType = type;
      a.member = member;
      a.roleArgument = argument;
    });
    auto sheet = OpenPerformer(node);
    EXPECT_TRUE(Shown(group));
    EXPECT_FALSE(Shown("Properties of Type Person"));
    EXPECT_EQ(Find<QComboBox>(page_, combo)->currentText(), QLatin1String(shown));
    if (*argument == '#') {
      EXPECT_EQ(Find<QComboBox>(page_, "form")->currentText(), QStringLiteral("Order|GF_Order"))
          << "the first form having the field";
    }
    sheet->accept();
    EXPECT_EQ(node->Attributes().roleArgument, argument) << "applied unchanged";
  }
}

// Choosing a person on the page is driven end to end; the fields a person keeps
// are the core's.
TEST_F(PerformerPageTest, UnknownTypeIsReportedAndKeptAsStored) {
  velk::CNode* odd = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.performerType = 7;
    a.member = "Someone";
  });
  auto unknown = OpenPerformer(odd);
  EXPECT_EQ(MessageTexts(), Strings{"Unknown Performer Type!"});
  EXPECT_EQ(Find<QComboBox>(page_, "performerType")->currentIndex(), -1);
  unknown->accept();
  EXPECT_EQ(odd->Attributes().performerType, 7);
  EXPECT_EQ(odd->Attributes().member, "Someone");
}

// What the picker offers under each filter is the core's; here it leaves out the
// readers already listed and OK puts the added entries on top, first one first.
// Deleting asks only about selected entries.
TEST_F(PerformerPageTest, PickerLeavesOutTheReadersAddsOnTopAndDeleteAsksAboutTheSelected) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.readers = {"Ann Lee", "Audit"};
  });
  auto sheet = OpenPerformer(node);
  CElementList* readers = page_->Readers();
  std::unique_ptr<QMenu> menu(readers->CreateContextMenu(nullptr));
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&Add Item"));
  EXPECT_TRUE(menu->actions()[1]->isEnabled());
  readers->DeleteSelectedItems();
  EXPECT_TRUE(ui.messages.empty()) << "nothing selected";
  Strings offered;
  OnNextModal<CDlgAccessControlList>([&](CDlgAccessControlList& picker) {
    offered = Texts(picker.AvailableList());
    EXPECT_FALSE(picker.RemoveButton()->isEnabled());
    picker.FilterBox()->setCurrentIndex(4);  // "Show only roles"
    EXPECT_EQ(Texts(picker.AvailableList()), (Strings{"Clerk", "Approver"}));
    picker.FilterBox()->setCurrentIndex(0);
    Select(picker.AvailableList(), {"Board", "Carla Diaz"});
    QTest::mouseClick(picker.AddButton(), Qt::LeftButton);
    picker.accept();
  });
  readers->AddItems();
  EXPECT_EQ(offered, (Strings{"Bob Stone", "Carla Diaz", "Board", "Sales/North", "Sales/South",
                              "Clerk", "Approver"}));
  EXPECT_EQ(readers->item(0)->data(Qt::UserRole).toInt(), 1);

  Select(readers, {"Audit"});
  ui.answers = {velk::MsgResult::No, velk::MsgResult::Yes};
  readers->DeleteSelectedItems();
  EXPECT_EQ(readers->count(), 4);
  readers->DeleteSelectedItems();
  EXPECT_EQ(MessageTexts(),
            Strings(2, "Are you sure, that the 1 selected items should be removed?"));
  sheet->accept();
  EXPECT_EQ(node->Attributes().readers, (Strings{"Board", "Carla Diaz", "Ann Lee"}));
  readers->clear();
  menu.reset(readers->CreateContextMenu(nullptr));
  EXPECT_FALSE(menu->actions()[1]->isEnabled());
}

using TaskPagesTest = SheetTest;

// Storing "All" alone is the core's; here the box shows it and unchecking it
// opens the list and stores what it holds. A secondary form leaves the primary
// list and returns to it when deleted.
TEST_F(TaskPagesTest, FormsPageShowsAllAdditionalFormsAndMovesSecondaryFormsOutOfThePrimaryList) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.objects = {"Order|GF_Order"};
    a.folderObjects = {"All", "Memo|GF_Memo"};
  });
  auto sheet = OpenSheet(node, QStringLiteral("Forms"));
  QCheckBox* box = Find<QCheckBox>(sheet.get(), "allAdditionalForms");
  EXPECT_TRUE(box->isChecked());
  EXPECT_FALSE(sheet->Forms().AdditionalList()->isEnabled());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
  EXPECT_TRUE(sheet->Forms().AdditionalList()->isEnabled());

  QComboBox* primary = Find<QComboBox>(sheet.get(), "primaryForm");
  QListWidget* secondary = sheet->Forms().SecondaryList();
  const Strings all = {"Invoice|GF_Invoice", "Memo|GF_Memo", "Order|GF_Order"};
  EXPECT_EQ(Texts(primary), all);
  Strings offered;
  OnNextModal<CDlgAddNewForms>([&](CDlgAddNewForms& dialog) {
    offered = Texts(dialog.AvailableList());
    Select(dialog.AvailableList(), {"Invoice|GF_Invoice"});
    QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
    dialog.accept();
  });
  std::unique_ptr<QMenu> menu(sheet->Forms().CreateContextMenu(secondary, nullptr));
  EXPECT_FALSE(menu->actions()[1]->isEnabled());  // "&Delete Forms" on an empty list
  menu->actions()[0]->trigger();                  // "&Add Forms"
  EXPECT_EQ(offered, (Strings{"Invoice|GF_Invoice", "Memo|GF_Memo"}));
  EXPECT_EQ(Texts(secondary), Strings{"Invoice|GF_Invoice"});
  EXPECT_EQ(Texts(primary), (Strings{"Memo|GF_Memo", "Order|GF_Order"}));

  Select(secondary, {"Invoice|GF_Invoice"});
  sheet->Forms().DeleteForms();
  EXPECT_EQ(Texts(primary), all);
  EXPECT_EQ(primary->currentText(), QStringLiteral("Order|GF_Order"));
  EXPECT_TRUE(ui.messages.empty());
  sheet->accept();
  EXPECT_TRUE(node->Attributes().folderObjects.empty());
  EXPECT_EQ(node->Attributes().objects, Strings{"Order|GF_Order"});
}

// The resources offered are the core's; here an activity edited to nothing is
// dropped, the chosen resource is added sorted and a deleted one goes unasked.
TEST_F(TaskPagesTest, ActivitiesAndResourcesStoreWhatTheirListsHold) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.activities = {"Call customer", "Write offer"};
    a.resources = {"projector", ""};
  });
  auto sheet = OpenSheet(node, QStringLiteral("Activities"));
  QListWidget* activities = sheet->Activities().List();
  std::unique_ptr<QMenu> menu(sheet->Activities().CreateContextMenu(nullptr));
  EXPECT_FALSE(menu->actions()[1]->isEnabled());  // nothing selected
  sheet->Activities().AddActivity();
  EXPECT_EQ(Texts(activities), (Strings{"Call customer", "New Activity", "Write offer"}));
  activities->findItems(QStringLiteral("Call customer"), Qt::MatchExactly)[0]->setText(QString());
  QTest::mouseClick(Find<QCheckBox>(sheet.get(), "enforceCompletion"), Qt::LeftButton, {},
                    QPoint(4, 4));

  ClickTab(sheet->Tabs(), QStringLiteral("Resources"));
  QListWidget* resources = sheet->Resources().List();
  EXPECT_EQ(Texts(resources), Strings{"projector"});
  OnNextModal<CDlgSelectResource>([&](CDlgSelectResource& dialog) {
    EXPECT_EQ(Texts(dialog.ResourceBox()), (Strings{"Company Car", "Meeting Room A"}));
    dialog.accept();
  });
  sheet->Resources().AddResource();
  EXPECT_EQ(Texts(resources), (Strings{"Company Car", "projector"}));
  Select(resources, {"projector"});
  sheet->Resources().DeleteResources();
  EXPECT_TRUE(ui.messages.empty());
  sheet->accept();
  const velk::NodeAttributes& stored = node->Attributes();
  EXPECT_EQ(std::tuple(stored.activities, stored.activityFlag, stored.resources),
            std::tuple(Strings{"New Activity", "Write offer"}, true, Strings{"Company Car"}));
}

}  // namespace
