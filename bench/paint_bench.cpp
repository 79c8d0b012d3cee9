// Paints a level of 2,000 nodes and 4,000 arrows offscreen and drags a selection
// of 200 nodes across it, the way the view repaints while a selection moves:
// area before, move through the model, area after, repaint of that area only.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include <QPrinter>
#include "app/settings.h"
#include "app/ui/nodebitmaps.h"
#include "bench/benchsupport.h"
#include "bench/editorbench.h"
#include "common/headlessservices.h"
#include "editor/nodemove.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "extdir/extdirlookup.h"
#include "model/nodeclipboard.h"
#include "model/workflowdoc.h"

using velk::CNode;
using velk::Rect;

namespace {

using bench::Median;

constexpr int kColumns = 40;
constexpr int kRows = 50;  // 2,000 nodes on a 50 x 56 unit raster
constexpr int kArrows = 4000;
constexpr int kSelected = 200;

void BuildLevel(velk::CWorkflowDoc& doc, std::vector<CNode*>& nodes) {
  std::mt19937 random(4711);
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      CNode* node =
          doc.InsertNode(velk::NodeRectAt(10 + col * 50, -10 - row * 56), velk::NodeKind::Intern);
      velk::NodeAttributes a = node->Attributes();
      a.name = "Task " + std::to_string(row * kColumns + col) + " check documents";
      a.member = "Member " + std::to_string(row);
      a.objects = {"Form " + std::to_string(col)};
      doc.SetNodeAttributes(*node, a);
      nodes.push_back(node);
    }
  }
  // Each node to its right and lower neighbour, conditions on every fifth.
  int made = 0;
  for (int i = 0; made < kArrows; i = (i + 1) % static_cast<int>(nodes.size())) {
    const int col = i % kColumns;
    const int row = i / kColumns;
    const int target =
        (made % 2 == 0 && col + 1 < kColumns) ? i + 1 : (row + 1 < kRows ? i + kColumns : -1);
    if (target < 0) continue;
    velk::ArrowRouting routing;
    if (made % 5 == 0) routing = {velk::RoutingKind::Or, "cond " + std::to_string(made), {}};
    doc.CreateArrow(*nodes[static_cast<std::size_t>(i)], *nodes[static_cast<std::size_t>(target)],
                    routing);
    ++made;
  }
}

