// Undo and redo of workflow edits through edit scopes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/nodeclipboard.h"
#include "model/workflowundo.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

class WorkflowUndoTest : public WorkflowTest {
 protected:
  CNode *a{}, *b{}, *c{}, *cluster{}, *inner1{}, *inner2{}, *ext1{}, *ext2{};

  // A -> B -> C, cluster K between B and C with X -> Y inside, two external
  // tasks, one referring to the other; A starts and C ends the workflow.
  void SetUp() override {
    doc.ClearGraph();
    a = Add("A", 0, 0);
    b = Add("B", 1, 0);
    c = Add("C", 2, 0);
    cluster = Add("K", 1, 2, NodeKind::IWC);
    inner1 = Add("X", 0, 0);
    inner2 = Add("Y", 1, 0);
    MakeClusterOf(cluster, inner1, inner2);
    ext1 = Add("E1", 3, 0, NodeKind::Extern);
    ext2 = Add("E2", 3, 1, NodeKind::Extern);
    ASSERT_TRUE(doc.ConnectReference(*ext2, *ext1));
    Link(a, b);
    Link(b, cluster, RoutingKind::Or);
    Link(cluster, c);
    Link(inner1, inner2);
    doc.DefineAsWorkflowStart(*a);
    doc.DefineAsWorkflowEnd(*c);
    doc.Session().History().Clear();
  }

  // One edit step of `d` named `name`.
  static void Step(CWorkflowDoc& d, const std::string& name, const std::function<void()>& edit) {
    EditScope scope(d, name);
    edit();
  }
  void Step(const std::string& name, const std::function<void()>& edit) { Step(doc, name, edit); }

  // Names of the nodes' link targets, to see that links point at the right nodes.
  std::vector<std::string> Links() const {
    std::vector<std::string> out;
    for (const CNode* n : doc.AllNodes()) {
      out.push_back(n->Name() + ">" + (n->ReferencedNode() ? n->ReferencedNode()->Name() : ""));
      for (const CNode* r : n->ReferencingNodes()) out.push_back(n->Name() + "<" + r->Name());
      for (const CArrow* arrow : n->OutgoingArrows())
        out.push_back(n->Name() + "->" + arrow->Target()->Name());
      for (const CArrow* arrow : n->IncomingArrows())
        out.push_back(n->Name() + "<-" + arrow->Source()->Name());
    }
    out.push_back(doc.StartNode() ? doc.StartNode()->Name() : "-");
    out.push_back(doc.EndNode() ? doc.EndNode()->Name() : "-");
    return out;
  }
};

// Each edit round trips under its scope's name; in a scope without a name (a
// gesture) the step is named by its change.
TEST_F(WorkflowUndoTest, EveryEditKindRoundTripsExactlyAndGesturesAreNamedByTheirChange) {
  NodeClipboard clipboard;
  struct Edit {
    std::string name, gesture;
    std::function<void()> edit;
  };
  const std::vector<Edit> edits = {
      {"Insert", "Insert", [&] { doc.InsertNode(NodeRectAt(500, 0), NodeKind::Intern); }},
      {"Delete", "Delete", [&] { doc.DeleteNode(*b); }},
      {"Delete cluster", "Delete", [&] { doc.DeleteNode(*cluster); }},
      {"Insert cluster", "Insert", [&] { doc.InsertNode(NodeRectAt(600, 0), NodeKind::IWC); }},
      {"Move", "Move",
       [&] {
         doc.MoveNode(*a, 30, -20);
         doc.MoveNode(*b, 30, -20);
       }},
      {"Arrow", "Arrow",
       [&] {
         doc.CreateArrow(*a, *c, {RoutingKind::Xor, "x", {}});
       }},
      {"Delete arrow", "Delete", [&] { doc.DeleteArrow(*a->OutgoingArrows()[0]); }},
      {"Routing", "Edit",
       [&] {
         doc.SetArrowRouting(*a->OutgoingArrows()[0], {RoutingKind::Or, "y", {}});
       }},
      {"Out Task", "Edit", [&] { doc.MakeOutTask(*c); }},
      {"Start", "Edit", [&] { doc.DefineAsWorkflowStart(*b); }},
      {"Disconnect", "Edit", [&] { doc.DisconnectReference(*ext2); }},
      {"Cut and paste", "",  // always named by its command
       [&] {
         doc.Session().SelectNode(*a);
         doc.Session().SelectNode(*b, true);
         clipboard.Copy(doc);
         doc.Session().DeleteSelection();
         clipboard.Paste(doc);
       }},
      {"Workflow settings", "Edit",
       [&] { EditHeader(doc, [&](WorkflowHeader& h) { h.freeText = "changed"; }); }},
  };
  for (const auto& [name, gesture, edit] : edits) {
    SCOPED_TRACE(name);
    SetUp();
    const WorkflowSnapshot before = doc.TakeSnapshot();
    const auto linksBefore = Links();
    Step(name, edit);
    const WorkflowSnapshot after = doc.TakeSnapshot();
    const auto linksAfter = Links();
    ASSERT_FALSE(after.SameContent(before));
    EXPECT_EQ(doc.Session().History().UndoName(), name);
    ASSERT_TRUE(doc.Session().History().Undo());
    EXPECT_TRUE(doc.TakeSnapshot().SameContent(before));
    EXPECT_EQ(Links(), linksBefore);
    EXPECT_EQ(doc.Session().History().RedoName(), name);
    ASSERT_TRUE(doc.Session().History().Redo());
    EXPECT_TRUE(doc.TakeSnapshot().SameContent(after));
    EXPECT_EQ(Links(), linksAfter);
    ASSERT_TRUE(doc.Session().History().Undo());
    EXPECT_TRUE(doc.TakeSnapshot().SameContent(before));
    if (gesture.empty()) continue;
    SetUp();
    Step("", edit);
    EXPECT_EQ(doc.Session().History().UndoName(), gesture);
  }
}

