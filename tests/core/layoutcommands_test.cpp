// Moving nodes (grid snapping, pushing neighbours, arrows following their nodes),
// alignment, the grid command, automatic arrangement, grouping as a cluster, and
// "Arrange as layers" on the demo workflows and on graphs made for it.

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <tuple>

#include "common/headlessservices.h"
#include "editor/alignment.h"
#include "editor/autoarrange.h"
#include "editor/clustergroup.h"
#include "editor/drawinggeometry.h"
#include "editor/layeredlayout.h"
#include "editor/nodemove.h"
#include "editor_graphs.h"
#include "model/arrowgeometry.h"
#include "model/workflowundo.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

class LayoutCommandsTest : public WorkflowTest {
 protected:
  void Select(std::initializer_list<CNode*> nodes) {
    doc.Session().DeselectAll();
    for (CNode* n : nodes) doc.Session().SelectNode(*n, true);
  }
};

TEST_F(LayoutCommandsTest, EachAlignmentMeetsItsReferenceAndOneNodeStays) {
  // A at (0,0)-(34,-34), B at (100,-60) and 50 wide; where each goes.
  const std::tuple<AlignKind, Rect, Rect> cases[] = {
      {AlignKind::Left, {0, 0, 34, -34}, {0, -60, 50, -94}},
      {AlignKind::Right, {116, 0, 150, -34}, {100, -60, 150, -94}},
      {AlignKind::Top, {0, 0, 34, -34}, {100, 0, 150, -34}},
      {AlignKind::Bottom, {0, -60, 34, -94}, {100, -60, 150, -94}},
      {AlignKind::CenterHorizontally, {0, -30, 34, -64}, {100, -30, 150, -64}},
      {AlignKind::CenterVertically, {58, 0, 92, -34}, {50, -60, 100, -94}},
  };
  for (const auto& [kind, aligned, bAligned] : cases) {
    doc.ClearGraph();
    CNode* a = Add("A");
    CNode* b = doc.CreateNode({100, -60, 150, -94});
    const CArrow* arrow = Link(a, b);
    Select({a});
    EXPECT_FALSE(AlignSelectedNodes(doc, kind, {})) << "one node aligned stays";
    Select({a, b});
    EXPECT_TRUE(AlignSelectedNodes(doc, kind, {}));
    EXPECT_EQ(std::pair(a->GetRect(), b->GetRect()), std::pair(aligned, bAligned))
        << static_cast<int>(kind);
    EXPECT_EQ(arrow->LineEnd(), ComputeArrowLine(a->GetRect(), b->GetRect()).end)
        << "arrows follow";
  }
}

TEST_F(LayoutCommandsTest, AligningPushesANeighbourWhichPushesTheNext) {
  CNode* a = Add("A");
  CNode* b = Add("B", 2, 1);
  CNode* n1 = doc.CreateNode(NodeRectAt(210, 0));  // where B lands when aligned to the top
  CNode* n2 = doc.CreateNode(NodeRectAt(250, 0));
  Select({a, b});
  EXPECT_TRUE(AlignSelectedNodes(doc, AlignKind::Top, {50, false}));
  EXPECT_EQ(b->GetRect(), NodeRectAt(200, 0));
  EXPECT_EQ(n1->GetRect().left, 260) << "pushed right by one grid step";
  EXPECT_EQ(n2->GetRect().left, 300) << "pushed along by N1";
}

TEST_F(LayoutCommandsTest, GridSnapsTwentyFiveRightAndTwentyFourLeftOnlyWhenMagnetic) {
  CNode* right = doc.CreateNode(AroundCentre(75, -100));
  CNode* left = doc.CreateNode(AroundCentre(74, -300));
  EXPECT_FALSE(AlignNodesToGrid(doc, {50, false})) << "snapping off changes nothing";
  EXPECT_TRUE(AlignNodesToGrid(doc, {50, true})) << "no selection: the whole level";
  EXPECT_EQ(right->GetRect().Center(), (Point{100, -100}));
  EXPECT_EQ(left->GetRect().Center(), (Point{50, -300}));
  doc.SetNodeRect(*left, AroundCentre(74, -300));
  doc.SetNodeRect(*right, AroundCentre(74, -100));
  Select({left});
  AlignNodesToGrid(doc, {50, true});
  EXPECT_EQ(left->GetRect().Center(), (Point{50, -300}));
  EXPECT_EQ(right->GetRect().Center(), (Point{74, -100})) << "not selected";
}

