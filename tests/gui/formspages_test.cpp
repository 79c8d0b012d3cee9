// The "Forms", "Activities" and "Resources" pages with "Add New Forms" and
// "Select Resource".
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "dialogs/ui/addnewforms.h"
#include "dialogs/ui/nodeproperty.h"
#include "dialogs/ui/selectresource.h"
#include "gui/sheetfixture.h"

namespace {

using namespace sheettest;
using velk::NodeKind;
using Strings = std::vector<std::string>;

class TaskPagesTest : public SheetTest {
 protected:
  std::unique_ptr<CDlgNodeProperty> OpenAt(velk::CNode* node, const QString& tab) {
    auto sheet =
        std::make_unique<CDlgNodeProperty>(QStringLiteral("Task Properties"), doc, *node, lists,
                                           directory);
    sheet->show();
    for (int i = 0; i < sheet->Tabs()->count(); ++i)
      if (sheet->Tabs()->tabText(i) == tab) sheet->Tabs()->setCurrentIndex(i);
    EXPECT_EQ(sheet->Tabs()->tabText(sheet->Tabs()->currentIndex()), tab);
    return sheet;
  }
};

TEST_F(TaskPagesTest, AllAdditionalFormsIsStoredAloneAndUncheckingStoresTheList) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.objects = {"Order|GF_Order"};
    a.folderObjects = {"All", "Memo|GF_Memo"};
  });
  auto sheet = OpenAt(node, QStringLiteral("Forms"));
  EXPECT_TRUE(Find<QCheckBox>(sheet.get(), "allAdditionalForms")->isChecked());
  EXPECT_FALSE(sheet->Forms().AdditionalList()->isEnabled());
  sheet->accept();
  EXPECT_EQ(node->Attributes().folderObjects, Strings{"All"});
  EXPECT_EQ(node->Attributes().objects, Strings{"Order|GF_Order"});

  auto again = OpenAt(node, QStringLiteral("Forms"));
  QCheckBox* box = Find<QCheckBox>(again.get(), "allAdditionalForms");
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(again->Forms().AdditionalList()->isEnabled());
  again->accept();
  EXPECT_TRUE(node->Attributes().folderObjects.empty());
}

TEST_F(TaskPagesTest, SecondaryFormLeavesThePrimaryListAndReturnsWhenDeleted) {
  velk::CNode* node =
      AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) { a.objects = {"Order|GF_Order"}; });
  auto sheet = OpenAt(node, QStringLiteral("Forms"));
  QComboBox* primary = Find<QComboBox>(sheet.get(), "primaryForm");
  QListWidget* secondary = sheet->Forms().SecondaryList();
  EXPECT_EQ(Texts(primary), (Strings{"Invoice|GF_Invoice", "Memo|GF_Memo", "Order|GF_Order"}));
  EXPECT_EQ(primary->currentText(), QStringLiteral("Order|GF_Order"));

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
  EXPECT_EQ(primary->currentText(), QStringLiteral("Order|GF_Order"));

  Select(secondary, {"Invoice|GF_Invoice"});
  sheet->Forms().DeleteForms();
  EXPECT_EQ(Texts(primary), (Strings{"Invoice|GF_Invoice", "Memo|GF_Memo", "Order|GF_Order"}));
  EXPECT_EQ(primary->currentText(), QStringLiteral("Order|GF_Order"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TaskPagesTest, ActivityEditedToEmptyIsNotStored) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.activities = {"Call customer", "Write offer"};
  });
  auto sheet = OpenAt(node, QStringLiteral("Activities"));
  QListWidget* list = sheet->Activities().List();
  std::unique_ptr<QMenu> menu(sheet->Activities().CreateContextMenu(nullptr));
  EXPECT_FALSE(menu->actions()[1]->isEnabled());  // nothing selected
  sheet->Activities().AddActivity();
  EXPECT_EQ(Texts(list), (Strings{"Call customer", "New Activity", "Write offer"}));
  EXPECT_EQ(ui.currentStatus(), "ItemChanged");
  list->findItems(QStringLiteral("Call customer"), Qt::MatchExactly)[0]->setText(QString());
  QTest::mouseClick(Find<QCheckBox>(sheet.get(), "enforceCompletion"), Qt::LeftButton, {},
                    QPoint(4, 4));
  sheet->accept();
  EXPECT_EQ(node->Attributes().activities, (Strings{"New Activity", "Write offer"}));
  EXPECT_TRUE(node->Attributes().activityFlag);
}

TEST_F(TaskPagesTest, SelectResourceOffersOnlyMissingResources) {
  velk::CNode* node = AddTask(NodeKind::Intern, [](velk::NodeAttributes& a) {
    a.resources = {"projector", ""};
  });
  auto sheet = OpenAt(node, QStringLiteral("Resources"));
  QListWidget* list = sheet->Resources().List();
  EXPECT_EQ(Texts(list), Strings{"projector"});

  Strings offered;
  OnNextModal<CDlgSelectResource>([&](CDlgSelectResource& dialog) {
    offered = Texts(dialog.ResourceBox());
    EXPECT_EQ(dialog.ResourceBox()->currentText(), QStringLiteral("Company Car"));
    dialog.accept();
  });
  sheet->Resources().AddResource();
  EXPECT_EQ(offered, (Strings{"Company Car", "Meeting Room A"}));
  EXPECT_EQ(Texts(list), (Strings{"Company Car", "projector"}));

  OnNextModal<CDlgSelectResource>([](CDlgSelectResource& dialog) { dialog.accept(); });
  sheet->Resources().AddResource();
  Select(list, {"projector"});
  sheet->Resources().DeleteResources();
  EXPECT_TRUE(ui.messages.empty());
  sheet->accept();
  EXPECT_EQ(node->Attributes().resources, (Strings{"Company Car", "Meeting Room A"}));
}

}  // namespace
