// File > "Export..." and "Print Preview", Workflow > "Workflow Settings" in the
// running modeler, chosen with the mouse; what the dialogs do is tested with them.

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include "app/ui/statusline.h"
#include "dialogs/ui/wfproperty.h"
#include "modelerfixture.h"

namespace {

TEST_F(ModelerTest, ExportPrintPreviewAndWorkflowSettingsWorkOnTheActiveWorkflow) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("order.svg"));
  sheettest::OnNextModal<QMessageBox>([file](QMessageBox& whichLevels) {
    sheettest::OnNextModal<QFileDialog>([file](QFileDialog& dialog) {
      dialog.selectFile(file);
      static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept checks the name
    });
    for (QAbstractButton* button : whichLevels.buttons())
      if (button->text() == QStringLiteral("This level")) QTest::mouseClick(button, Qt::LeftButton);
  });
  ChooseMenu(QStringLiteral("&File"), QStringLiteral("&Export..."));
  EXPECT_TRUE(QFile::exists(file));
  EXPECT_EQ(frame()->StatusLine()->MessageText(), QStringLiteral("Exported ") + file);

  int pages = 0;
  sheettest::WithModal<QPrintPreviewDialog>(
      [&] { ChooseMenu(QStringLiteral("&File"), QStringLiteral("Print Pre&view")); },
      [&](QPrintPreviewDialog& preview) {
        pages = preview.findChild<QPrintPreviewWidget*>()->pageCount();
        shelltest::Picture(preview, "print-preview-from-menu");
      });
  EXPECT_GT(pages, 0);

  QString title;
  sheettest::WithModal<CDlgWFProperty>(
      [&] { ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("&Workflow Settings")); },
      [&](CDlgWFProperty& sheet) {
        title = sheet.windowTitle();
        QTest::keyClick(&sheet, Qt::Key_Escape);
      });
  EXPECT_EQ(title, QStringLiteral("Workflow Settings"));
  EXPECT_FALSE(Doc().Session().NeedsSaveQuestion()) << "cancelled, nothing changed";
}

}  // namespace