// Wall clock and processor time of one measured piece, in milliseconds.
struct Clock {
  QElapsedTimer wall;
  std::clock_t cpu = 0;
  void Start() {
    wall.start();
    cpu = std::clock();
  }
  void Stop(std::vector<double>& wallMs, std::vector<double>& cpuMs) const {
    wallMs.push_back(wall.nsecsElapsed() / 1e6);
    cpuMs.push_back(1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
  }
};

// The raw baseline: what the painter draws for the level, straight onto
// QPainter with the same hints and without the painter's own work: one picture
// per node, line and head per arrow, the text lines of each node and the
// conditions, each already shaped.
struct RawLevel {
  QImage picture;
  std::vector<QLineF> lines;
  std::vector<std::array<QPointF, 3>> heads;
  std::vector<std::pair<QPointF, QStaticText>> texts;
  std::vector<QPointF> pictures;
};

RawLevel PrepareRaw(const velk::CWorkflowDoc& doc, const ViewMapping& m, CWorkflowPainter& painter,
                    const velk::ShowFlags& flags, const CNodeBitmaps& bitmaps) {
  RawLevel raw;
  raw.picture =
      bitmaps.Image(CNodeBitmaps::kTableA, 0).scaled(33, 33).convertToFormat(QImage::Format_RGB32);
  const QFont font = CWorkflowPainter::TextFont(m.ScaleY(), 96);
  const auto text = [&](const QString& t, velk::Point at) {
    QStaticText s(t);
    s.prepare(QTransform(), font);
    raw.texts.emplace_back(m.ToDevice(at), s);
  };
  for (const CNode* n : doc.LevelNodes()) {
    raw.pictures.push_back(m.ToDevice(velk::Point{n->GetRect().left, n->GetRect().top}));
    const velk::Rect box = painter.TextBox(*n, flags);
    const velk::NodeAttributes& a = n->Attributes();
    int line = 0;
    for (const std::string& t : {"N: " + a.name, "M: " + a.member, "O: " + a.objects.front()})
      text(QString::fromStdString(t), {box.left, box.top - 10 * line++});
    for (const velk::CArrow* arrow : n->OutgoingArrows()) {
      raw.lines.emplace_back(m.ToDevice(arrow->LineStart()), m.ToDevice(arrow->LineEnd()));
      const auto h = velk::ArrowHead(*arrow, velk::kDefaultArrowSize);
      raw.heads.push_back({m.ToDevice(h[0]), m.ToDevice(h[1]), m.ToDevice(h[2])});
      if (!arrow->Condition().empty())
        text(QString::fromStdString(arrow->Condition()),
             velk::DescriptionAnchor({arrow->LineStart(), arrow->LineEnd()}));
    }
  }
  return raw;
}

void PaintRaw(QPainter& p, const RawLevel& raw) {
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  p.fillRect(QRect(0, 0, p.device()->width(), p.device()->height()), Qt::white);
  for (const QPointF& at : raw.pictures) p.drawImage(at, raw.picture);
  p.setPen(QPen(Qt::black, 1));
  for (const QLineF& l : raw.lines) p.drawLine(l);
  p.setBrush(Qt::black);
  for (const auto& h : raw.heads) p.drawPolygon(h.data(), 3);
  for (const auto& [at, t] : raw.texts) p.drawStaticText(at, t);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  velk::HeadlessServices services;
  auto doc = std::make_shared<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  std::vector<CNode*> nodes;
  BuildLevel(*doc, nodes);
  // A block of 200 nodes (five rows of 40) in the middle, as a rubber band takes them.
  std::vector<CNode*> selection(nodes.begin() + 20 * kColumns,
                                nodes.begin() + 20 * kColumns + kSelected);
  for (CNode* n : selection) doc->Session().SelectNode(*n, true);

  velk::ModelerSettings withGrid;
  withGrid.gridVisible = true;
  bench::BenchEditor built(services, withGrid);
  const velk::ModelerSettings& settings = built.settings;
  const CNodeBitmaps& bitmaps = built.bitmaps;
  CWorkflowView view(built.editor, doc);  // for its painter, mapping and node areas
  view.resize(1000, 800);
  view.SetFlags({true, true, true, false, true});

  const ViewMapping mapping = ViewMapping::ForDpi(96, 96);
  const QRect whole = mapping.ToDeviceCovering(velk::kDrawingRect);
  QImage image(whole.size(), QImage::Format_RGB32);
  PaintOptions options;
  options.flags = view.Flags();
  options.gridVisible = true;
  options.gridSize = settings.gridSize;

  const RawLevel raw = PrepareRaw(*doc, mapping, view.Painter(), view.Flags(), bitmaps);
  std::vector<double> full, fullCpu, step, stepCpu, rawMs, rawCpu;
  Clock clock;
  const velk::GridSettings grid{settings.gridSize, false};
  for (int run = 0; run < runs; ++run) {
    clock.Start();
    {
      QPainter p(&image);
      view.Painter().Paint(p, doc.get(), mapping, options, whole);
    }
    clock.Stop(full, fullCpu);
    clock.Start();
    {
      QPainter p(&image);
      PaintRaw(p, raw);
    }
    clock.Stop(rawMs, rawCpu);

    // 20 drag steps of 3 units right and 2 down, then back.
    for (int i = 0; i < 40; ++i) {
      const int dx = i < 20 ? 3 : -3;
      const int dy = i < 20 ? -2 : 2;
      clock.Start();
      Rect area = view.NodeArea(*selection.front());
      for (const CNode* n : selection) area = area.United(view.NodeArea(*n));
      velk::MoveNodes(*doc, selection, dx, dy, grid);
      for (const CNode* n : selection) area = area.United(view.NodeArea(*n));
      {
        QPainter p(&image);
        view.Painter().Paint(p, doc.get(), mapping, options,
                             mapping.ToDeviceCovering(area).adjusted(-2, -2, 2, 2));
      }
      clock.Stop(step, stepCpu);
    }
  }
  std::printf("level: %zu nodes, %d arrows, %d selected, drawing %dx%d px\n", nodes.size(), kArrows,
              kSelected, whole.width(), whole.height());
  std::printf("full paint: median %.1f ms wall, %.1f ms CPU (goal < 50 ms)\n", Median(full),
              Median(fullCpu));
  std::printf("raw paint:  median %.1f ms wall, %.1f ms CPU; full paint %.2fx raw\n", Median(rawMs),
              Median(rawCpu), Median(fullCpu) / Median(rawCpu));
  std::printf("move step:  median %.1f ms wall, %.1f ms CPU (goal < 16 ms)\n", Median(step),
              Median(stepCpu));
  if (argc > 2) image.save(QString::fromLocal8Bit(argv[2]));
  return 0;
}
