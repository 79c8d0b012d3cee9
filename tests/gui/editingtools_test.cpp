// The editing tools driven by mouse events on a real workflow view.

#include "app/ui/commands.h"
#include "editorfixture.h"

namespace editortest {
namespace {

TEST_F(EditorTest, InsertToolGivesWayAfterOneInsertUnlessShiftWasHeld) {
  settings.gridMagnetic = false;
  ChooseTool(cmd::ToolInternalTask);
  EXPECT_EQ(ActiveTool(), ToolId::InsertInternalTask);
  Click({200, -200}, Qt::ShiftModifier);
  EXPECT_EQ(ActiveTool(), ToolId::InsertInternalTask) << "SHIFT on release keeps the tool";
  Click({300, -200});
  EXPECT_EQ(ActiveTool(), ToolId::Select);
  ASSERT_EQ(doc->NodeCount(), 2u);
  EXPECT_EQ(doc->LevelNodes()[0]->GetRect(), (velk::Rect{184, -184, 218, -218}));
  EXPECT_TRUE(doc->Session().IsModified());

  ChooseTool(cmd::ToolExtSubscribed, Qt::ShiftModifier);
  CmdUI button;
  ASSERT_TRUE(view->OnUpdateCommand(cmd::ToolExtSubscribed, button));
  EXPECT_TRUE(button.indeterminate);
  for (int x : {400, 500, 600}) Click({x, -400});
  EXPECT_EQ(ActiveTool(), ToolId::InsertSubscribed);
  EXPECT_EQ(doc->NodeCount(), 5u);
  EXPECT_EQ(doc->LevelNodes()[4]->Kind(), NodeKind::Extern);
  ChooseTool(cmd::ToolSelect);
  EXPECT_EQ(ActiveTool(), ToolId::Select);
}

TEST_F(EditorTest, ArrowToolPromptsAndContinuesWithShift) {
  CNode* a = Add("A", 100, -100);
  CNode* b = Add("B", 300, -100);
  CNode* c = Add("C", 500, -100);
  ChooseTool(cmd::ToolArrow);
  EXPECT_EQ(ui.currentStatus(), "Select source task of arrow");
  Click({100, -100});
  EXPECT_EQ(ui.currentStatus(), "Select destination task (hold SHIFT for continous mode)");
  Click({300, -100}, Qt::ShiftModifier);
  EXPECT_TRUE(HasArrow(a, b));
  EXPECT_EQ(ActiveTool(), ToolId::ArrowSourceChosen) << "B is the next source";
  Click({500, -100});
  EXPECT_TRUE(HasArrow(b, c));
  EXPECT_EQ(doc->AllArrows().size(), 2u);
  EXPECT_TRUE(doc->Session().IsModified());
  Click({800, -800});
  EXPECT_EQ(ActiveTool(), ToolId::ArrowNoSource);
}

TEST_F(EditorTest, RubberBandSelectsTheNodesItIntersects) {
  CNode* a = Add("A", 100, -100);
  CNode* b = Add("B", 300, -100);
  Add("C", 100, -400);
  doc->Session().SelectNode(*doc->LevelNodes()[2]);
  Press({50, -50});
  MoveTo({200, -150});
  EXPECT_EQ(doc->Session().SelectedNodes(), std::vector<CNode*>{a});
  MoveTo({290, -110});
  Release({290, -110});
  EXPECT_EQ(doc->Session().SelectedNodes(), (std::vector<CNode*>{a, b}));
  EXPECT_FALSE(doc->Session().IsModified());
}

TEST_F(EditorTest, MovingWithAMagneticGridSnaps25UnitsRightAnd24Left) {
  settings.gridMagnetic = true;
  settings.gridSize = 50;
  CNode* node = Add("A", 100, -100);
  CNode* other = Add("B", 300, -100);
  doc->CreateArrow(*node, *other);
  Press({100, -100});
  MoveTo({124, -100});
  EXPECT_EQ(node->GetRect().Center(), (Point{100, -100})) << "24 units: back to the left line";
  EXPECT_FALSE(doc->Session().IsModified());
  MoveTo({125, -100});
  EXPECT_EQ(node->GetRect().Center(), (Point{150, -100})) << "25 units: on to the right line";
  EXPECT_EQ(doc->AllArrows().begin()[0]->LineStart(), (Point{167, -100}));
  Release({125, -100});
  EXPECT_EQ(node->GetRect().Center(), (Point{150, -100}));
  EXPECT_TRUE(doc->Session().IsModified());
  EXPECT_EQ(other->GetRect().Center(), (Point{300, -100})) << "unselected nodes stay";
}

TEST_F(EditorTest, CopyTakesOnlyTheArrowsBetweenSelectedNodesAndPasteAddsCopies) {
  CNode* a = Add("A", 100, -100);
  CNode* b = Add("B", 300, -100);
  CNode* c = Add("C", 500, -100);
  doc->CreateArrow(*a, *b);
  doc->CreateArrow(*b, *c);
  Click({100, -100});
  Click({300, -100}, Qt::ShiftModifier);
  CmdUI paste;
  view->OnUpdateCommand(cmd::EditPaste, paste);
  EXPECT_FALSE(paste.enabled);
  ASSERT_TRUE(view->OnCommand(cmd::EditCopy));
  EXPECT_EQ(Clipboard().Nodes().size(), 2u);
  ASSERT_EQ(Clipboard().Arrows().size(), 1u);
  EXPECT_EQ(Clipboard().Arrows()[0]->Source()->Name(), "A");

  ASSERT_TRUE(view->OnCommand(cmd::EditPaste));
  EXPECT_EQ(doc->NodeCount(), 5u);
  EXPECT_EQ(doc->AllArrows().size(), 3u);
  ASSERT_EQ(doc->Session().SelectedNodes().size(), 2u);
  EXPECT_EQ(doc->Session().SelectedNodes()[0]->GetRect(), a->GetRect().Offset(50, -50))
      << "a grid step away from the original, not hiding it";
  EXPECT_TRUE(doc->Session().IsModified());
}

TEST_F(EditorTest, DeletingANonEmptyClusterAsksAndCancelKeepsIt) {
  CNode* cluster = Add("Cluster", 100, -100, NodeKind::IWC);
  Add("Inner", 100, -100, NodeKind::Intern, doc->OpenClusterDocument(*cluster));
  Click({100, -100});
  ui.answers = {velk::MsgResult::Cancel};
  ASSERT_TRUE(view->OnCommand(cmd::EditDelete));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "The internal workflow cluster is not empty.\nDelete all subworkflow tasks?");
  EXPECT_EQ(ui.messages[0].buttons, velk::MsgButtons::OkCancel);
  EXPECT_EQ(doc->NodeCount(), 2u);
  EXPECT_FALSE(doc->Session().IsModified());

