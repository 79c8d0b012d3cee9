// The task property sheet and its "Basics" page, and the "Task routing" dialog,
// driven as the user drives them.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "dialogs/ui/nodeproperty.h"
#include "dialogs/ui/taskroutingdialog.h"
#include "gui/sheetfixture.h"

namespace {

using namespace sheettest;
using velk::NodeKind;
using Strings = std::vector<std::string>;

Strings TabTitles(const CDlgNodeProperty& sheet) {
  Strings titles;
  for (int i = 0; i < sheet.Tabs()->count(); ++i)
    titles.push_back(sheet.Tabs()->tabText(i).toStdString());
  return titles;
}

class NodeSheetTest : public SheetTest {
 protected:
  std::unique_ptr<CDlgNodeProperty> Open(velk::CNode* node) {
    auto sheet =
        std::make_unique<CDlgNodeProperty>(QStringLiteral("Task Properties"), doc, *node, lists,
                                           directory);
    sheet->show();
    return sheet;
  }
};

TEST_F(NodeSheetTest, TabsAndTitleFollowTheNodeKind) {
  struct Case {
    NodeKind kind;
    std::string title;
    Strings tabs;
  };
  const std::vector<Case> cases = {
      {NodeKind::In,
       "Internal Node Properties",
       {"Basics", "Performer", "Forms", "Incoming CM", "GRI Info", "Activities", "Resources"}},
      {NodeKind::Extern,
       "External Subscribed Workflow Properties",
       {"Basics", "Outgoing CM", "Incoming CM", "External Subscribed Workflow"}},
      {NodeKind::ICDR, "Task Properties", {"Basics"}},
      {NodeKind::CDDR, "Task Properties", {"Basics"}},
      {NodeKind::ExtWFTask,
       "External WWW Step Properties",
       {"Basics", "External Performer", "Forms"}},
  };
  for (const Case& c : cases) {
    auto sheet = Open(AddTask(c.kind));
    EXPECT_EQ(sheet->windowTitle().toStdString(), c.title);
    EXPECT_EQ(TabTitles(*sheet), c.tabs);
  }
}

TEST_F(NodeSheetTest, CancelAfterEditingSeveralPagesLeavesTheNodeUnchanged) {
  velk::CNode* node =
      AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) { a.activities = {"Call"}; });
  const velk::NodeAttributes before = node->Attributes();
  auto sheet = Open(node);
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
  auto sheet = Open(node);
  QLineEdit* name = Find<QLineEdit>(sheet.get(), "name");
  name->clear();
  QTest::keyClicks(name, QStringLiteral("Approve order"));
  QLineEdit* duration = Find<QLineEdit>(sheet.get(), "duration");
  duration->clear();
  QTest::keyClicks(duration, QStringLiteral("12"));
  Find<QComboBox>(sheet.get(), "durationUnit")->setCurrentIndex(2);
  QTest::keyClicks(Find<QPlainTextEdit>(sheet.get(), "description"), QStringLiteral("Look"));
  sheet->accept();

  EXPECT_EQ(sheet->result(), QDialog::Accepted);
  expected.name = "Approve order";
  expected.duration = 12;
  expected.durationUnit = 2;
  expected.freeText = "Look";
  EXPECT_EQ(node->Attributes(), expected);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NodeSheetTest, DurationOutsideItsRangeKeepsThePageInFront) {
  velk::CNode* node = AddTask(NodeKind::Intern);
  const velk::NodeAttributes before = node->Attributes();
  auto sheet = Open(node);
  QLineEdit* duration = Find<QLineEdit>(sheet.get(), "duration");
  duration->setText(QStringLiteral("10000"));
  sheet->Tabs()->setCurrentIndex(2);
  EXPECT_EQ(sheet->Tabs()->currentIndex(), 0);
  sheet->accept();
  EXPECT_NE(sheet->result(), QDialog::Accepted);
  duration->setText(QStringLiteral("ten"));
  sheet->accept();
  EXPECT_EQ(MessageTexts(),
            (Strings{"Please enter an integer between 0 and 9999.",
                     "Please enter an integer between 0 and 9999.", "Please enter an integer."}));
  EXPECT_EQ(node->Attributes(), before);
  EXPECT_TRUE(sheet->isVisible());
}

TEST_F(NodeSheetTest, ClusterHasNoDurationOfItsOwn) {
  velk::CNode* node = AddTask(NodeKind::IWC);
  auto sheet = Open(node);
  EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Internal Workflow Cluster Properties"));
  EXPECT_FALSE(Find<QLineEdit>(sheet.get(), "duration")->isEnabled());
  EXPECT_FALSE(Find<QComboBox>(sheet.get(), "durationUnit")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>(sheet.get(), "name")->isEnabled());
}

class TaskRoutingTest : public SheetTest {
 protected:
  velk::CArrow* Arrow(velk::ArrowRouting routing) {
    velk::CNode* a = AddTask(NodeKind::Intern);
    velk::CNode* b = AddTask(NodeKind::Intern);
    return doc.CreateArrow(*a, *b, routing);
  }
};

TEST_F(TaskRoutingTest, OpensWithTheArrowsValuesAndEnablesByOption) {
  velk::CArrow* arrow = Arrow({velk::RoutingKind::Cor, "big", "Amount > 10"});
  CDlgTaskRouting dialog(doc, *arrow, lists);
  dialog.show();
  EXPECT_TRUE(dialog.Option(3)->isChecked());
  EXPECT_EQ(dialog.DescriptionBox()->text(), QStringLiteral("big"));
  EXPECT_EQ(dialog.FormulaBox()->toPlainText(), QStringLiteral("Amount > 10"));
  EXPECT_TRUE(dialog.FormulaBox()->isEnabled());

  QTest::mouseClick(dialog.Option(0), Qt::LeftButton);
  EXPECT_FALSE(dialog.FormulaBox()->isEnabled());
  EXPECT_FALSE(dialog.DescriptionBox()->isEnabled());
  QTest::mouseClick(dialog.Option(2), Qt::LeftButton);
  EXPECT_FALSE(dialog.FormulaBox()->isEnabled());
  EXPECT_TRUE(dialog.DescriptionBox()->isEnabled());
}

TEST_F(TaskRoutingTest, UnbalancedFormulaKeepsTheDialogOpen) {
  velk::CArrow* arrow = Arrow({velk::RoutingKind::Cor, "big", ""});
  CDlgTaskRouting dialog(doc, *arrow, lists);
  dialog.show();
  dialog.FormulaBox()->setPlainText(QStringLiteral("(Amount > 10"));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(arrow->Formula(), "");
}

TEST_F(TaskRoutingTest, AlwaysWithEmptyDescriptionIsAcceptedAndClearsTheCondition) {
  velk::CArrow* arrow = Arrow({velk::RoutingKind::Xor, "cheap", "x = 1"});
  CDlgTaskRouting dialog(doc, *arrow, lists);
  dialog.show();
  QTest::mouseClick(dialog.Option(1), Qt::LeftButton);
  dialog.DescriptionBox()->clear();
  dialog.accept();
  EXPECT_EQ(MessageTexts(), Strings{"Error: \r\n\r\nPlease enter Arrow description!"});
  EXPECT_EQ(arrow->Kind(), velk::RoutingKind::Xor);

  QTest::mouseClick(dialog.Option(0), Qt::LeftButton);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(arrow->Routing(), (velk::ArrowRouting{velk::RoutingKind::And, "", "x = 1"}));
}

}  // namespace
