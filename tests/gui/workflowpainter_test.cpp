// What the workflow painter draws: the grid and its frame, texts by the show
// flags, node pictures by selection and arrows with their heads and colours.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <set>

#include "app/ui/nodebitmaps.h"
#include "demoworkflow.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "recordingdevice.h"

using velk::ShowFlags;
using viewtest::RecordingDevice;
using viewtest::RecordingEngine;

namespace {

const CNodeBitmaps& TestBitmaps() {
  static const CNodeBitmaps bitmaps = [] {
    CNodeBitmaps b;
    b.Load();
    return b;
  }();
  return bitmaps;
}

// Paints the whole drawing of `level` (or none) onto the recording device: one
// device pixel per logical unit, y pointing down.
class PainterTest : public ::testing::Test {
 protected:
  CWorkflowPainter painter{TestBitmaps()};
  RecordingDevice device;

  RecordingEngine& Paint(const velk::CWorkflowDoc* level, const PaintOptions& options) {
    QPainter p(&device);
    painter.Paint(p, level, ViewMapping(1.0, 1.0), options, QRect(0, 0, 2100, 3000));
    return device.Records();
  }
};

PaintOptions WithFlags(ShowFlags flags, bool grid = false) {
  PaintOptions options;
  options.flags = flags;
  options.gridVisible = grid;
  options.gridSize = 50;
  return options;
}

bool Contains(const std::vector<QString>& texts, const QString& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

TEST_F(PainterTest, GridLinesStopBeforeTheEdgesAndTheFrameMarksThem) {
  const RecordingEngine& r = Paint(nullptr, WithFlags({}, true));
  std::set<int> xs, ys;
  for (const auto& l : r.lines) {
    ASSERT_EQ(l.pen.style(), Qt::DotLine);
    EXPECT_EQ(l.pen.color(), QColor(90, 90, 90));
    if (l.line.x1() == l.line.x2()) {
      xs.insert(qRound(l.line.x1()));
      EXPECT_EQ(l.line.y1(), 0);
      EXPECT_EQ(l.line.y2(), 2900);
    } else {
      ys.insert(qRound(l.line.y1()));
      EXPECT_EQ(l.line.x1(), 0);
      EXPECT_EQ(l.line.x2(), 2050);
    }
  }
  ASSERT_EQ(xs.size(), 40u);  // 50 .. 2000
  EXPECT_EQ(*xs.begin(), 50);
  EXPECT_EQ(*xs.rbegin(), 2000);
  ASSERT_EQ(ys.size(), 57u);  // 50 .. 2850
  EXPECT_EQ(*ys.rbegin(), 2850);

  const auto frame = std::find_if(r.rects.begin(), r.rects.end(), [](const auto& s) {
    return s.pen.style() == Qt::SolidLine && s.brush.style() == Qt::NoBrush;
  });
  ASSERT_NE(frame, r.rects.end());
  EXPECT_EQ(frame->pen.color(), QColor(90, 90, 90));
  EXPECT_EQ(frame->points.boundingRect(), QRectF(0, 0, 2050, 2900));
  device.Records().lines.clear();
  EXPECT_TRUE(Paint(nullptr, WithFlags({})).lines.empty()) << "no grid when it is hidden";
}

TEST_F(PainterTest, TextsFollowTheShowFlags) {
  viewtest::DemoWorkflow demo;
  struct Case {
    const char* what;
    ShowFlags flags;
    std::vector<QString> shown;
    std::vector<QString> hidden;
  };
  const std::vector<Case> cases = {
      {"all off", {false, false, false, false, false}, {}, {}},
      {"names",
       {true, false, false, false, false},
       {"N: Receive order"},
       {"M: Order desk", "credit ok"}},
      {"member", {false, true, false, false, false}, {"M: Order desk"}, {"N: Receive order"}},
      {"forms; none gives the prefix alone",
       {false, false, true, false, false},
       {"O: Order form", "O: "},
       {"R: Printer"}},
      {"resources", {false, false, false, true, false}, {"R: Printer", "R: "}, {"O: Order form"}},
      {"descriptions",
       {false, false, false, false, true},
       {"credit ok", "stock low", "express"},
       {"N: Receive order"}},
  };
  for (const Case& c : cases) {
    device.Records().texts.clear();
    const RecordingEngine& r = Paint(demo.doc.get(), WithFlags(c.flags));
    if (c.shown.empty()) {
      EXPECT_TRUE(r.texts.empty()) << c.what;
    }
    for (const QString& text : c.shown)
      EXPECT_TRUE(Contains(r.texts, text)) << c.what << ": " << text.toStdString();
    for (const QString& text : c.hidden)
      EXPECT_FALSE(Contains(r.texts, text)) << c.what << ": " << text.toStdString();
  }
}

TEST_F(PainterTest, LongNamesWrapIntoThreeLinesAtMost) {
  viewtest::DemoWorkflow demo;
  const RecordingEngine& r = Paint(demo.doc.get(), WithFlags({true, false, false, false, false}));
  std::vector<QString> nameLines;
  for (const QString& t : r.texts)
    if (QString("N: Check customer credit history and payment record").contains(t))
      nameLines.push_back(t);
  ASSERT_GE(nameLines.size(), 2u);
  EXPECT_LE(nameLines.size(), 3u);
  EXPECT_TRUE(nameLines.front().startsWith("N: Check"));
}

TEST_F(PainterTest, SelectionShowsTableBAndBlueArrows) {
  viewtest::DemoWorkflow demo;
  const RecordingEngine& r = Paint(demo.doc.get(), WithFlags({false, false, false, false, false}));
  ASSERT_EQ(r.images.size(), demo.nodes.size());
  for (std::size_t i = 0; i < demo.nodes.size(); ++i) {
    const velk::CNode* node = demo.nodes[i];
    const auto table = node->IsSelected() ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA;
    const QImage expected = TestBitmaps()
                                .Image(table, node->Picture())
                                .convertToFormat(QImage::Format_RGB32)
                                .scaled(34, 34, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_EQ(r.images[i].target, QRectF(node->GetRect().left, -node->GetRect().top, 34, 34));
    EXPECT_TRUE(r.images[i].image == expected) << "node " << i;
  }
  // One filled head per arrow, blue for the selected one.
  ASSERT_EQ(r.polygons.size(), demo.arrows.size());
  int blue = 0;
  for (const auto& head : r.polygons) {
    EXPECT_EQ(head.points.size(), 3);
    EXPECT_EQ(head.brush.color(), head.pen.color());
    if (head.brush.color() == QColor(0, 0, 255)) ++blue;
  }
  EXPECT_EQ(blue, 1);
}

TEST_F(PainterTest, ArrowLineRunsBetweenTheNodeBorders) {
  viewtest::DemoWorkflow demo;
  const RecordingEngine& r = Paint(demo.doc.get(), WithFlags({}));
  for (const velk::CArrow* arrow : demo.arrows) {
    const QLineF expected(arrow->LineStart().x, -arrow->LineStart().y, arrow->LineEnd().x,
                          -arrow->LineEnd().y);
    const bool found = std::any_of(r.lines.begin(), r.lines.end(),
                                   [&](const auto& l) { return l.line == expected; });
    EXPECT_TRUE(found) << arrow->Source()->Name() << " -> " << arrow->Target()->Name();
  }
}

TEST_F(PainterTest, OnlyWhatReachesTheClipIsDrawn) {
  viewtest::DemoWorkflow demo;
  QPainter p(&device);
  // The area of the first node ("Receive order", at 40, -40) only.
  painter.Paint(p, demo.doc.get(), ViewMapping(1.0, 1.0),
                WithFlags({true, false, false, false, false}), QRect(30, 30, 60, 60));
  p.end();
  const RecordingEngine& r = device.Records();
  EXPECT_EQ(r.images.size(), 1u);
  EXPECT_FALSE(Contains(r.texts, "N: Archive order"));
}

// Texts may be kept shaped for the screen; on a printer's resolution they must
// still sit in the box measured for them.
TEST(PainterResolutionTest, DescriptionStaysInsideItsFrameAtScreenAndPrintResolution) {
  for (const int dpi : {96, 300, 600}) {
    auto doc = std::make_shared<velk::CWorkflowDoc>("CN=Test Designer/O=Marvelund", "06.12.2026");
    velk::CNode* from = doc->InsertNode(velk::NodeRectAt(40, -40), velk::NodeKind::Intern);
    velk::CNode* to = doc->InsertNode(velk::NodeRectAt(40, -240), velk::NodeKind::Intern);
    const velk::CArrow* arrow =
        doc->CreateArrow(*from, *to, {velk::RoutingKind::Or, "credit refused by the bureau", {}});
    const double scale = dpi / 100.0;  // pixels per 0.01 inch
    QImage image(static_cast<int>(200 * scale), static_cast<int>(300 * scale),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    CWorkflowPainter painter(TestBitmaps());
    {
      QPainter p(&image);
      painter.Paint(p, doc.get(), ViewMapping(scale, scale),
                    WithFlags({false, false, false, false, true}), image.rect());
    }
    QRect blue;  // the node pictures are blue too: look between them only
    for (int y = static_cast<int>(80 * scale); y < static_cast<int>(230 * scale); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.blue() > 200 && c.red() < 100 && c.green() < 100) blue |= QRect(x, y, 1, 1);
      }
    const ViewMapping mapping(scale, scale);
    const QPointF anchor =
        mapping.ToDevice(velk::DescriptionAnchor({arrow->LineStart(), arrow->LineEnd()}));
    ASSERT_FALSE(blue.isEmpty()) << dpi << " dpi";
    EXPECT_LT(std::abs(blue.center().x() - anchor.x()), 3 * scale) << dpi << " dpi: centred";
    const QRectF box = mapping.ToDevice(painter.ArrowArea(*arrow, true));
    // Hinting at other sizes may widen a text by a few per cent, never more.
    const double slack = 1 + box.width() * 0.04;
    EXPECT_TRUE(box.adjusted(-slack, -1, slack, 1).contains(QRectF(blue))) << dpi << " dpi";
  }
}
