// Copying and pasting nodes through the internal clipboard.

#include "model/nodeclipboard.h"
#include "editor/pasteplace.h"
#include "editor_graphs.h"
#include "model/arrowgeometry.h"
#include "model/nodepicture.h"

namespace velk::testing {
namespace {

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
