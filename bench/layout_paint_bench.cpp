// Arranges a level of 1,000 tasks and 2,000 arrows with "Autoarrange Nodes" and
// with "Arrange as layers", beside the time to repaint that level, once for
// arrows that span a few steps (as in real workflows) and once for arrows that
// jump across dozens of rows.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/ui/nodebitmaps.h"
#include "bench/benchsupport.h"
#include "common/headlessservices.h"
#include "editor/autoarrange.h"
#include "editor/layeredlayout.h"
#include "editor/ui/viewmapping.h"
#include "editor/ui/workflowpainter.h"
#include "model/workflowdoc.h"

namespace {

using bench::Median;

constexpr int kTasks = 1000;
constexpr int kArrows = 2000;

// A chain through every task plus further arrows forward by 2..maxSpan steps.
std::unique_ptr<velk::CWorkflowDoc> BuildLevel(velk::Services& services, int maxSpan) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  std::vector<velk::CNode*> nodes;
  for (int i = 0; i < kTasks; ++i) {
    velk::CNode* n = doc->InsertNode(velk::NodeRectAt(50 * (i % 40), -50 * (i / 40)),
                                     velk::NodeKind::Intern);
    velk::NodeAttributes a = n->Attributes();
    a.name = "Task " + std::to_string(i);
    doc->SetNodeAttributes(*n, a);
    nodes.push_back(n);
  }
  doc->SetStartNode(nodes.front());
  for (int i = 0; i + 1 < kTasks; ++i) doc->CreateArrow(*nodes[i], *nodes[i + 1]);
  std::mt19937 random(4711);
  std::uniform_int_distribution<int> from(0, kTasks - 1);
  std::uniform_int_distribution<int> span(2, maxSpan);
  for (int made = kTasks - 1; made < kArrows;) {
    const int s = from(random);
    const int t = s + span(random);
    if (t >= kTasks) continue;
    doc->CreateArrow(*nodes[s], *nodes[t]);
    ++made;
  }
  return doc;
}

double Ms(const QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double PaintMs(CWorkflowPainter& painter, velk::CWorkflowDoc& doc) {
  velk::Rect area = doc.LevelNodes().front()->GetRect();
  for (const velk::CNode* n : doc.LevelNodes()) area = area.United(n->GetRect());
  const ViewMapping mapping = ViewMapping::ForDpi(96, 96);
  const QRect device = mapping.ToDeviceCovering(area).adjusted(-200, -200, 200, 200);
  QImage image(device.size().boundedTo({16000, 16000}), QImage::Format_RGB32);
  PaintOptions options;
  QElapsedTimer t;
  t.start();
  {
    QPainter p(&image);
    p.translate(-device.topLeft());
    painter.Paint(p, &doc, mapping, options, device);
  }
  return Ms(t);
}

// Returns false when a goal was missed.
bool RunCase(velk::Services& services, const char* name, int maxSpan, int runs,
             CWorkflowPainter& painter) {
  auto doc = BuildLevel(services, maxSpan);
  std::vector<double> arrange, layered, paint;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer t;
    t.start();
    velk::AutoArrange(*doc, {50, 4});
    arrange.push_back(Ms(t));
    paint.push_back(PaintMs(painter, *doc));
    t.start();
    std::string error;
    velk::ArrangeAsLayers(*doc, {50}, &error);
    layered.push_back(Ms(t));
    if (!error.empty()) std::printf("layout failed: %s\n", error.c_str());
    paint.push_back(PaintMs(painter, *doc));
  }
  const double p = Median(paint);
  const double a = Median(arrange);
  const double l = Median(layered);
  const bool dense = maxSpan > 4;
  const bool arrangeOk = a < 50;
  const bool layeredOk = dense || l < 1000;
  std::printf("%s: %d tasks, %d arrows, spans 1..%d, %d runs\n", name, kTasks, kArrows, maxSpan,
              runs);
  std::printf("  repaint level      %8.1f ms\n", p);
  std::printf("  autoarrange        %8.1f ms  %6.2fx repaint  (goal < 50 ms)%s\n", a, a / p,
              arrangeOk ? "" : "  MISSED");
  std::printf("  arrange as layers  %8.1f ms  %6.2fx repaint  %s%s\n", l, l / p,
              dense ? "(no goal: shows progress)" : "(goal < 1000 ms)",
              layeredOk ? "" : "  MISSED");
  std::printf("  crossings after layers: %d\n", velk::CountArrowCrossings(*doc));
  return arrangeOk && layeredOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velk::HeadlessServices services;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  CNodeBitmaps bitmaps;
  bitmaps.Load(services);
  CWorkflowPainter painter(bitmaps);
  RunCase(services, "realistic", 4, runs, painter);
  RunCase(services, "dense", 30, 1, painter);
  return 0;
}
