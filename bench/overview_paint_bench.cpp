// Repaints the overview of a level of 5,000 tasks and 5,000 arrows offscreen, as
// it repaints after every edit, scroll or zoom of its window: the whole level
// scaled into 300 x 220 pixels with the shown part's rectangle. Beside it, in
// the same run, the least such a picture takes: a small square per task and a
// line per arrow, straight onto QPainter. Goal: below 16 ms a repaint.
//
//   overview_paint_bench [runs] [picture.png]   (default 20 runs)

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/settings.h"
#include "app/ui/nodebitmaps.h"
#include "bench/benchsupport.h"
#include "bench/editorbench.h"
#include "common/headlessservices.h"
#include "editor/ui/editor.h"
#include "editor/ui/overviewwidget.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "extdir/extdirlookup.h"
#include "model/nodeclipboard.h"
#include "model/workflowdoc.h"

using velk::CNode;

namespace {

constexpr int kColumns = 100;
constexpr int kRows = 50;

void BuildLevel(velk::CWorkflowDoc& doc) {
  std::vector<CNode*> nodes;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      CNode* node =
          doc.InsertNode(velk::NodeRectAt(10 + col * 80, -10 - row * 90), velk::NodeKind::Intern);
      velk::NodeAttributes a = node->Attributes();
      a.name = "Task " + std::to_string(row * kColumns + col);
      doc.SetNodeAttributes(*node, a);
      nodes.push_back(node);
    }
  }
  // Each task to its right neighbour, the last of a row down to the next row.
  for (std::size_t i = 0; i + 1 < nodes.size(); ++i)
    doc.CreateArrow(*nodes[i], *nodes[i + 1], {velk::RoutingKind::And, {}, {}});
}

void PaintRaw(QPainter& p, const velk::CWorkflowDoc& doc, const ViewMapping& m) {
  p.setRenderHints(QPainter::Antialiasing);
  p.fillRect(QRect(0, 0, p.device()->width(), p.device()->height()), Qt::white);
  p.setPen(QPen(Qt::black, 1));
  for (const CNode* n : doc.LevelNodes()) {
    p.fillRect(m.ToDevice(n->GetRect()), Qt::gray);
    for (const velk::CArrow* arrow : n->OutgoingArrows())
      p.drawLine(m.ToDevice(arrow->LineStart()), m.ToDevice(arrow->LineEnd()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  velk::HeadlessServices services;
  auto doc = std::make_shared<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  BuildLevel(*doc);
  bench::BenchEditor built(services);
  const velk::ModelerSettings& settings = built.settings;
  CWorkflowView view(built.editor, doc);
  view.resize(1000, 800);
  COverviewWidget overview;
  overview.resize(300, 220);
  overview.SetView(&view);

  QImage image(overview.size(), QImage::Format_RGB32);
  const ViewMapping mapping = OverviewMapping(
      view.Painter().LevelArea(*doc, view.TextOffsets(), false, settings.arrowSize), image.size());
  std::vector<double> repaint, raw;
  overview.render(&image);  // fonts and pictures are prepared once, as on screen
  for (int run = 0; run < runs; ++run) {
    repaint.push_back(bench::Milliseconds([&] { overview.render(&image); }));
    raw.push_back(bench::Milliseconds([&] {
      QPainter p(&image);
      PaintRaw(p, *doc, mapping);
    }));
  }
  const double r = bench::Median(repaint), b = bench::Median(raw);
  std::printf(
      "Overview of %zu tasks in %dx%d px   %7.2f ms   raw %6.2f ms   ratio %5.2f"
      "   goal below 16 ms   %s\n",
      doc->NodeCount(), image.width(), image.height(), r, b, r / b, r < 16 ? "ok" : "MISSED");
  if (argc > 2) {
    overview.render(&image);
    image.save(QString::fromLocal8Bit(argv[2]));
  }
  return 0;
}