TEST_F(LayoutCommandsTest, AutoArrangeLayersComponentsAndCycles) {
  // Part 1: R -> A -> B -> R (a cycle) and R -> C, from R as the root; part 2: X -> Y.
  CNode* x = Add("X", 5, 5);
  CNode* y = Add("Y", 6, 5);
  CNode* r = Add("R", 1, 1);
  CNode* a = Add("A", 2, 1);
  CNode* b = Add("B", 3, 1);
  CNode* c = Add("C", 4, 1);
  for (auto [from, to] : {std::pair{x, y}, {r, a}, {a, b}, {b, r}, {r, c}}) Link(from, to);
  doc.SetClusterStartFlag(*r, true);
  EXPECT_TRUE(AutoArrange(doc, {50, 4}));
  // Every layer's row counter moves on by one before the second part.
  EXPECT_EQ(Rects(doc), (std::vector<Rect>{AroundCentre(600, -200), AroundCentre(800, -400),
                                           AroundCentre(200, -200), AroundCentre(200, -400),
                                           AroundCentre(200, -600), AroundCentre(400, -400)}));
  EXPECT_FALSE(AutoArrange(doc, {50, 4})) << "already arranged";
}

// Graphs on which placing a node where it is first reached (breadth-first)
// gives shallower layers than its deepest predecessor.
TEST_F(LayoutCommandsTest, AutoArrangePutsANodeBelowItsDeepestPredecessorEvenPastLayer255) {
  // What, the arrows between nodes 0, 1, ..., and each node's layer.
  const std::tuple<const char*, std::vector<std::pair<int, int>>, std::vector<int>> cases[] = {
      {"a shortcut A -> D beside A -> B -> C -> D", {{0, 1}, {1, 2}, {2, 3}, {0, 3}}, {1, 2, 3, 4}},
      {"the arrow D -> B closing a loop does not count",
       {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {3, 1}},
       {1, 2, 3, 4}},
      {"every node on a loop: the first is the root",
       {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 3}},
       {1, 2, 3, 4}},
      {"two parts: the second from its own source",
       {{0, 1}, {2, 3}, {3, 4}, {4, 5}, {2, 5}},
       {1, 2, 1, 2, 3, 4}},
  };
  for (const auto& [what, arrows, layers] : cases) {
    doc.ClearGraph();
    std::vector<CNode*> nodes;
    for (int i = 0; i < static_cast<int>(layers.size()); ++i)
      nodes.push_back(Add(std::to_string(i), i));
    for (auto [from, to] : arrows) Link(nodes[from], nodes[to]);
    AutoArrange(doc, {50, 4});
    std::vector<int> placed;
    for (const CNode* n : nodes) placed.push_back(-n->GetRect().Center().y / 200);
    EXPECT_EQ(placed, layers) << what;
  }
  // A chain deeper than 255 layers.
  doc.ClearGraph();
  CNode* previous = Add("0");
  for (int i = 1; i < 300; ++i) {
    CNode* next = Add(std::to_string(i));
    Link(previous, next);
    previous = next;
  }
  AutoArrange(doc, {50, 4});
  EXPECT_EQ(previous->GetRect().Center(), (Point{200, -300 * 200}));
}

TEST_F(LayoutCommandsTest, GroupingAToBMakesAClusterInAsPlace) {
  CNode* in = Add("In", 0, 0);
  CNode* a = Add("A", 1, 0);
  CNode* b = Add("B", 2, 0);
  CNode* out = Add("Out", 3, 0);
  CNode* empty = Add("Empty", 4, 4, NodeKind::IWC);  // stands for level 2, which no node is in
  for (auto [from, to] : {std::pair{in, a}, {a, b}, {b, a}, {b, out}}) Link(from, to);
  const Rect aRect = a->GetRect();
  Select({a, b});
  CNode* k = GroupSelectionAsCluster(doc);
  ASSERT_NE(k, nullptr);
  // A loop inside stays inside; no level number is used twice.
  EXPECT_EQ(Lines(doc),
            "In@1\nA@3 S\nB@3 E\nOut@1\nEmpty@1>2 k3\n@1>3 k3\n"
            "In-> And\nA->B And\nB->A And\n->Out And\n");
  EXPECT_EQ(std::tuple(k->Picture(), a->Picture(), b->Picture()),
            std::tuple(NodePicture::Cluster, NodePicture::ClusterStart, NodePicture::ClusterEnd));
  EXPECT_EQ(std::pair(k->ClusterStartNode(), k->ClusterEndNode()), std::pair(a, b));
  EXPECT_EQ(k->GetRect(), aRect);
  EXPECT_EQ(doc.LevelNodes(), (std::vector<CNode*>{in, out, empty, k}));
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{k}));
}

