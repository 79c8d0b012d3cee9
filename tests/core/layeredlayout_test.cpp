// "Arrange as layers" on the demo workflows and on graphs made for it.

#include <functional>
#include <set>

#include "editor/autoarrange.h"
#include "editor/layeredlayout.h"
#include "model/workflowundo.h"
#include "repository/demoworkflows.h"
#include "workflowfixture.h"

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

bool Reaches(const CNode* from, const CNode* to) {
  std::set<const CNode*> seen{from};
  std::vector<const CNode*> todo{from};
  while (!todo.empty()) {
    const CNode* n = todo.back();
    todo.pop_back();
    if (n == to) return true;
    for (const CArrow* a : n->OutgoingArrows())
      if (seen.insert(a->Target()).second) todo.push_back(a->Target());
  }
  return false;
}

void ExpectLayered(const CWorkflowDoc& level, int grid, const std::string& what) {
  const std::vector<CNode*> nodes = level.LevelNodes();
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Point c = nodes[i]->GetRect().Center();
    EXPECT_EQ(c.x % grid, 0) << what << " " << nodes[i]->Name();
    EXPECT_EQ(c.y % grid, 0) << what << " " << nodes[i]->Name();
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

TEST(LayeredLayoutTest, DemoWorkflowsGetRowsAlongTheArrowsWithoutOverlapsOrExtraCrossings) {
  ScopedHeadlessServices ui;
  for (auto& workflow : demo::BuildDemoWorkflows()) {
    for (CWorkflowDoc* level : Levels(*workflow)) {
      const std::string what = workflow->Header().name + " level " + std::to_string(level->Level());
      AutoArrange(*level, {50, 4});
      const int arranged = CountArrowCrossings(*level);
      std::string error;
      ArrangeAsLayers(*level, {50}, &error);
      EXPECT_EQ(error, "") << what;
      ExpectLayered(*level, 50, what);
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
  Link(a, b);
  Link(s, a);
  Link(b, s);
  Link(a, e);
  Link(lone, after);
  doc.SetStartNode(s);
  std::vector<Rect> before;
  for (const CNode* n : doc.AllNodes()) before.push_back(n->GetRect());
  {
    EditScope scope(doc, "Arrange as layers");
    EXPECT_TRUE(ArrangeAsLayers(doc, {50}));
  }
  ExpectLayered(doc, 50, "made");
  EXPECT_GT(s->GetRect().bottom, a->GetRect().top) << "the start heads the first row";
  EXPECT_GT(a->GetRect().bottom, b->GetRect().top);
  EXPECT_FALSE(ArrangeAsLayers(doc, {50})) << "laid out again, nothing moves";
  ASSERT_TRUE(doc.History().Undo());
  std::vector<Rect> after_undo;
  for (const CNode* n : doc.AllNodes()) after_undo.push_back(n->GetRect());
  EXPECT_EQ(after_undo, before);
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

}  // namespace
}  // namespace velk::testing
