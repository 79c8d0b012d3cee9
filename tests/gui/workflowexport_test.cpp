// Export of workflow diagrams: the files written for a level and for the whole
// workflow, what they show, and failures reported instead of half-written files;
// "Export..." of a view with its scope question, filter and typed suffix; printing
// a view, and pictures of it and a print-preview page for a person to look at.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/ui/nodebitmaps.h"
#include "common/headlessservices.h"
#include "editor/ui/workflowexport.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowprint.h"
#include "editor/ui/workflowview.h"
#include "sheetfixture.h"
#include "shellfixture.h"
#include "testeditor.h"

namespace {

using velk::CNode;
using velk::CWorkflowDoc;

// The text an SVG shows (its title left out), words separated by single spaces.
QString SvgWords(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QString text = QString::fromUtf8(file.readAll());
  text.remove(QRegularExpression(QStringLiteral("<title>.*</title>"),
                                 QRegularExpression::DotMatchesEverythingOption |
                                     QRegularExpression::InvertedGreedinessOption));
  text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  return text.simplified();
}

int PdfPages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
  int pages = 0;
  for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next())
    ++pages;
  return pages;
}

// The pixels of `area` that are not white.
int Inked(const QImage& image, const QRect& area) {
  int inked = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      inked += image.pixel(x, y) != qRgb(255, 255, 255);
  return inked;
}

class ExportTest : public DemoViewTest {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Export(const CWorkflowDoc& level, bool whole, ExportFormat format, const QString& name,
                 const ExportOptions& options = {}) {
    return ExportWorkflow(level, whole, format, Path(name), bitmaps, options);
  }

  const CNodeBitmaps& bitmaps = editor.bitmaps;
  QTemporaryDir dir;
};

// Nested levels are counted by the command line's render test.
TEST_F(ExportTest, PdfHasOnePagePerExportedLevel) {
  CWorkflowDoc empty{ui};
  const std::tuple<const char*, const CWorkflowDoc*, bool, int> cases[] = {
      {"demo-all.pdf", demo.doc.get(), true, 2},
      {"demo-top.pdf", demo.doc.get(), false, 1},
      {"cluster.pdf", demo.clusterDoc, false, 1},
      {"empty.pdf", &empty, true, 1},
  };
  for (const auto& [name, level, whole, pages] : cases) {
    ASSERT_EQ(Export(*level, whole, ExportFormat::Pdf, name), QString()) << name;
    EXPECT_EQ(PdfPages(Path(name)), pages) << name;
  }
}

// SVG writes a file for each level, naming the tasks of that level only, as a
// cluster window's level alone does; no format opens, selects or changes
// anything. A PNG file per level is the command line's render test's, what it
// shows the PNG test's below.
TEST_F(ExportTest, EveryLevelIsDrawnAndTheUsersDocumentsAreLeftAlone) {
  ASSERT_EQ(Export(*demo.clusterDoc, false, ExportFormat::Svg, "level.svg"), QString());
  demo.doc->CloseClusterDocument(*demo.clusterDoc);
  const auto selected = demo.doc->Session().SelectedNodes();
  for (ExportFormat format : {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf})
    ASSERT_EQ(Export(*demo.doc, true, format, "x." + ExportSuffix(format)), QString());
  const QString top = SvgWords(Path("x.svg"));
  const QString cluster = SvgWords(Path("x-2.svg"));
  EXPECT_EQ(SvgWords(Path("level.svg")), cluster);
  EXPECT_FALSE(QFile::exists(Path("x-3.svg")));
  for (const char* inner : {"Query credit bureau", "Rate risk"})
    EXPECT_TRUE(cluster.contains(inner) && !top.contains(inner)) << inner;
  for (const velk::CNode* node : demo.nodes) {
    const QString name = QString::fromStdString(node->Name());
    EXPECT_TRUE(top.contains(name) && !cluster.contains(name)) << node->Name();
  }
  EXPECT_TRUE(demo.doc->ClusterDocuments().empty());
  EXPECT_EQ(demo.doc->Session().SelectedNodes(), selected);
  EXPECT_FALSE(demo.doc->Session().IsModified());
}

