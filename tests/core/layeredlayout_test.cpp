// "Arrange as layers" on the demo workflows and on graphs made for it.

#include <algorithm>
#include <atomic>
#include <map>

#include "common/headlessservices.h"
#include "editor/autoarrange.h"
#include "editor/drawinggeometry.h"
#include "editor/layeredlayout.h"
#include "editor_graphs.h"
#include "model/workflowundo.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

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

TEST(LayeredLayoutTaskTest, ResultArrivesOnItsThreadAndAnAbandonedTaskIsHarmless) {
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

// Levels that took dot minutes: rows of our own, each arrow down unless it
// closes a loop, the start on top, neighbours a column apart on the grid.
TEST(LayeredLayoutTest, LargeAndDenseLevelsGetRowsOfTheirOwnAtOnce) {
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
