// "Load workflow" and "Save Workflow as" on the demo's stored workflows. With
// VELK_SCREENSHOT_DIR set, the two dialogs are also saved there as pictures.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>

#include "core/storagefixture.h"
#include "dialogs/ui/chooserimages.h"
#include "dialogs/ui/workflowchooserdialogs.h"
#include "gui/shellfixture.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

class ChooserDialogTest : public StorageTest {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    LNDatabase db = Open();
    LNThrowAllErrorsScope throwing(db, true);
    LNTransaction transaction(db);
    demo::StoreDemoWorkflows(ui, db, "procdef.nsf", "C1257A1B:0034F2E1");
    transaction.Commit();
  }
  static std::vector<std::string> Texts(const QTreeWidgetItem* parent) {
    std::vector<std::string> texts;
    for (int i = 0; i < parent->childCount(); ++i)
      texts.push_back(parent->child(i)->text(0).toStdString());
    return texts;
  }
  // The categories in tree order. (Headers come in the order of their ids, which are new each run.)
  static QTreeWidgetItem* Category(QTreeWidget* tree, const QString& name) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      if (tree->topLevelItem(i)->text(0) == name) return tree->topLevelItem(i);
    return nullptr;
  }
  static void Shoot(QWidget& dialog, const char* name) {
    dialog.adjustSize();
    shelltest::Picture(dialog, name);
  }
};

TEST_F(ChooserDialogTest, LoadWorkflowFiltersAndReturnsTheChosenVersion) {
  CDlgLoadWorkflow dialog(*repository);
  EXPECT_EQ(dialog.findChild<QLabel*>("database")->text().toStdString(), "procdef.nsf");
  QTreeWidget* tree = dialog.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 4);
  ASSERT_NE(Category(tree, "Sales"), nullptr);
  std::vector<std::string> sales = Texts(Category(tree, "Sales"));
  std::sort(sales.begin(), sales.end());
  EXPECT_EQ(sales, (std::vector<std::string>{"Order Handling (Version 1.0) (Freeze)",
                                             "Order Handling (Version 2.0) (Active)"}));
  Shoot(dialog, "load-workflow");

  dialog.FilterBox()->setCurrentIndex(static_cast<int>(ChooserFilter::Active));
  ASSERT_EQ(tree->topLevelItemCount(), 1) << "the Active sub-workflow is not a normal workflow";
  EXPECT_EQ(Texts(tree->topLevelItem(0)),
            std::vector<std::string>{"Order Handling (Version 2.0) (Active)"});

  tree->setCurrentItem(tree->topLevelItem(0));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted) << "a category is no workflow";
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kNoWorkflowSelectedText);

  tree->setCurrentItem(tree->topLevelItem(0)->child(0));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Chosen().type, "Order Handling");
  EXPECT_EQ(dialog.Chosen().version, 2);
  EXPECT_EQ(dialog.Chosen().workflowId.size(), 32u);
}

TEST_F(ChooserDialogTest, SaveWorkflowAsTakesTheClickedVersionsName) {
  CDlgSaveWorkflowAs dialog(doc.UserInterface(), &doc);
  QListWidget* versions = dialog.Versions();
  ASSERT_EQ(versions->count(), 5);
  EXPECT_EQ(dialog.NameEdit()->text(), "New workflow");
  Shoot(dialog, "save-workflow-as");
  for (int row = 0; row < versions->count(); ++row) {
    if (!versions->item(row)->text().startsWith("Travel Request")) continue;
    versions->setCurrentRow(row);
  }
  EXPECT_EQ(dialog.NameEdit()->text(), "Travel Request");
  dialog.NameEdit()->setText("Travel Request 2027");
  dialog.accept();
  EXPECT_EQ(doc.Header().name, "Travel Request 2027");
}

TEST(ChooserImagesTest, SevenTransparentImagesOfSixteenPixels) {
  for (int i = 0; i < kChooserImageCount; ++i) {
    const QImage image = ChooserPixmap(i).toImage();
    EXPECT_EQ(image.size(), kChooserImageSize) << i;
    EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0) << "transparent corner " << i;
  }
  EXPECT_TRUE(ChooserPixmap(7).isNull());
}

}  // namespace
}  // namespace velk::testing