TEST_F(ExportTest, PngIsTheLevelsAreaWithMarginAtTheChosenResolution) {
  CWorkflowDoc doc{ui};
  CNode* node = doc.InsertNode({200, -300, 250, -350}, velk::NodeKind::Intern);
  ExportOptions options;
  options.flags = {false, false, false, false, false};
  options.margin = 25;
  CWorkflowPainter painter(bitmaps);
  const velk::Rect area =
      painter.LevelArea(doc, velk::ComputeTextOffsets(options.flags), false, options.arrowSize);
  for (double dpi : {96.0, 192.0}) {
    options.dpi = dpi;
    const QString name = QStringLiteral("node-%1.png").arg(dpi);
    ASSERT_EQ(Export(doc, false, ExportFormat::Png, name, options), QString());
    const QImage image(Path(name));
    EXPECT_NEAR(image.width(), (area.Width() + 50) * dpi / 100.0, 1.0) << dpi;
    EXPECT_NEAR(image.height(), (area.Height() + 50) * dpi / 100.0, 1.0) << dpi;
    // The margin is white; the node's picture lies where the crop puts it.
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255)) << dpi;
    const velk::Point centre = node->GetRect().Center();
    const QPoint at(qRound((centre.x - area.left + 25) * dpi / 100.0),
                    qRound((area.top + 25 - centre.y) * dpi / 100.0));
    EXPECT_GT(Inked(image, QRect(at - QPoint(5, 5), QSize(11, 11))), 20) << dpi;
  }
}

TEST(ExportNames, FurtherLevelsNumberTheLastSuffixAndFormatsAreReadInAnyCase) {
  const std::tuple<QString, int, QStringList> cases[] = {
      {"/a/order.png", 3, {"/a/order.png", "/a/order-2.png", "/a/order-3.png"}},
      {"/a.b/order", 2, {"/a.b/order", "/a.b/order-2"}},
      {"order.v2.svg", 2, {"order.v2.svg", "order.v2-2.svg"}},
      {"x.png", 0, {}},
  };
  for (const auto& [path, count, names] : cases)
    EXPECT_EQ(ExportFileNames(path, count), names) << path.toStdString();
  // Format names are read in any case; others are refused.
  EXPECT_EQ(ExportFormatFromName("Pdf"), ExportFormat::Pdf);
  for (const char* bad : {"", "jpg", "pngx", ".png"})
    EXPECT_FALSE(ExportFormatFromName(bad)) << bad;
}

