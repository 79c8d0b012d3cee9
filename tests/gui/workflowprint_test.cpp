// Printing a workflow view, and pictures of the view and a print-preview page
// for a person to look at (written only when VELK_SCREENSHOT_DIR names a folder).
#include <gtest/gtest.h>

#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include "common/headlessservices.h"
#include "demoworkflow.h"
#include "editor/ui/workflowprint.h"
#include "editor/ui/workflowview.h"
#include "shellfixture.h"
#include "testeditor.h"

namespace {

class PrintTest : public ::testing::Test {
 protected:
  velk::HeadlessServices ui;
  TestEditor editor{ui};
  velk::ModelerSettings& settings = editor.settings;
  viewtest::DemoWorkflow demo{ui};
  std::unique_ptr<CWorkflowView> view;
  QTemporaryDir dir;

  void SetUp() override {
    settings.gridVisible = true;
    view = std::make_unique<CWorkflowView>(editor.editor, demo.doc);
    view->SetFlags({true, true, true, true, true});
  }
  void TearDown() override { view.reset(); }
  void UsePdf(QPrinter& printer, const char* name) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(name));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  }
};

}  // namespace

TEST_F(PrintTest, PagesCoverTheLevelFromTheTopLeft) {
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, "pages.pdf");
  const std::vector<velk::Rect> pages = WorkflowPrintPages(*view, printer);
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages.front().left, 0);
  EXPECT_EQ(pages.front().top, 0);
  // A4 less 10 mm margins is about 748 x 1091 units; the demo reaches past 748.
  EXPECT_NEAR(pages.front().Width(), 748, 2);
  EXPECT_EQ(pages.size(), 2u);

  velk::CWorkflowDoc empty(ui, "CN=Test Designer/O=Marvelund", "06.12.2026");
  CWorkflowView emptyView(editor.editor, std::shared_ptr<velk::CWorkflowDoc>(&empty, [](velk::CWorkflowDoc*) {}));
  EXPECT_EQ(WorkflowPrintPages(emptyView, printer).size(), 1u);
}

TEST_F(PrintTest, PrintsEveryPageOrTheChosenRange) {
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, "all.pdf");
  ASSERT_TRUE(PrintWorkflow(*view, printer));
  const qint64 allSize = QFileInfo(dir.filePath("all.pdf")).size();
  EXPECT_GT(allSize, 0);

  UsePdf(printer, "second.pdf");
  printer.setPrintRange(QPrinter::PageRange);
  printer.setFromTo(2, 2);
  ASSERT_TRUE(PrintWorkflow(*view, printer));
  EXPECT_GT(QFileInfo(dir.filePath("second.pdf")).size(), 0);
}

TEST_F(PrintTest, PicturesForALook) {
  if (qEnvironmentVariableIsEmpty("VELK_SCREENSHOT_DIR")) GTEST_SKIP() << "no VELK_SCREENSHOT_DIR";
  view->resize(900, 720);
  view->show();
  shelltest::Picture(*view, "view-demo");
  CWorkflowView clusterView(editor.editor, std::shared_ptr<velk::CWorkflowDoc>(demo.doc, demo.clusterDoc));
  clusterView.resize(500, 360);
  clusterView.show();
  shelltest::Picture(clusterView, "view-cluster");
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPrintPreviewWidget preview(&printer);
  QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                   [this](QPrinter* p) { PrintWorkflow(*view, *p); });
  preview.resize(900, 1100);
  preview.show();
  preview.updatePreview();
  preview.fitToWidth();
  shelltest::Picture(preview, "print-preview");
}
