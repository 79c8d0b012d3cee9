// Tool choice, hit tests, the insert and arrow tools, and copying and pasting
// nodes through the internal clipboard.

#include <tuple>

#include "editor/hittest.h"
#include "editor/insertarrow.h"
#include "editor/pasteplace.h"
#include "editor/tools.h"
#include "editor_graphs.h"
#include "model/arrowgeometry.h"
#include "model/nodeclipboard.h"
#include "model/nodepicture.h"

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

// ---- Copy and paste ----

TEST_F(WorkflowTest, CopyTakesTheSelectionAndArrowsWithinAndPasteMakesConnectedCopies) {
  CNode* start = Add("Start");
  CNode* task = Add("Task", 1);
  CNode* cluster = Add("Cluster", 2, 0, NodeKind::IWC);
  CNode* other = Add("Other", 3);
  Link(start, task, RoutingKind::Xor);
  Link(task, cluster);
  Link(cluster, other);
  doc.DefineAsWorkflowStart(*start);
  for (CNode* n : {start, task, cluster}) doc.Session().SelectNode(*n, true);
  NodeClipboard clipboard;
  EXPECT_FALSE(clipboard.IsFilled());
  clipboard.Copy(doc);
  ASSERT_TRUE(clipboard.IsFilled());
  EXPECT_EQ(clipboard.Nodes()[0]->CopiedFrom(), start);
  EXPECT_EQ(clipboard.Nodes()[0]->Document(), nullptr);
  EXPECT_EQ(clipboard.Arrows().size(), 2u) << "only arrows between selected nodes";

  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  std::vector<CNode*> pasted = clipboard.Paste(*level);
  EXPECT_EQ(level->LevelNodes(), pasted);
  // A copy is never a second start; a pasted cluster stands for a new level.
  EXPECT_EQ(Lines(doc),
            "Start@1 S\nTask@1\nCluster@1>2 k3\nOther@1\nStart@2\nTask@2\nCluster@2>3 k3\n"
            "Start->Task Xor\nTask->Cluster And\nCluster->Other And\n"
            "Start->Task Xor\nTask->Cluster And\n");
  for (CNode* n : pasted) EXPECT_EQ(n->CopiedFrom(), n);
  EXPECT_EQ(pasted[0]->GetRect(), start->GetRect());
  EXPECT_EQ(pasted[0]->Picture(), NodePicture::Intern);
  EXPECT_EQ(pasted[0]->OutgoingArrows()[0]->Target(), pasted[1]);
  EXPECT_EQ(level->StartNode(), nullptr);

  const std::vector<CNode*> again = clipboard.Paste(doc, {50, -50});
  EXPECT_EQ(doc.NodeCount(), 10u) << "the clipboard can be pasted again";
  EXPECT_EQ(again[0]->GetRect(), start->GetRect().Offset(50, -50));
  EXPECT_EQ(again[0]->OutgoingArrows()[0]->LineEnd(),
            ComputeArrowLine(again[0]->GetRect(), again[1]->GetRect()).end)
      << "arrows join the copies where they landed";
  doc.Session().DeselectAll();
  clipboard.Copy(doc);
  EXPECT_FALSE(clipboard.IsFilled()) << "a copy of an empty selection empties the clipboard";
}

TEST(PasteOffsetTest, CopiesLandOnNoNodeOrWhereTheMenuWasOpened) {
  const GridSettings grid{50, false};
  const std::vector<Rect> pair = {NodeRectAt(100, -100), NodeRectAt(200, -100)};
  struct Case {
    const char* what;
    std::vector<Rect> copies, level;
    std::optional<Point> at;
    bool magnetic;
    Point offset;
  };
  const Case cases[] = {
      {"beside the originals", pair, pair, {}, false, {50, -50}},
      {"past a node in the way", pair, {pair[0], pair[1], NodeRectAt(260, -160)}, {}, false,
       {100, -100}},
      {"where they were cut", pair, {NodeRectAt(0, 0)}, {}, false, {0, 0}},
      {"at the menu's point", pair, pair, Point{400, -400}, false, {300, -300}},
      {"at the menu's point on the grid", pair, pair, Point{410, -395}, true, {333, -283}},
      {"at the drawing's edge", {NodeRectAt(2000, -100)}, {NodeRectAt(2000, -100)}, {}, false,
       {50, -50}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PasteOffset(c.copies, c.level, c.at, {grid.size, c.magnetic}), c.offset) << c.what;
}

}  // namespace
}  // namespace velk::testing