TEST_F(WorkflowUndoTest, ScopesRecordOnlyChangesNestInOneStepAndNewEditsDropRedo) {
  doc.MoveNode(*a, 10, 0);  // its saved rectangle is now out of date
  const std::vector<std::pair<std::string, std::function<void()>>> noEdits = {
      {"Nothing", [] {}},
      {"Note the place before a move", [&] { doc.SaveNodeRect(*a); }},
      {"Open a cluster window", [&] { doc.OpenClusterDocument(*cluster); }},
      {"Close it", [&] { doc.CloseClusterDocument(*doc.ClusterDocuments().front()); }},
  };
  for (const auto& [name, action] : noEdits) Step(name, action);
  EXPECT_FALSE(doc.Session().History().CanUndo()) << doc.Session().History().UndoName();
  doc.MoveNode(*a, -10, 0);
  {
    EditScope outer(doc, "Outer");
    doc.MoveNode(*a, 10, 0);
    EditScope inner(doc, "Inner");
    doc.MoveNode(*b, 10, 0);
  }
  EXPECT_EQ(doc.Session().History().StepCount(), 1u);
  EXPECT_EQ(doc.Session().History().UndoName(), "Outer");
  doc.Session().History().Undo();
  EXPECT_EQ(a->GetRect(), NodeRectAt(0, 0));
  EXPECT_EQ(b->GetRect(), NodeRectAt(100, 0));

  // A new edit drops what could be redone; loading clears the history.
  for (int i = 0; i < 2; ++i) Step("Move", [&] { doc.MoveNode(*a, 10, 0); });
  doc.Session().History().Undo();
  ASSERT_TRUE(doc.Session().History().CanRedo());
  Step("Insert", [&] { doc.InsertNode(NodeRectAt(700, 0), NodeKind::Intern); });
  EXPECT_FALSE(doc.Session().History().CanRedo());
  EXPECT_EQ(doc.Session().History().StepCount(), 2u);
  // Loading empties the graph and starts a new history, even inside a scope.
  Step("Open", [&] {
    doc.ClearGraph();
    Add("Loaded");
  });
  EXPECT_FALSE(doc.Session().History().CanUndo());
}

TEST_F(WorkflowUndoTest, ModifiedFlagFollowsTheHistory) {
  doc.Session().ClearModified();
  Step("Move", [&] {
    doc.MoveNode(*a, 10, 0);
    doc.Session().SetModified();
  });
  ASSERT_TRUE(doc.Session().IsModified());
  doc.Session().History().Undo();
  EXPECT_FALSE(doc.Session().IsModified());
  EXPECT_EQ(doc.Session().Title().find(" *"), std::string::npos);
  doc.Session().History().Redo();
  EXPECT_TRUE(doc.Session().IsModified());
  doc.Session().ClearModified();  // saved here
  doc.Session().History().Undo();
  EXPECT_TRUE(doc.Session().IsModified());
  doc.Session().History().Redo();
  EXPECT_FALSE(doc.Session().IsModified());
  // A new edit after undoing past the save leaves the saved state unreachable.
  doc.Session().History().Undo();
  Step("Insert", [&] { doc.InsertNode(NodeRectAt(700, 0), NodeKind::Intern); });
  doc.Session().History().Undo();
  EXPECT_TRUE(doc.Session().IsModified());

  // Restored from a recovery copy: no step leads back to what is stored.
  doc.Session().History().Clear();
  doc.Session().History().MarkNotSaved();
  doc.Session().SetModified();
  Step("Move", [&] { doc.MoveNode(*a, 10, 0); });
  doc.Session().History().Undo();
  EXPECT_TRUE(doc.Session().IsModified());

  // A scope outliving its workflow records nothing (and does not crash).
  auto gone = std::make_unique<CWorkflowDoc>(ui, "CN=Test", "06.12.2026");
  EditScope scope(*gone, "Close");
  gone.reset();
}

// A scope ending while a step is restored (a key held in the closing window)
// keeps the history.
TEST_F(WorkflowUndoTest, OpenClusterWindowKeepsItsNodesAndClosesWhenItsNodeGoes) {
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  Step(*level, "Move", [&] { level->MoveNode(*inner1, 0, -50); });
  doc.Session().History().Undo();
  EXPECT_EQ(doc.ClusterDocuments().size(), 1u);
  EXPECT_EQ(level->RepresentingNode(), cluster);
  EXPECT_EQ(level->StartNode(), inner1);
  EXPECT_EQ(inner1->GetRect(), NodeRectAt(0, 0));

  Step("Insert cluster", [&] { doc.InsertNode(NodeRectAt(800, 0), NodeKind::IWC); });
  doc.OpenClusterDocument(*doc.AllNodes().back());
  ASSERT_EQ(doc.ClusterDocuments().size(), 2u);
  auto run = std::make_unique<EditScope>(doc, "");
  doc.MoveNode(*a, 10, 0);
  doc.SetClusterClosingHandler([&](CWorkflowDoc&) { run.reset(); });
  ASSERT_TRUE(doc.Session().History().Undo());
  EXPECT_EQ(doc.ClusterDocuments().size(), 1u);
  EXPECT_EQ(doc.Session().History().RedoName(), "Insert cluster");
  ASSERT_TRUE(doc.Session().History().Redo());
  EXPECT_EQ(doc.AllNodes().back()->Kind(), NodeKind::IWC);
}

}  // namespace
}  // namespace velk::testing
