// File > "Import BPMN..." and "Export as BPMN..." in the running modeler, chosen
// from the menu with the mouse, the file dialogs answered as a user would.

#include <QFile>
#include <QFileDialog>

#include "model/bpmn.h"
#include "model/workflowjson.h"
#include "modelerfixture.h"

namespace {

class BpmnEndToEndTest : public ModelerTest {
 protected:
  // The next file dialog takes `file`, as if typed and confirmed.
  static void AnswerFileDialog(const QString& file) {
    sheettest::OnNextModal<QFileDialog>([file](QFileDialog& dialog) {
      dialog.selectFile(file);
      static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept checks the name
    });
  }
  QTemporaryDir dir;
};

TEST_F(BpmnEndToEndTest, ImportOpensAProcessUnsavedRefusesOtherFilesAndExportImportsBackEqual) {
  EXPECT_FALSE(frame()->Action(cmd::FileExportBpmn)->isEnabled()) << "no workflow window";
  AnswerFileDialog(QStringLiteral(VELK_BPMN_DIR "/samples/gateways.bpmn"));
  ChooseMenu(QStringLiteral("&File"), QStringLiteral("&Import BPMN..."));
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Doc().Header().name, "Order Fulfilment") << "what it holds is the core's";
  EXPECT_TRUE(Doc().Session().NeedsSaveQuestion()) << "closing asks to save the imported workflow";
  EXPECT_EQ(app->UserInterface().infoCenter().entries(velk::kBpmnImportCategory).size(), 1u);
  shelltest::Picture(*frame(), "bpmn-import");

  // A file that is no BPMN is refused in a message box; no window opens for it.
  shelltest::MessageBoxWatcher watcher;
  AnswerFileDialog(QStringLiteral(VELK_BPMN_DIR "/xsd/DC.xsd"));
  ChooseMenu(QStringLiteral("&File"), QStringLiteral("&Import BPMN..."));
  ASSERT_EQ(watcher.boxes.size(), 1u);
  EXPECT_EQ(watcher.boxes[0].title, QStringLiteral("Import BPMN"));
  EXPECT_TRUE(
      watcher.boxes[0].text.contains(QStringLiteral("is not imported: it is not a BPMN 2.0 file")))
      << watcher.boxes[0].text.toStdString();
  EXPECT_EQ(frame()->MdiArea()->subWindowList().size(), 1) << "the imported workflow's only";

  OpenWorkflow(QStringLiteral("Version 2.0"));
  const QString file = dir.filePath(QStringLiteral("order"));
  AnswerFileDialog(file);
  ChooseMenu(QStringLiteral("&File"), QStringLiteral("Export as &BPMN..."));
  QFile written(file + QStringLiteral(".bpmn"));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the suffix is added";
  velk::CWorkflowDoc back(app->UserInterface());
  EXPECT_TRUE(velk::WorkflowFromBpmn(written.readAll().toStdString(), back).empty());
  EXPECT_EQ(velk::WorkflowToJson(back), velk::WorkflowToJson(Doc()));
}

}  // namespace
