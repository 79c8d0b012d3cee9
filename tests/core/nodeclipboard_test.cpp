// Copying and pasting nodes through the internal clipboard.

#include "editor/pasteplace.h"
#include "model/arrowgeometry.h"
#include "model/nodeclipboard.h"
#include "model/nodepicture.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

TEST_F(WorkflowTest, CopyTakesOnlyArrowsBetweenSelectedNodes) {
  CNode* a = Add("A");
  CNode* b = Add("B", 1);
  CNode* c = Add("C", 2);
  Link(a, b, RoutingKind::Or);
  Link(b, c);
  Link(c, a);
  doc.Session().SelectNode(*a);
  doc.Session().SelectNode(*b, true);

  NodeClipboard clipboard;
  EXPECT_FALSE(clipboard.IsFilled());
  clipboard.Copy(doc);
  ASSERT_TRUE(clipboard.IsFilled());
  auto nodes = clipboard.Nodes();
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0]->CopiedFrom(), a);
  EXPECT_EQ(nodes[0]->Name(), "A");
  EXPECT_EQ(nodes[0]->Document(), nullptr);
  auto arrows = clipboard.Arrows();
  ASSERT_EQ(arrows.size(), 1u);
  EXPECT_EQ(arrows[0]->Source(), nodes[0]);
  EXPECT_EQ(arrows[0]->Target(), nodes[1]);
  EXPECT_EQ(nodes[1]->IncomingArrows().size(), 1u);

  doc.Session().DeselectAll();
  clipboard.Copy(doc);
  EXPECT_FALSE(clipboard.IsFilled()) << "a copy of an empty selection empties the clipboard";
}

TEST_F(WorkflowTest, PasteMakesConnectedCopiesInTheTargetLevel) {
  CNode* start = Add("Start");
  CNode* task = Add("Task", 1);
  CNode* cluster = Add("Cluster", 2, 0, NodeKind::IWC);
  Link(start, task, RoutingKind::Xor);
  Link(task, cluster);
  doc.DefineAsWorkflowStart(*start);
  doc.Session().SelectAllNodes();
  NodeClipboard clipboard;
  clipboard.Copy(doc);

  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  std::vector<CNode*> pasted = clipboard.Paste(*level);
  ASSERT_EQ(pasted.size(), 3u);
  EXPECT_EQ(level->LevelNodes(), pasted);
  EXPECT_EQ(doc.NodeCount(), 6u);
  EXPECT_EQ(doc.AllArrows().size(), 4u);
  for (CNode* n : pasted) {
    EXPECT_EQ(n->Document(), level);
    EXPECT_EQ(n->CopiedFrom(), n);
    EXPECT_FALSE(n->IsClusterStartNode()) << "a copy is never a second start";
  }
  EXPECT_EQ(pasted[0]->GetRect(), start->GetRect());
  EXPECT_EQ(pasted[0]->Picture(), NodePicture::Intern);
  ASSERT_EQ(pasted[0]->OutgoingArrows().size(), 1u);
  EXPECT_EQ(pasted[0]->OutgoingArrows()[0]->Target(), pasted[1]);
  EXPECT_EQ(pasted[0]->OutgoingArrows()[0]->Kind(), RoutingKind::Xor);
  EXPECT_EQ(pasted[2]->BelongsToCluster(), cluster->RepresentsCluster());
  EXPECT_NE(pasted[2]->RepresentsCluster(), cluster->RepresentsCluster())
      << "a pasted cluster stands for a new level";
  EXPECT_EQ(level->StartNode(), nullptr);

  const std::vector<CNode*> again = clipboard.Paste(doc, {50, -50});
  EXPECT_EQ(doc.NodeCount(), 9u) << "the clipboard can be pasted again";
  EXPECT_EQ(again[0]->GetRect(), start->GetRect().Offset(50, -50));
  EXPECT_EQ(again[0]->OutgoingArrows()[0]->LineEnd(),
            ComputeArrowLine(again[0]->GetRect(), again[1]->GetRect()).end)
      << "arrows join the copies where they landed";
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