TEST_F(ExportTest, UnwritableFilesAreReportedAndLeaveNothingBehind) {
  const QString missingDir = Path("missing/x");
  for (ExportFormat format : {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf}) {
    const QString path = missingDir + "." + ExportSuffix(format);
    const QString error = ExportWorkflow(*demo.doc, true, format, path, bitmaps);
    EXPECT_TRUE(error.startsWith("Cannot write " + path)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
  }
  EXPECT_FALSE(ExportWorkflow(*demo.doc, false, ExportFormat::Png, {}, bitmaps).isEmpty());
}

// Answers the export's dialogs as they open: the scope question (when a scope
// is given) with that button, then the file; `seen` lists them in order.
void AnswerExport(QStringList& seen, const QString& scope, const QString& filter,
                  const QString& file) {
  if (!scope.isEmpty()) {
    sheettest::OnNextModal<QMessageBox>([&seen, scope](QMessageBox& box) {
      seen << QStringLiteral("question");
      for (QAbstractButton* button : box.buttons())
        if (button->text() == scope) return button->click();
      box.reject();
    });
  }
  sheettest::OnNextModal<QFileDialog>([&seen, filter, file](QFileDialog& dialog) {
    seen << QStringLiteral("file");
    dialog.selectNameFilter(filter);
    dialog.selectFile(file);
    static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept checks the name
  });
}

TEST_F(ExportTest, ScopeFilterAndTypedSuffixDecideWhatIsWritten) {
  // The scope button, the file type, the name typed, the files written and one not.
  const std::tuple<QString, QString, QString, QStringList, QString> cases[] = {
      {"Whole workflow", "SVG drawing (*.svg)", "all", {"all.svg", "all-2.svg"}, "all.png"},
      {"This level", "PNG image (*.png)", "top", {"top.png"}, "top-2.png"},
      {"This level", "PNG image (*.png)", "typed.pdf", {"typed.pdf"}, "typed.pdf.png"},
  };
  CWorkflowView view(editor.editor, demo.doc);
  for (const auto& [scope, filter, typed, written, missing] : cases) {
    QStringList seen;
    AnswerExport(seen, scope, filter, dir.filePath(typed));
    ASSERT_TRUE(view.OnCommand(cmd::FileExport));
    EXPECT_EQ(seen, QStringList({"question", "file"})) << typed.toStdString();
    for (const QString& file : written)
      EXPECT_TRUE(QFile::exists(dir.filePath(file))) << file.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(missing))) << missing.toStdString();
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportTest, ALevelWithoutClustersIsNotAskedAboutAndFailuresAreShown) {
  auto single = std::make_shared<velk::CWorkflowDoc>(ui);
  single->InsertNode(velk::NodeRectAt(40, -40), velk::NodeKind::Intern);
  CWorkflowView singleView(editor.editor, single);
  QStringList seen;
  AnswerExport(seen, {}, "PNG image (*.png)", dir.filePath("missing/x.png"));
  ASSERT_TRUE(singleView.OnCommand(cmd::FileExport));
  EXPECT_EQ(seen, QStringList({"file"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  // The dialog may resolve a folder that does not exist in its own way.
  EXPECT_EQ(ui.messages[0].text.rfind("Cannot write ", 0), 0u) << ui.messages[0].text;
  EXPECT_NE(ui.messages[0].text.find("missing/x.png"), std::string::npos) << ui.messages[0].text;
}

class PrintTest : public ExportTest {
 protected:
  PrintTest() {
    settings.gridVisible = true;
    view.SetFlags({true, true, true, true, true});
  }
  CWorkflowView view{editor.editor, demo.doc};
  void UsePdf(QPrinter& printer, const char* name) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(name));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  }
};

// Which pages cover a level is the core's; here the printer's page size in
// units, and printing every page or only the chosen range.
TEST_F(PrintTest, PrintsThePagesCoveringTheLevelOrTheChosenRange) {
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, "all.pdf");
  const std::vector<velk::Rect> pages = WorkflowPrintPages(view, printer);
  // A4 less 10 mm margins is about 748 x 1091 units; the demo reaches past 748.
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NEAR(pages.front().Width(), 748, 2);
  ASSERT_TRUE(PrintWorkflow(view, printer));
  EXPECT_EQ(PdfPages(dir.filePath("all.pdf")), 2);

  UsePdf(printer, "second.pdf");
  printer.setPrintRange(QPrinter::PageRange);
  printer.setFromTo(2, 2);
  ASSERT_TRUE(PrintWorkflow(view, printer));
  EXPECT_EQ(PdfPages(dir.filePath("second.pdf")), 1);
}

TEST_F(PrintTest, PicturesForALook) {
  if (qEnvironmentVariableIsEmpty("VELK_SCREENSHOT_DIR")) GTEST_SKIP() << "no VELK_SCREENSHOT_DIR";
  view.resize(900, 720);
  view.show();
  shelltest::Picture(view, "view-demo");
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPrintPreviewWidget preview(&printer);
  QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                   [this](QPrinter* p) { PrintWorkflow(view, *p); });
  preview.resize(900, 1100);
  preview.show();
  preview.updatePreview();
  preview.fitToWidth();
  shelltest::Picture(preview, "print-preview");
}

}  // namespace
