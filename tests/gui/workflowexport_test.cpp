// Export of workflow diagrams: the files written for a level and for the whole
// workflow, what they show, and failures reported instead of half-written files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/ui/nodebitmaps.h"
#include "common/headlessservices.h"
#include "demoworkflow.h"
#include "editor/ui/workflowexport.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "repository/demoworkflows.h"

namespace {

using velk::CNode;
using velk::CWorkflowDoc;

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The text an SVG shows (its title left out), words separated by single spaces.
QString SvgWords(const QString& path) {
  QString text = ReadText(path);
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

// The names of a level's tasks.
QStringList Names(const CWorkflowDoc& level) {
  QStringList names;
  for (const CNode* node : level.LevelNodes()) names << QString::fromStdString(node->Name());
  return names;
}

// The stored demo workflow with the most levels (nested clusters).
std::unique_ptr<CWorkflowDoc> NestedDemo(velk::Services& services) {
  std::unique_ptr<CWorkflowDoc> best;
  int most = 0;
  for (auto& doc : velk::demo::BuildDemoWorkflows(services)) {
    const int levels = WorkflowLevelCount(*doc);
    if (levels > most) {
      most = levels;
      best = std::move(doc);
    }
  }
  return best;
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { bitmaps.Load(ui); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Export(const CWorkflowDoc& level, bool whole, ExportFormat format, const QString& name,
                 const ExportOptions& options = {}) {
    return ExportWorkflow(level, whole, format, Path(name), bitmaps, options);
  }

  velk::HeadlessServices ui;
  CNodeBitmaps bitmaps;
  QTemporaryDir dir;
};

TEST_F(ExportTest, SvgOfEveryLevelNamesEveryTaskOfThatLevelOnly) {
  viewtest::DemoWorkflow demo{ui};
  ASSERT_EQ(Export(*demo.doc, true, ExportFormat::Svg, "order.svg"), QString());
  ASSERT_EQ(Export(*demo.clusterDoc, false, ExportFormat::Svg, "level.svg"), QString());
  const QString top = SvgWords(Path("order.svg"));
  const QString cluster = SvgWords(Path("order-2.svg"));
  // The cluster window's level alone is the same picture as its page of the whole.
  EXPECT_EQ(SvgWords(Path("level.svg")), cluster);
  for (const QString& name : Names(*demo.doc)) {
    EXPECT_TRUE(top.contains(name)) << name.toStdString();
    EXPECT_FALSE(cluster.contains(name)) << name.toStdString();
  }
  for (const QString& name : Names(*demo.clusterDoc)) {
    EXPECT_TRUE(cluster.contains(name)) << name.toStdString();
    EXPECT_FALSE(top.contains(name)) << name.toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("order-3.svg")));
}

TEST_F(ExportTest, PdfHasOnePagePerExportedLevel) {
  viewtest::DemoWorkflow demo{ui};
  std::unique_ptr<CWorkflowDoc> nested = NestedDemo(ui);
  ASSERT_TRUE(nested);
  CWorkflowDoc empty{ui};
  struct Case {
    const char* name;
    const CWorkflowDoc* level;
    bool whole;
    int pages;
  };
  const std::vector<Case> cases = {
      {"demo-all.pdf", demo.doc.get(), true, 2},  {"demo-top.pdf", demo.doc.get(), false, 1},
      {"cluster.pdf", demo.clusterDoc, false, 1}, {"nested-all.pdf", nested.get(), true, 3},
      {"nested-top.pdf", nested.get(), false, 1}, {"empty.pdf", &empty, true, 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Export(*c.level, c.whole, ExportFormat::Pdf, c.name), QString()) << c.name;
    EXPECT_EQ(PdfPages(Path(c.name)), c.pages) << c.name;
  }
}

TEST_F(ExportTest, ExportLeavesTheUsersDocumentsAlone) {
  viewtest::DemoWorkflow demo{ui};
  demo.doc->CloseClusterDocument(*demo.clusterDoc);
  const auto selected = demo.doc->Session().SelectedNodes();
  ASSERT_FALSE(selected.empty());
  for (ExportFormat format : {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf})
    ASSERT_EQ(Export(*demo.doc, true, format, "x." + ExportSuffix(format)), QString());
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
    ASSERT_FALSE(image.isNull()) << dpi;
    EXPECT_NEAR(image.width(), (area.Width() + 50) * dpi / 100.0, 1.0) << dpi;
    EXPECT_NEAR(image.height(), (area.Height() + 50) * dpi / 100.0, 1.0) << dpi;
    // The margin is white; the node's picture lies where the crop puts it.
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255)) << dpi;
    const velk::Point centre = node->GetRect().Center();
    const QPoint at(qRound((centre.x - area.left + 25) * dpi / 100.0),
                    qRound((area.top + 25 - centre.y) * dpi / 100.0));
    int inked = 0;
    for (int dx = -5; dx <= 5; ++dx)
      for (int dy = -5; dy <= 5; ++dy)
        inked += image.pixel(at + QPoint(dx, dy)) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 20) << dpi;
  }
}

TEST_F(ExportTest, PngOfTheWholeWorkflowWritesOneFilePerLevel) {
  std::unique_ptr<CWorkflowDoc> nested = NestedDemo(ui);
  ASSERT_TRUE(nested);
  ASSERT_EQ(Export(*nested, true, ExportFormat::Png, "levels.png"), QString());
  for (const QString& file : ExportFileNames(Path("levels.png"), 3)) {
    const QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    int inked = 0;
    for (int y = 0; y < image.height(); y += 2)
      for (int x = 0; x < image.width(); x += 2) inked += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 50) << file.toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("levels-4.png")));
}

TEST(ExportFileNames, FurtherLevelsNumberTheLastSuffixOfTheFileName) {
  struct Case {
    QString path;
    int count;
    QStringList names;
  };
  const std::vector<Case> cases = {
      {"/a/order.png", 3, {"/a/order.png", "/a/order-2.png", "/a/order-3.png"}},
      {"/a.b/order", 2, {"/a.b/order", "/a.b/order-2"}},
      {"order.v2.svg", 2, {"order.v2.svg", "order.v2-2.svg"}},
      {"x.png", 0, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExportFileNames(c.path, c.count), c.names) << c.path.toStdString();
}

TEST(ExportFormat, NamesAreReadInAnyCaseAndOthersRefused) {
  EXPECT_EQ(ExportFormatFromName("PNG"), ExportFormat::Png);
  EXPECT_EQ(ExportFormatFromName("svg"), ExportFormat::Svg);
  EXPECT_EQ(ExportFormatFromName("Pdf"), ExportFormat::Pdf);
  for (const char* bad : {"", "jpg", "pngx", ".png"})
    EXPECT_FALSE(ExportFormatFromName(bad)) << bad;
}

TEST_F(ExportTest, UnwritableFilesAreReportedAndLeaveNothingBehind) {
  viewtest::DemoWorkflow demo{ui};
  const QString missingDir = Path("missing/x");
  for (ExportFormat format : {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf}) {
    const QString path = missingDir + "." + ExportSuffix(format);
    const QString error = ExportWorkflow(*demo.doc, true, format, path, bitmaps);
    EXPECT_TRUE(error.startsWith("Cannot write " + path)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
  }
  EXPECT_FALSE(ExportWorkflow(*demo.doc, false, ExportFormat::Png, {}, bitmaps).isEmpty());
}

}  // namespace
