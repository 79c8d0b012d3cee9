// The "Performer" page, its readers list and the "Access Control List" picker.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "dialogs/ui/aclpickerdialog.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/nodeproperty.h"
#include "gui/sheetfixture.h"

namespace {

using namespace sheettest;
using velk::NodeKind;
using Strings = std::vector<std::string>;

class PerformerPageTest : public SheetTest {
 protected:
  // The sheet of an internal task, on its "Performer" page.
  std::unique_ptr<CDlgNodeProperty> OpenPerformer(velk::CNode* node) {
    auto sheet =
        std::make_unique<CDlgNodeProperty>(QStringLiteral("Task Properties"), doc, *node, lists,
                                           directory);
    sheet->show();
    sheet->Tabs()->setCurrentIndex(1);
    page_ = &sheet->Performer();
    return sheet;
  }
  template <class W>
  W* Find(const char* name) const {
    return sheettest::Find<W>(page_, name);
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
  const struct {
    int type;
    const char* member;
    const char* argument;
    const char* group;
    const char* combo;
    const char* shown;
  } cases[] = {
      {1, "sales/north", "", "Properties of Type Unit", "unitName", "Sales/North"},  // any case
      {2, "Audit", "", "Properties of Type Workgroup", "workgroupName", "Audit"},
      {3, "Clerk", "Branch", "Properties Of Parameter", "parameter", "Branch"},
      {3, "Clerk", "#Amount#", "Properties Of Field", "field", "Amount"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.group);
    velk::CNode* node = AddTask(NodeKind::Intern, [&](velk::NodeAttributes& a) {
      a.performerType = c.type;
      a.member = c.member;
      a.roleArgument = c.argument;
    });
    auto sheet = OpenPerformer(node);
    EXPECT_TRUE(Shown(c.group));
    EXPECT_FALSE(Shown("Properties of Type Person"));
    EXPECT_EQ(Find<QComboBox>(c.combo)->currentText(), QLatin1String(c.shown));
    if (*c.argument == '#') {
      EXPECT_EQ(Find<QComboBox>("form")->currentText(), QStringLiteral("Order|GF_Order"))
          << "the first form having the field";
    }
    sheet->accept();
    EXPECT_EQ(node->Attributes().roleArgument, c.argument) << "applied unchanged";
  }
}

TEST_F(PerformerPageTest, ChangingWorkgroupToPersonKeepsTheTeamFields) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.performerType = 2;
    a.member = "Audit";
    a.teamManager = "Bob Stone";
  });
  auto sheet = OpenPerformer(node);
  Choose(Find<QComboBox>("performerType"), QStringLiteral("Person"));
  EXPECT_TRUE(Shown("Properties of Type Person"));
  Choose(Find<QComboBox>("person"), QStringLiteral("Carla Diaz"));
  sheet->accept();
  EXPECT_EQ(node->Attributes().performerType, 0);
  EXPECT_EQ(node->Attributes().member, "Carla Diaz");
  EXPECT_EQ(node->Attributes().teamManager, "Bob Stone");
}

TEST_F(PerformerPageTest, UnknownTypeIsReportedAndKeptAsStored) {
  velk::CNode* odd = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.performerType = 7;
    a.member = "Someone";
  });
  auto unknown = OpenPerformer(odd);
  EXPECT_EQ(MessageTexts(), Strings{"Unknown Performer Type!"});
  EXPECT_EQ(Find<QComboBox>("performerType")->currentIndex(), -1);
  unknown->accept();
  EXPECT_EQ(odd->Attributes().performerType, 7);
  EXPECT_EQ(odd->Attributes().member, "Someone");
}

TEST_F(PerformerPageTest, PickerHidesReadersAndDropsAPersonRemovedUnderShowOnlyRoles) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.readers = {"Ann Lee", "Audit"};
  });
  auto sheet = OpenPerformer(node);
  CElementList* readers = page_->Readers();
  Strings offered;
  Strings afterRemoval;
  OnNextModal<CDlgAccessControlList>([&](CDlgAccessControlList& picker) {
    offered = Texts(picker.AvailableList());
    EXPECT_FALSE(picker.RemoveButton()->isEnabled());
    Select(picker.AvailableList(), {"Bob Stone", "Clerk"});
    QTest::mouseClick(picker.AddButton(), Qt::LeftButton);
    picker.FilterBox()->setCurrentIndex(4);  // "Show only roles"
    Select(picker.AddedList(), {"Bob Stone", "Clerk"});
    QTest::mouseClick(picker.RemoveButton(), Qt::LeftButton);
    afterRemoval = Texts(picker.AvailableList());
    EXPECT_FALSE(picker.RemoveButton()->isEnabled());
    picker.FilterBox()->setCurrentIndex(0);
    Select(picker.AvailableList(), {"Board", "Carla Diaz"});
    QTest::mouseClick(picker.AddButton(), Qt::LeftButton);
    picker.accept();
  });
  readers->AddItems();
  EXPECT_EQ(offered, (Strings{"Bob Stone", "Carla Diaz", "Board", "Sales/North", "Sales/South",
                              "Clerk", "Approver"}));
  EXPECT_EQ(afterRemoval, (Strings{"Clerk", "Approver"}));
  // OK puts the added entries on top, the first one taken first.
  EXPECT_EQ(Texts(readers), (Strings{"Board", "Carla Diaz", "Ann Lee", "Audit"}));
  EXPECT_EQ(readers->item(0)->data(Qt::UserRole).toInt(), 1);
  sheet->accept();
  EXPECT_EQ(node->Attributes().readers, (Strings{"Board", "Carla Diaz", "Ann Lee", "Audit"}));
}

TEST_F(PerformerPageTest, DeleteItemsAsksOnlyAboutSelectedEntries) {
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
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(readers->count(), 2);

  Select(readers, {"Audit"});
  ui.answers = {velk::MsgResult::No, velk::MsgResult::Yes};
  readers->DeleteSelectedItems();
  EXPECT_EQ(readers->count(), 2);
  readers->DeleteSelectedItems();
  EXPECT_EQ(Texts(readers), Strings{"Ann Lee"});
  EXPECT_EQ(MessageTexts(),
            (Strings{"Are you sure, that the 1 selected items should be removed?",
                     "Are you sure, that the 1 selected items should be removed?"}));
  readers->clear();
  menu.reset(readers->CreateContextMenu(nullptr));
  EXPECT_FALSE(menu->actions()[1]->isEnabled());
}

}  // namespace