TEST_F(LayoutCommandsTest, GroupingRefusalsChangeNothing) {
  struct Case {
    std::vector<std::pair<int, int>> arrows;  // between nodes 0..4; 1..3 selected
    std::string message;                      // before "Cant group the selection to a cluster!"
    // Makes a start or end task of one of them.
    std::function<void(CWorkflowDoc&, const std::vector<CNode*>&)> mark = {};
  };
  const std::string many =
      "One of the selected nodes has arrows to more than one node outside selection. ";
  const std::string bounds =
      "The start and end tasks of the workflow and of its clusters can not be grouped.";
  const std::vector<std::pair<int, int>> chain{{0, 1}, {1, 2}, {2, 3}, {3, 4}};
  const Case cases[] = {
      {{{0, 1}, {1, 4}, {1, 2}}, many},
      {{{0, 1}, {0, 2}, {3, 4}},
       "Only one node in selection can have incoming arrows to a node outside the selection."},
      {{{0, 1}, {2, 4}, {3, 4}},
       "Only one node in selection can have outgoing arrows to a node outside the selection."},
      {{{0, 1}, {1, 2}}, "A cluster has exactly one incoming and one outgoing node."},
      {{{0, 1}, {2, 0}, {1, 2}, {1, 3}}, ""},  // fine: entry 1, exit 2
      {{{0, 2}, {2, 4}}, many},  // one node as entry and exit is caught by the first rule
      // Grouped, these would leave their level without its start or end task.
      {chain, bounds, [](CWorkflowDoc& d, const auto& n) { d.DefineAsWorkflowStart(*n[1]); }},
      {chain, bounds, [](CWorkflowDoc& d, const auto& n) { d.DefineAsWorkflowEnd(*n[3]); }},
      {chain, bounds, [](CWorkflowDoc& d, const auto& n) { d.SetClusterEndFlag(*n[2], true); }},
  };
  for (const Case& c : cases) {
    doc.ClearGraph();
    ui.messages.clear();
    std::vector<CNode*> n;
    for (int i = 0; i < 5; ++i) n.push_back(Add(std::to_string(i), i));
    for (auto [s, t] : c.arrows) Link(n[s], n[t]);
    if (c.mark) c.mark(doc, n);
    Select({n[1], n[2], n[3]});
    const auto before = doc.TakeSnapshot();
    CNode* k = GroupSelectionAsCluster(doc);
    if (c.message.empty()) {
      EXPECT_NE(k, nullptr);
      continue;
    }
    EXPECT_EQ(k, nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.ends_with(c.message + "Cant group the selection to a cluster!"))
        << ui.messages[0].text;
    EXPECT_TRUE(doc.TakeSnapshot().SameContent(before));
  }
  doc.ClearGraph();
  ui.messages.clear();
  Select({Add("P")});
  EXPECT_EQ(GroupSelectionAsCluster(doc), nullptr);
  EXPECT_TRUE(ui.messages.empty()) << "fewer than two: nothing happens";
}

TEST_F(LayoutCommandsTest, UndoRestoresEveryRectangleAndTheClusterStructure) {
  CNode* in = Add("In", 0, 0);
  CNode* a = Add("A", 1, 3);
  CNode* b = Add("B", 2, 1);
  CNode* out = Add("Out", 3, 2);
  for (auto [from, to] : {std::pair{in, a}, {a, b}, {b, out}}) Link(from, to);
  const auto before = doc.TakeSnapshot();  // with every rectangle
  const auto step = [&](const char* name, const std::function<void()>& edit) {
    EditScope scope(doc, name);
    edit();
  };
  step("Autoarrange Nodes", [&] { AutoArrange(doc, {50, 4}); });
  Select({a, b});
  step("Top", [&] { AlignSelectedNodes(doc, AlignKind::Top, {50, true}); });
  step("Group", [&] { GroupSelectionAsCluster(doc); });
  EXPECT_EQ(doc.Session().History().StepCount(), 3u);
  while (doc.Session().History().Undo()) {
  }
  EXPECT_TRUE(doc.TakeSnapshot().SameContent(before));
}

// ---- Moving nodes ----

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

// ---- Arrange as layers ----