  ui.answers = {velk::MsgResult::Ok};
  view->OnCommand(cmd::EditDelete);
  EXPECT_EQ(doc->NodeCount(), 0u);
  EXPECT_TRUE(doc->Session().IsModified());
  EXPECT_NE(doc->Session().Title().find(" *"), std::string::npos);
}

TEST_F(EditorTest, DoubleClickOpensTheSheetOfTheSelectionOrTheClusterWindow) {
  CNode* task = Add("Task", 100, -100);
  CNode* cluster = Add("Cluster", 300, -100, NodeKind::IWC);
  std::vector<const CNode*> sheets, windows;
  on.taskProperties = [&](QWidget*, CWorkflowDoc&, CNode& n) {
    sheets.push_back(&n);
    return true;
  };
  on.openClusterWindow = [&](CWorkflowDoc&, CNode& n) { windows.push_back(&n); };
  for (Point p : {Point{100, -100}, Point{300, -100}}) {
    Click(p);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Pixel(p));
    Release(p);
  }
  EXPECT_EQ(sheets, std::vector<const CNode*>{task});
  EXPECT_EQ(windows, std::vector<const CNode*>{cluster});
  EXPECT_TRUE(doc->Session().IsModified()) << "the sheet was closed with OK";
}

TEST_F(EditorTest, ReloadRepositoryRereadsThisWorkflowsDatabasesUnderTheWaitCursor) {
  Add("Task", 100, -100);
  doc->Session().ClearModified();
  const velk::WorkflowDatabases* reloaded = nullptr;
  int waitDepth = 0;
  on.reloadRepository = [&](const velk::WorkflowDatabases& databases) {
    reloaded = &databases;
    waitDepth = ui.waitDepth;
    return true;
  };
  CmdUI state;
  ASSERT_TRUE(view->OnUpdateCommand(cmd::ReloadRepository, state)) << "the view offers the command";
  EXPECT_TRUE(state.enabled);
  EXPECT_TRUE(view->OnCommand(cmd::ReloadRepository));
  EXPECT_EQ(reloaded, &doc->Databases());
  EXPECT_EQ(waitDepth, 1);
  EXPECT_EQ(ui.waitDepth, 0);
  EXPECT_FALSE(doc->Session().IsModified()) << "reading the repositories again changes no workflow";
}

}  // namespace
}  // namespace editortest
