// Tool choice, hit tests, the insert and arrow tools.

#include <tuple>

#include "editor/hittest.h"
#include "editor/insertarrow.h"
#include "editor/tools.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

TEST(ArrowHitTest, PointsCloseToTheLineHitItWithinItsWidenedBox) {
  // The line's start and end, the point, and whether it hits the line.
  const std::tuple<Point, Point, Point, bool> cases[] = {
      {{0, 0}, {100, 0}, {50, 9}, true},  // a flat box is widened by 9 each side
      {{0, 0}, {100, 0}, {50, 10}, false},
      {{0, 0}, {100, 0}, {100, 0}, true},
      {{0, 0}, {100, 0}, {-1, 0}, false},  // the long side is not widened
      {{0, 0}, {0, -100}, {-9, -50}, true},
      {{0, 0}, {0, -100}, {0, 10}, false},
      {{0, 0}, {100, -100}, {61, -39}, true},   // 15.6 units from the line
      {{0, 0}, {100, -100}, {62, -38}, false},  // 17.0 units
      {{0, 0}, {10, -10}, {-5, 5}, true},       // short lines: box widened both ways
      {{0, 0}, {10, -10}, {15, -20}, false},
      {{5, 5}, {5, 5}, {5, 5}, true},  // a line of no length
  };
  for (const auto& [start, end, p, on] : cases)
    EXPECT_EQ(IsPointOnArrow(start, end, p), on)
        << "(" << p.x << "," << p.y << ") on " << end.x << "," << end.y;
}

TEST(ToolStateTest, InsertToolsChosenWithShiftStayForSeveralInserts) {
  ToolState tools;
  std::vector<std::pair<ToolId, ToolId>> deactivated;
  tools.onDeactivate = [&](ToolId from, ToolId to) { deactivated.emplace_back(from, to); };

  tools.Choose(ToolId::InsertInternalTask, /*shiftHeld=*/false);
  EXPECT_TRUE(tools.SingleShot());
  EXPECT_FALSE(tools.FinishInsert(/*shiftHeld=*/true)) << "SHIFT on release keeps the tool";
  EXPECT_TRUE(tools.FinishInsert(false));
  EXPECT_EQ(tools.Active(), ToolId::Select);

  tools.Choose(ToolId::InsertSubscribed, true);
  EXPECT_FALSE(tools.SingleShot());
  EXPECT_FALSE(tools.FinishInsert(false));
  const auto button = tools.ButtonState(ToolId::InsertSubscribed);
  EXPECT_TRUE(button.indeterminate && !button.checked);

  tools.Choose(ToolId::ArrowNoSource, true);
  EXPECT_TRUE(tools.SingleShot()) << "only insert tools keep SHIFT";
  tools.Switch(ToolId::ArrowSourceChosen);
  EXPECT_TRUE(tools.ButtonState(ToolId::ArrowNoSource).checked);
  EXPECT_FALSE(tools.ButtonState(ToolId::Select).checked);

  const std::vector<std::pair<ToolId, ToolId>> expected = {
      {ToolId::Select, ToolId::InsertInternalTask},
      {ToolId::InsertInternalTask, ToolId::Select},
      {ToolId::Select, ToolId::InsertSubscribed},
      {ToolId::InsertSubscribed, ToolId::ArrowNoSource},
  };
  EXPECT_EQ(deactivated, expected) << "the arrow tool's own states end nothing";
}

TEST_F(WorkflowTest, InsertOnAnArrowSplitsItElseSnapsAndSelectsTheNewNodeOnly) {
  CNode* s = Add("S", 0, 0);
  CNode* t = Add("T", 4, 0);
  CArrow* old = doc.CreateArrow(*s, *t, {RoutingKind::Cor, "Amount > 10", "@True"});
  doc.Session().SelectNode(*s);
  const InsertResult r = InsertNodeAt(doc, NodeKind::Intern, {200, -17}, {50, false});
  EXPECT_EQ(r.splitArrow, old);
  EXPECT_TRUE(doc.Session().IsModified());
  ASSERT_EQ(doc.AllArrows().size(), 2u);
  for (const CArrow* arrow : doc.AllArrows())
    EXPECT_EQ(arrow->Routing(), ArrowRouting()) << "kind and condition are dropped";
  EXPECT_TRUE(HasArrow(s, r.node) && HasArrow(r.node, t));
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{s});

  const InsertResult cluster = InsertNodeAt(doc, NodeKind::IWC, {101, -101}, {50, true});
  EXPECT_EQ(cluster.node->GetRect(), (Rect{83, -83, 117, -117}));
  EXPECT_EQ(cluster.node->SavedRect(0), cluster.node->GetRect());
  EXPECT_EQ(cluster.node->RepresentsCluster(), 2) << "with its own new level";
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{cluster.node});
  EXPECT_EQ(cluster.splitArrow, nullptr);
}

class ArrowToolTest : public WorkflowTest {
 protected:
  ArrowToolTest() { tools.Choose(ToolId::ArrowNoSource, false); }
  ToolState tools;
  ArrowGesture gesture;
};
using O = ArrowGesture::Outcome;

TEST_F(ArrowToolTest, ConnectsSourceToTargetAndIgnoresTheSourceClickedAgain) {
  CNode* a = Add("A", 0, 0);
  CNode* b = Add("B", 2, 0);
  EXPECT_EQ(gesture.Press(doc, tools, {17, -17}).outcome, O::SourceChosen);
  EXPECT_EQ(tools.Active(), ToolId::ArrowSourceChosen);
  EXPECT_EQ(gesture.Press(doc, tools, {17, -17}).outcome, O::SameNode);
  EXPECT_EQ(tools.Active(), ToolId::ArrowNoSource);
  EXPECT_EQ(doc.AllArrows().size(), 0u);
  EXPECT_FALSE(doc.Session().IsModified());

  gesture.Press(doc, tools, {17, -17});
  EXPECT_EQ(gesture.Press(doc, tools, {500, -500}).outcome, O::Cleared);
  EXPECT_EQ(gesture.Source(doc), nullptr);

  gesture.Press(doc, tools, {17, -17});
  const ArrowGesture::Result made = gesture.Press(doc, tools, {217, -17});
  EXPECT_EQ(made.outcome, O::ArrowMade);
  EXPECT_TRUE(HasArrow(a, b));
  EXPECT_EQ(made.arrow->Kind(), RoutingKind::And);
  EXPECT_TRUE(doc.Session().IsModified());
  EXPECT_EQ(tools.Active(), ToolId::ArrowNoSource);
}

TEST_F(ArrowToolTest, SourceFromAnotherWindowOrDeletedIsNotUsed) {
  CWorkflowDoc* inner = doc.OpenClusterDocument(*Add("Cluster", 3, 3, NodeKind::IWC));
  Add("Top", 0, 0);
  CNode* in = Add(*inner, "Inner", 0, 0);
  gesture.Press(doc, tools, {17, -17});
  EXPECT_EQ(gesture.Press(*inner, tools, {17, -17}).outcome, O::SourceChosen);
  EXPECT_EQ(gesture.Source(*inner), in);
  EXPECT_EQ(doc.AllArrows().size(), 0u);
  doc.DeleteNode(*in);
  EXPECT_EQ(gesture.Source(*inner), nullptr);
}

}  // namespace
}  // namespace velk::testing
