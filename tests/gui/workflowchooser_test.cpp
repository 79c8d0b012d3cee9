// "Load workflow" and "Save Workflow as" on the demo's stored workflows. With
// VELK_SCREENSHOT_DIR set, the two dialogs are also saved there as pictures.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTreeWidget>

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
};

// The tree's order, the filters' rules and the texts are the core's; here the
// dialog shows them, filters on a choice in its box and accepts only a version.
TEST_F(ChooserDialogTest, LoadWorkflowFiltersAndReturnsTheChosenVersion) {
  CDlgLoadWorkflow dialog(*repository);
  EXPECT_EQ(dialog.findChild<QLabel*>("database")->text().toStdString(), "procdef.nsf");
  QTreeWidget* tree = dialog.Tree();
  EXPECT_EQ(tree->topLevelItemCount(), 4);
  dialog.adjustSize();
  shelltest::Picture(dialog, "load-workflow");
  dialog.FilterBox()->setCurrentIndex(static_cast<int>(ChooserFilter::Active));
  ASSERT_EQ(tree->topLevelItemCount(), 1) << "the Active sub-workflow is not a normal workflow";
  ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);

  tree->setCurrentItem(tree->topLevelItem(0));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted) << "a category is no workflow";
  EXPECT_EQ(ui.messages.size(), 1u);
  tree->setCurrentItem(tree->topLevelItem(0)->child(0));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(std::tuple(dialog.Chosen().type, dialog.Chosen().version),
            std::tuple("Order Handling", 2));
}

TEST_F(ChooserDialogTest, SaveWorkflowAsTakesTheClickedVersionsName) {
  CDlgSaveWorkflowAs dialog(doc.UserInterface(), &doc);
  QListWidget* versions = dialog.Versions();
  ASSERT_EQ(versions->count(), 5);
  EXPECT_EQ(dialog.NameEdit()->text(), "New workflow");
  dialog.adjustSize();
  shelltest::Picture(dialog, "save-workflow-as");
  versions->setCurrentItem(versions->findItems("Travel Request", Qt::MatchStartsWith).front());
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