// Every level of the workflow: the top and one document per cluster node.
std::vector<CWorkflowDoc*> Levels(CWorkflowDoc& top) {
  std::vector<CWorkflowDoc*> levels{&top};
  for (std::size_t i = 0; i < levels.size(); ++i)
    for (CNode* node : levels[i]->LevelNodes())
      if (node->IsClusterNode()) levels.push_back(top.OpenClusterDocument(*node));
  return levels;
}

void ExpectLayered(const CWorkflowDoc& level, int grid, const std::string& what) {
  const std::vector<CNode*> nodes = level.LevelNodes();
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Point c = nodes[i]->GetRect().Center();
    EXPECT_EQ(std::pair(c.x % grid, c.y % grid), std::pair(0, 0))
        << what << " " << nodes[i]->Name();
    for (std::size_t j = i + 1; j < nodes.size(); ++j)
      EXPECT_FALSE(nodes[i]->GetRect().Intersects(nodes[j]->GetRect()))
          << what << ": " << nodes[i]->Name() << " overlaps " << nodes[j]->Name();
    for (const CArrow* a : nodes[i]->OutgoingArrows()) {
      const bool down = a->Target()->GetRect().top < a->Source()->GetRect().bottom;
      EXPECT_TRUE(down || Reaches(a->Target(), a->Source()))
          << what << ": " << a->Source()->Name() << " -> " << a->Target()->Name()
          << " goes up without closing a loop";
    }
  }
}

// Each condition label, hung from the middle of its arrow as the drawing does,
// clear of the other labels and of every node with all its texts.
void ExpectLabelsClear(const CWorkflowDoc& level, const std::string& what) {
  const TextOffsets texts = ComputeTextOffsets({true, true, true, true, true});
  std::vector<std::pair<std::string, Rect>> labels;
  for (const CNode* source : level.LevelNodes())
    for (const CArrow* a : source->OutgoingArrows()) {
      if (a->Condition().empty()) continue;
      const Rect box =
          DescriptionBox(DescriptionTextRect(DescriptionAnchor({a->LineStart(), a->LineEnd()}),
                                             EstimatedLabelWidth(a->Condition()), 10));
      for (const auto& [other, placed] : labels)
        EXPECT_FALSE(box.Intersects(placed)) << what << ": " << a->Condition() << " over " << other;
      for (const CNode* n : level.LevelNodes())
        EXPECT_FALSE(box.Intersects(NodeTextArea(n->GetRect(), texts)))
            << what << ": " << a->Condition() << " over " << n->Name();
      labels.emplace_back(a->Condition(), box);
    }
}

TEST(LayeredLayoutTest, DemoWorkflowsGetRowsAlongTheArrowsWithoutOverlapsOrExtraCrossings) {
  HeadlessServices ui;
  for (auto& workflow : demo::BuildDemoWorkflows(ui)) {
    for (CWorkflowDoc* level : Levels(*workflow)) {
      const std::string what = workflow->Header().name + " level " + std::to_string(level->Level());
      AutoArrange(*level, {50, 4});
      const int arranged = CountArrowCrossings(*level);
      std::string error;
      ArrangeAsLayers(*level, {50}, &error);
      EXPECT_EQ(error, "") << what;
      ExpectLayered(*level, 50, what);
      ExpectLabelsClear(*level, what);
      EXPECT_LE(CountArrowCrossings(*level), arranged) << what;
      if (CNode* start = level->StartNode()) {
        for (const CNode* n : level->LevelNodes())
          EXPECT_GE(start->GetRect().top, n->GetRect().top) << what << ": start in the first row";
      }
    }
  }
}

TEST_F(WorkflowTest, LayeredLayoutFollowsTheStartTaskAndUndoRestoresEveryRectangle) {
  // A loop back to the start, a second part without arrows into it, and a
  // task reached only from the end.
  CNode* s = Add("S", 5, 5);
  CNode* a = Add("A", 0, 0);
  CNode* b = Add("B", 0, 1);
  CNode* e = Add("E", 3, 3);
  CNode* lone = Add("Lone", 1, 7);
  CNode* after = Add("After", 2, 7);
  for (auto [from, to] : {std::pair{a, b}, {s, a}, {b, s}, {a, e}, {lone, after}}) Link(from, to);
  doc.SetStartNode(s);
  const std::vector<Rect> before = Rects(doc);
  {
    EditScope scope(doc, "Arrange as layers");
    EXPECT_TRUE(ArrangeAsLayers(doc, {50}));
  }
  ExpectLayered(doc, 50, "made");
  EXPECT_GT(s->GetRect().bottom, a->GetRect().top) << "the start heads the first row";
  EXPECT_GT(a->GetRect().bottom, b->GetRect().top);
  EXPECT_FALSE(ArrangeAsLayers(doc, {50})) << "laid out again, nothing moves";
  ASSERT_TRUE(doc.Session().History().Undo());
  EXPECT_EQ(Rects(doc), before);
}

