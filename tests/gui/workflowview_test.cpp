// The workflow view as a widget: logical coordinates and scrolling, the show and
// grid commands, and mouse messages handed to the active tool.
#include <gtest/gtest.h>

#include <QPainter>
#include <QScrollBar>

#include "common/headlessservices.h"
#include "editor/ui/viewtool.h"
#include "editor/ui/workflowview.h"
#include "testeditor.h"

using velk::Point;
using velk::Rect;

namespace {

// A tool of the test's own that counts the overlays painted over the drawing.
struct OverlayTool : CViewTool {
  mutable int overlays = 0;
  void PaintOverlay(const CWorkflowView&, QPainter&) const override { ++overlays; }
};

class ViewTest : public DemoViewTest {
 protected:
  ViewTest() {
    view->resize(640, 480);
    view->show();
  }
  std::unique_ptr<CWorkflowView> view = std::make_unique<CWorkflowView>(editor.editor, demo.doc);
  double PixelsPerUnit() const { return view->logicalDpiX() / 100.0; }
};

}  // namespace

TEST_F(ViewTest, LogicalPointsSurviveTheRoundTripAndTheExposedRectFollowsScrolling) {
  const std::vector<Point> points = {{0, 0}, {40, -40}, {1000, -1450}, {2049, -2899}, {17, -3}};
  for (Point scroll : {Point{0, 0}, Point{500, -700}, Point{2050, -2900}}) {
    view->ScrollTo(scroll);
    for (Point p : points) EXPECT_EQ(view->ToLogical(view->ToViewport(p)), p);
  }
  view->ScrollTo({0, 0});
  // y points up: a point lower in the drawing is further down the window.
  EXPECT_GT(view->ToViewport(Point{0, -100}).y(), 0);
  const Rect top = view->ExposedRect();
  EXPECT_EQ((Point{top.left, top.top}), (Point{0, 0}));
  EXPECT_NEAR(top.right, view->viewport()->width() / PixelsPerUnit(), 2);
  view->ScrollTo({300, -400});
  EXPECT_NEAR(view->ExposedRect().left, 300, 1);
  EXPECT_NEAR(view->ExposedRect().top, -400, 1);
  // Scrolled to the end the drawing's corner is in view, and nothing beyond it.
  view->ScrollTo({5000, -5000});
  EXPECT_EQ(view->ExposedRect().right, CWorkflowView::kDrawingWidth);
  EXPECT_EQ(view->ExposedRect().bottom, -CWorkflowView::kDrawingHeight);
}

TEST_F(ViewTest, ScrollRangeLineAndPageSteps) {
  QScrollBar* h = view->horizontalScrollBar();
  QScrollBar* v = view->verticalScrollBar();
  const double s = PixelsPerUnit();
  // The whole drawing, a fiftieth of it per line.
  EXPECT_EQ(
      QSize(h->maximum() + view->viewport()->width(), v->maximum() + view->viewport()->height()),
      QSize(qRound(2050 * s), qRound(2900 * s)));
  EXPECT_EQ(QSize(h->singleStep(), v->singleStep()), QSize(qRound(41 * s), qRound(58 * s)));
  v->setValue(0);
  v->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(v->value(), qRound(1450 * s));  // half the drawing
  h->setValue(0);
  h->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(h->value(), std::min(h->maximum(), static_cast<int>(qRound(1025 * s))));
}

TEST_F(ViewTest, ShowAndGridCommandsFlipTheirFlagsAndCarryACheckMark) {
  const std::tuple<int, bool velk::ShowFlags::*, bool> cases[] = {
      {cmd::ShowTaskNames, &velk::ShowFlags::taskNames, true},
      {cmd::ShowTaskMember, &velk::ShowFlags::taskMember, false},
      {cmd::ShowTaskForms, &velk::ShowFlags::taskForms, false},
      {cmd::ShowTaskResources, &velk::ShowFlags::taskResources, false},
      {cmd::ShowArrowDescription, &velk::ShowFlags::arrowDescription, true},
  };
  for (const auto& [id, flag, initially] : cases) {
    const bool before = StateOf(*view, id).checked;
    ASSERT_TRUE(view->OnCommand(id));
    EXPECT_EQ(std::tuple(before, view->Flags().*flag, StateOf(*view, id).checked),
              std::tuple(initially, !initially, !initially))
        << id;
  }
  // Names off, member, form and resource on: the offsets were recomputed on the way.
  EXPECT_EQ(view->TextOffsets().lower, -(velk::kTextGap + 3 * velk::kTextLineHeight));
  // The grid command sets both grid flags to the negated magnet.
  settings.gridMagnetic = false;
  settings.gridVisible = true;
  for (bool on : {true, false}) {
    ASSERT_TRUE(view->OnCommand(cmd::ToggleGrid));
    EXPECT_EQ(std::tuple(settings.gridMagnetic, settings.gridVisible,
                         StateOf(*view, cmd::ToggleGrid).checked),
              std::tuple(on, on, on));
  }
}

// Mouse messages reach the tools in logical units and with their keys in the
// editing tools' tests, scrolled and zoomed; here the active tool paints its overlay.
TEST_F(ViewTest, TheActiveToolPaintsItsOverlay) {
  OverlayTool tool;
  view->SetTool(&tool);
  view->grab();
  EXPECT_GT(tool.overlays, 0);
}

TEST_F(ViewTest, NodeAreaHoldsTextsArrowsAndDescriptions) {
  const velk::CNode* check = demo.nodes[1];  // "Check customer ...", arrow "amount > 1000" out
  const Rect area = view->NodeArea(*check);
  const Rect texts = velk::NodeTextArea(check->GetRect(), view->TextOffsets());
  EXPECT_EQ(area.United(texts), area);
  for (const velk::CArrow* a : check->OutgoingArrows()) {
    const Rect b = velk::ArrowBounds(*a, velk::kDefaultArrowSize);
    EXPECT_EQ(area.United(b), area);
    if (!a->Condition().empty()) {
      const Point anchor = velk::DescriptionAnchor({a->LineStart(), a->LineEnd()});
      EXPECT_TRUE(area.Contains({anchor.x, anchor.y - 5}));
    }
  }
}
