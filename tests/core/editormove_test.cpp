// Moving nodes: grid snapping, pushing neighbours, arrows following their nodes.

#include <tuple>

#include "editor/nodemove.h"
#include "editor_graphs.h"
#include "model/arrowgeometry.h"

namespace velk::testing {
namespace {

// The arrow lies where it would be drawn for its nodes' present rectangles.
void ExpectArrowFollowsNodes(const CArrow* arrow) {
  const ArrowLine line = ComputeArrowLine(arrow->Source()->GetRect(), arrow->Target()->GetRect());
  EXPECT_EQ(arrow->LineStart(), line.start) << arrow->Source()->Name();
  EXPECT_EQ(arrow->LineEnd(), line.end) << arrow->Target()->Name();
}

TEST(SnapDeltaTest, CentreLandsOnTheNearestGridPointTiesGoRightAndDown) {
  // The centre, the move and the snap that follows it.
  const std::tuple<Point, Point, Point> cases[] = {
      {{75, -50}, {0, 0}, {25, 0}},     // 25 right of a line: snaps right
      {{74, -50}, {0, 0}, {-24, 0}},    // 24 right: snaps left
      {{50, -75}, {0, 0}, {0, -25}},    // 25 below a line: snaps down
      {{50, -74}, {0, 0}, {0, 24}},     // 24 below: snaps up
      {{50, -50}, {30, -20}, {50, 0}},  // the moved centre is what snaps
      {{-10, 10}, {0, 0}, {10, -10}},   // left of and above the drawing
  };
  for (const auto& [centre, move, snap] : cases)
    EXPECT_EQ(SnapDelta(AroundCentre(centre.x, centre.y), move.x, move.y, 50), snap)
        << centre.x << "," << centre.y;
}

TEST_F(WorkflowTest, ArrowKeysMoveAGridStepOrWithShiftOnePixelUnsnapped) {
  // The centre, the key, SHIFT held, magnetic grid, units per pixel, the centre moved to.
  const std::tuple<Point, KeyDirection, bool, bool, double, Point> cases[] = {
      {{50, -50}, KeyDirection::Right, false, false, 1.0, {100, -50}},
      {{50, -50}, KeyDirection::Up, false, true, 1.0, {50, 0}},
      {{17, -17}, KeyDirection::Right, false, true, 1.0, {50, 0}},  // lands on the grid
      {{50, -50}, KeyDirection::Left, true, true, 1.04, {49, -50}},
      {{50, -50}, KeyDirection::Down, true, false, 2.6, {50, -53}},  // zoomed out
      {{50, -50}, KeyDirection::Right, true, false, 0.5, {51, -50}},  // zoomed in: one unit
  };
  for (const auto& [centre, direction, fine, magnetic, unitsPerPixel, expected] : cases) {
    CNode* node = doc.CreateNode(AroundCentre(centre.x, centre.y));
    EXPECT_TRUE(NudgeNodes(doc, {node}, direction, fine, {50, magnetic}, unitsPerPixel));
    EXPECT_EQ(node->GetRect().Center(), expected)
        << static_cast<int>(direction) << (fine ? " fine" : "");
  }
}

TEST_F(WorkflowTest, MovingTogetherKeepsEveryArrowAttachedEvenWhenNodesSnapDifferently) {
  CNode* a = doc.CreateNode(AroundCentre(100, -100));  // on the grid
  CNode* b = doc.CreateNode(AroundCentre(213, -190));  // off the grid
  CNode* c = doc.CreateNode(AroundCentre(400, -100));
  for (auto [from, to] : {std::pair{a, b}, {b, c}, {c, a}}) Link(from, to);
  for (GridSettings grid : {GridSettings{50, false}, GridSettings{50, true}}) {
    EXPECT_TRUE(MoveNodes(doc, {a, b}, 30, -20, grid));
    for (const CArrow* arrow : doc.AllArrows()) ExpectArrowFollowsNodes(arrow);
  }
  EXPECT_EQ(a->GetRect().Center(), (Point{150, -150})) << "snapped after the unsnapped move";
  EXPECT_EQ(b->GetRect().Center(), (Point{250, -250}));
  EXPECT_FALSE(MoveNodes(doc, {a, b}, 0, 0, {50, true})) << "already on the grid";
}

TEST_F(WorkflowTest, PushedNeighbourMovesOneStepAndPushesTheNextOnItsOwnLevelOnly) {
  CWorkflowDoc* inner = doc.OpenClusterDocument(*Add("Cluster", 5, 5, NodeKind::IWC));
  CNode* hidden = inner->CreateNode(NodeRectAt(40, 0));
  CNode* mover = Add("Mover");
  CNode* first = doc.CreateNode(NodeRectAt(40, 0));
  CNode* second = Add("Second", 1);
  CNode* wide = doc.CreateNode({0, -200, 80, -234});
  const GridSettings grid{50, false};
  MoveNode(doc, *mover, 20, 0, PushDirection::Right, grid);
  EXPECT_EQ(mover->GetRect().left, 20);
  EXPECT_EQ(first->GetRect().left, 90) << "pushed by one grid step";
  EXPECT_EQ(second->GetRect().left, 150) << "pushed along by the first";
  EXPECT_EQ(hidden->GetRect().left, 40) << "another level's node";
  MoveNode(doc, *mover, 0, -180, PushDirection::Down, grid);
  EXPECT_EQ(wide->GetRect().top, -280) << "a node wider than the grid moves by its width";
  MoveNode(doc, *second, -60, 0, PushDirection::None, grid);
  EXPECT_EQ(first->GetRect().left, 90) << "no pushing while dragging";
}

}  // namespace
}  // namespace velk::testing