// Levels that took dot minutes: rows of our own, each arrow down unless it
// closes a loop, the start on top, neighbours a column apart on the grid.
TEST(LayeredLayoutTest, LargeAndDenseLevelsGetRowsAtOnceAndATaskHandsOverItsResult) {
  struct Case {
    const char* name;
    int nodes;
    LayoutGraph graph;
  } cases[] = {{"complete DAG", 300, {}}, {"fan", 500, {}}, {"chain with a loop back", 5000, {}}};
  for (int s = 0; s < 300; ++s)
    for (int t = s + 1; t < 300; ++t) cases[0].graph.edges.emplace_back(s, t);
  for (int i = 1; i < 499; ++i)
    cases[1].graph.edges.insert(cases[1].graph.edges.end(), {{0, i}, {i, 499}});
  for (int i = 0; i + 1 < 5000; ++i) cases[2].graph.edges.emplace_back(i, i + 1);
  cases[2].graph.edges.emplace_back(4999, 0);
  for (Case& c : cases) {
    c.graph.sizes.assign(static_cast<std::size_t>(c.nodes), {34, 34});
    c.graph.labelWidths.assign(c.graph.edges.size(), 0);
    const LayoutResult result = ComputeLayeredLayout(c.graph, {50});
    ASSERT_TRUE(result.ok) << c.name;
    EXPECT_EQ(result.engine, LayoutEngine::Rows) << c.name;
    EXPECT_EQ(result.rows[0], 0) << c.name;
    for (auto [s, t] : c.graph.edges)
      EXPECT_TRUE(t == 0 || result.rows[t] > result.rows[s]) << c.name << " " << s << "->" << t;
    std::map<int, std::vector<int>> rows;
    for (std::size_t i = 0; i < result.centres.size(); ++i) {
      EXPECT_EQ(result.centres[i].x % 50, 0) << c.name;
      rows[result.centres[i].y].push_back(result.centres[i].x);
    }
    for (auto& [y, xs] : rows) {
      std::ranges::sort(xs);
      for (std::size_t i = 1; i < xs.size(); ++i) EXPECT_GE(xs[i] - xs[i - 1], 150) << c.name;
    }
    std::atomic<bool> stop = true;
    EXPECT_FALSE(ComputeLayeredLayout(c.graph, {50}, &stop).ok) << c.name << ": given up";
  }
  // The result arrives on its thread, and an abandoned task is harmless.
  LayoutGraph graph;
  for (int i = 0; i < 4; ++i) graph.sizes.push_back({34, 34});
  graph.edges = {{0, 1}, {1, 2}, {2, 3}};
  { LayeredLayoutTask abandoned(graph, {}); }
  LayeredLayoutTask task(graph, {});
  ASSERT_TRUE(task.WaitFor(std::chrono::seconds(30)));
  const LayoutResult result = task.Take();
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.rows, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(ComputeLayeredLayout({}, {}).ok) << "an empty level";
}

// The conditions of Order Handling, one arrow passing a row.
TEST_F(WorkflowTest, ConditionLabelsGetRoomBetweenTheRowsTheyJoin) {
  CNode* receive = Add("Receive order", 0, 0);
  CNode* credit = Add("Credit check", 0, 1);
  CNode* approve = Add("Approve order", 0, 2);
  CNode* reject = Add("Reject order", 0, 3);
  CNode* fulfil = Add("Fulfil order", 0, 4);
  CNode* confirm = Add("Confirm order", 0, 5);
  Link(receive, credit);
  doc.CreateArrow(*credit, *approve, {RoutingKind::Cor, "large order", "Order_Amount > 10000"});
  doc.CreateArrow(*credit, *fulfil, {RoutingKind::Xor, "Order_Amount <= 10000", ""});
  doc.CreateArrow(*approve, *reject, {RoutingKind::Or, "rejected", ""});
  doc.CreateArrow(*approve, *fulfil, {RoutingKind::Or, "approved", ""});
  doc.CreateArrow(*approve, *confirm, {RoutingKind::Or, "approved", ""});
  Link(fulfil, confirm);
  doc.SetStartNode(receive);
  ASSERT_TRUE(ArrangeAsLayers(doc, {50}));
  ExpectLabelsClear(doc, "made");
}

}  // namespace
}  // namespace velk::testing
