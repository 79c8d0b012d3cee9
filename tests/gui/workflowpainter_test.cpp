// What the workflow painter draws: the grid and its frame, texts by the show
// flags, node pictures by selection and arrows with their heads and colours.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>

#include "app/ui/nodebitmaps.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "recordingdevice.h"
#include "testeditor.h"

using velk::ShowFlags;
using viewtest::RecordingEngine;

namespace {

// Paints the whole drawing of `level` (or none) onto the recording device: one
// device pixel per logical unit, y pointing down.
class PainterTest : public DemoViewTest {
 protected:
  CWorkflowPainter painter{editor.bitmaps};
  viewtest::RecordingDevice device;

  RecordingEngine& Paint(const velk::CWorkflowDoc* level, const PaintOptions& options,
                         const QRect& clip = {0, 0, 2100, 3000}) {
    QPainter p(&device);
    painter.Paint(p, level, ViewMapping(1.0, 1.0), options, clip);
    return device.Records();
  }
  // The node picture as drawn unsmoothed into `size` device pixels.
  QImage Stretched(CNodeBitmaps::Table table, int picture, QSize size) const {
    return editor.bitmaps.Image(table, picture)
        .convertToFormat(QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
};

PaintOptions WithFlags(ShowFlags flags, bool grid = false) {
  PaintOptions options;
  options.flags = flags;
  options.gridVisible = grid;
  options.gridSize = 50;
  return options;
}

// Two tasks, one above the other, joined by an arrow of that routing.
std::pair<std::unique_ptr<velk::CWorkflowDoc>, const velk::CArrow*> TwoTasks(
    velk::Services& ui, velk::ArrowRouting routing) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(ui);
  const velk::CArrow* arrow = doc->CreateArrow(
      *doc->InsertNode(velk::NodeRectAt(40, -40), velk::NodeKind::Intern),
      *doc->InsertNode(velk::NodeRectAt(40, -240), velk::NodeKind::Intern), routing);
  return {std::move(doc), arrow};
}

// Paints `level` onto `image` at `scale` device pixels per unit.
void PaintOn(QImage& image, CWorkflowPainter& painter, const velk::CWorkflowDoc* level,
             double scale, ShowFlags flags, const QRect& clip) {
  QPainter p(&image);
  painter.Paint(p, level, ViewMapping(scale, scale), WithFlags(flags), clip);
}

}  // namespace

// Where grid lines stand is the core's; here they are drawn dotted and grey from
// edge to edge, with a solid frame round the drawing.
TEST_F(PainterTest, GridLinesStopBeforeTheEdgesAndTheFrameMarksThem) {
  const RecordingEngine& r = Paint(nullptr, WithFlags({}, true));
  int vertical = 0;
  for (const auto& l : r.lines) {
    ASSERT_EQ(std::pair(l.pen.style(), l.pen.color()), std::pair(Qt::DotLine, QColor(90, 90, 90)));
    // Lines one pixel wide run through the middle of their pixels.
    const bool down = l.line.x1() == l.line.x2();
    vertical += down;
    EXPECT_NEAR(down ? l.line.y1() : l.line.x1(), 0, 0.5);
    EXPECT_NEAR(down ? l.line.y2() : l.line.x2(), down ? 2900 : 2050, 0.5);
  }
  EXPECT_EQ(std::pair(vertical, r.lines.size()), std::pair(40, std::size_t{40 + 57}));
  const auto frame = std::find_if(r.rects.begin(), r.rects.end(), [](const auto& s) {
    return s.pen.style() == Qt::SolidLine && s.brush.style() == Qt::NoBrush;
  });
  ASSERT_NE(frame, r.rects.end());
  EXPECT_EQ(frame->pen.color(), QColor(90, 90, 90));
  const QRectF bounds = frame->points.boundingRect();  // through the middle of its pixels
  EXPECT_LE(bounds.topLeft().manhattanLength(), 1);
  EXPECT_LE((bounds.bottomRight() - QPointF(2050, 2900)).manhattanLength(), 1);
  device.Records().lines.clear();
  EXPECT_TRUE(Paint(nullptr, WithFlags({})).lines.empty()) << "no grid when it is hidden";
}

// Which lines a node's texts hold is the core's; here each flag reaches the drawing.
TEST_F(PainterTest, TextsFollowTheShowFlags) {
  const QString probes[] = {"N: Receive order", "M: Order desk", "O: Order form", "R: Printer",
                            "credit ok"};
  const std::pair<ShowFlags, QString> cases[] = {
      {{false, false, false, false, false}, ""},
      {{true, false, false, false, false}, "N: Receive order"},
      {{false, true, false, false, false}, "M: Order desk"},
      {{false, false, true, true, false}, "O: Order form|R: Printer"},
      {{false, false, false, false, true}, "credit ok"},
  };
  for (const auto& [flags, shown] : cases) {
    device.Records().texts.clear();
    const RecordingEngine& r = Paint(demo.doc.get(), WithFlags(flags));
    QStringList seen;
    for (const QString& probe : probes)
      if (std::ranges::count(r.texts, probe) > 0) seen << probe;
    EXPECT_EQ(seen.join('|'), shown);
    EXPECT_EQ(r.texts.empty(), shown.isEmpty()) << "nothing at all with every flag off";
  }
}

TEST_F(PainterTest, SelectionShowsTableBAndBlueArrowsAndArrowsRunBetweenTheNodeBorders) {
  const RecordingEngine& r = Paint(demo.doc.get(), WithFlags({false, false, false, false, false}));
  ASSERT_EQ(r.images.size(), demo.nodes.size());
  for (std::size_t i = 0; i < demo.nodes.size(); ++i) {
    const velk::CNode* node = demo.nodes[i];
    const auto table = node->IsSelected() ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA;
    EXPECT_EQ(r.images[i].target, QRectF(node->GetRect().left, -node->GetRect().top, 34, 34));
    EXPECT_TRUE(r.images[i].image == Stretched(table, node->Picture(), {34, 34})) << "node " << i;
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
  // Each arrow's line runs between the node borders.
  for (const velk::CArrow* arrow : demo.arrows) {
    const QLineF expected(arrow->LineStart().x, -arrow->LineStart().y, arrow->LineEnd().x,
                          -arrow->LineEnd().y);
    const auto near = [](QPointF a, QPointF b) { return (a - b).manhattanLength() <= 1; };
    const bool found = std::any_of(r.lines.begin(), r.lines.end(), [&](const auto& l) {
      return near(l.line.p1(), expected.p1()) && near(l.line.p2(), expected.p2());
    });
    EXPECT_TRUE(found) << arrow->Source()->Name() << " -> " << arrow->Target()->Name();
  }
}

TEST_F(PainterTest, OnlyWhatReachesTheClipIsDrawn) {
  // The area of the first node ("Receive order", at 40, -40) only.
  const RecordingEngine& r =
      Paint(demo.doc.get(), WithFlags({true, false, false, false, false}), {30, 30, 60, 60});
  EXPECT_EQ(r.images.size(), 1u);
  EXPECT_EQ(std::ranges::count(r.texts, QString("N: Archive order")), 0);
}

// Texts may be kept shaped for the screen; on a printer's resolution they must
// still sit in the box measured for them.
TEST_F(PainterTest, DescriptionStaysInsideItsFrameAtScreenAndPrintResolution) {
  for (const int dpi : {96, 300, 600}) {
    const auto [doc, arrow] =
        TwoTasks(ui, {velk::RoutingKind::Or, "credit refused by the bureau", {}});
    const double scale = dpi / 100.0;  // pixels per 0.01 inch
    QImage image(static_cast<int>(200 * scale), static_cast<int>(300 * scale),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    CWorkflowPainter painter(editor.bitmaps);
    PaintOn(image, painter, doc.get(), scale, {false, false, false, false, true}, image.rect());
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
    const QRectF box = mapping.ToDevice(painter.ArrowArea(*arrow, true, velk::kDefaultArrowSize));
    // Hinting at other sizes may widen a text by a few per cent, never more.
    const double slack = 1 + box.width() * 0.04;
    EXPECT_TRUE(box.adjusted(-slack, -1, slack, 1).contains(QRectF(blue))) << dpi << " dpi";
  }
}

// How a long name wraps is the core's; here the lines stand under the picture,
// one line height apart, in the order name, member, form, resource.
TEST_F(PainterTest, TextsOfANodeStandUnderItLineByLine) {
  const RecordingEngine& r = Paint(demo.doc.get(), WithFlags({true, true, true, true, true}));
  const velk::CNode* check = demo.nodes[1];  // a long name, member, form and resource
  const auto name = std::find_if(r.texts.begin(), r.texts.end(), [](const QString& t) {
    return t.startsWith("N: Check customer");
  });
  const auto member = std::find(r.texts.begin(), r.texts.end(), "M: Anna Berg");
  ASSERT_TRUE(name < member && member + 2 < r.texts.end());
  EXPECT_EQ(*(member + 2), "R: Credit register");
  const std::size_t first = static_cast<std::size_t>(name - r.texts.begin());
  const std::size_t last = static_cast<std::size_t>(member - r.texts.begin()) + 2;
  const QFontMetricsF metrics(CWorkflowPainter::TextFont(1.0, 100.0));
  EXPECT_GE(r.textOrigins[first].y() - metrics.ascent(), -check->GetRect().bottom)
      << "below the picture";
  for (std::size_t i = first; i <= last; ++i)
    EXPECT_EQ(r.textOrigins[i].x(), check->GetRect().Center().x + velk::kTextIndent);
  for (std::size_t i = first + 1; i <= last; ++i)
    EXPECT_NEAR(r.textOrigins[i].y() - r.textOrigins[i - 1].y(), painter.LineHeight(), 0.01);
}

// A node drawn after the arrow whose condition lies on it must not cover a part
// of the condition.
TEST_F(PainterTest, ConditionsStayWholeOverNodesDrawnLater) {
  const auto [doc, arrow] = TwoTasks(ui, {velk::RoutingKind::Xor, "Order_Amount <= 10000", {}});
  const velk::Rect area = painter.ArrowArea(*arrow, true, velk::kDefaultArrowSize);
  const velk::Point anchor = velk::DescriptionAnchor({arrow->LineStart(), arrow->LineEnd()});
  const velk::Rect box{area.left, anchor.y, area.right, anchor.y - painter.LineHeight() - 2};
  doc->InsertNode(velk::NodeRectAt(box.Center().x - 17, box.top + 10), velk::NodeKind::Intern);
  QImage image(300, 300, QImage::Format_RGB32);
  PaintOn(image, painter, doc.get(), 1.0, {false, false, false, false, true}, image.rect());
  // Inside the frame only the white box and the blue, antialiased text.
  const QRect inside = QRect(box.left, -box.top, box.Width(), box.Height()).adjusted(2, 2, -2, -2);
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      ASSERT_TRUE(c.blue() == 255 && c.red() == c.green()) << x << "," << y;
    }
}

// At two device pixels per pixel: node pictures at full resolution in their own
// colours, lines along the axes sharp, slanting lines and texts antialiased.
TEST_F(PainterTest, RatioTwoDrawsSharpPicturesAndSmoothSlants) {
  demo.doc->Session().DeselectAll();
  QImage image(2 * 800, 2 * 700, QImage::Format_RGB32);
  image.setDevicePixelRatio(2);
  PaintOn(image, painter, demo.doc.get(), 1.0, {true, true, false, false, false}, {0, 0, 800, 700});
  const velk::CNode* receive = demo.nodes[0];
  const QRect pixels = DevicePixels(ViewMapping(1.0, 1.0).ToDevice(receive->GetRect()), 2);
  EXPECT_TRUE(image.copy(pixels) ==
              Stretched(CNodeBitmaps::kTableA, receive->Picture(), pixels.size()))
      << "every picture pixel a block of device pixels";

  const auto greys = [&](const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() == c.green() && c.green() == c.blue() && c.red() > 30 && c.red() < 225) ++count;
      }
    return count;
  };
  // "Receive order" to "Check customer ...": straight down at x 57.
  const QRect vertical(2 * 57 - 4, 2 * 100, 8, 40);
  EXPECT_EQ(greys(vertical), 0) << "a line along an axis has no blurred edge";
  // "Credit check" to "Reject order": a slant.
  const velk::CArrow* slant = demo.arrows[4];
  const QPoint middle((slant->LineStart().x + slant->LineEnd().x),
                      -(slant->LineStart().y + slant->LineEnd().y));
  EXPECT_GT(greys(QRect(middle - QPoint(10, 10), QSize(20, 20))), 0) << "antialiased";
  const velk::Rect text = painter.TextBox(*receive, {true, false, false, false, false});
  EXPECT_GT(greys(QRect(2 * text.left, -2 * text.top, 2 * 60, 2 * 10)), 0) << "antialiased text";
}
