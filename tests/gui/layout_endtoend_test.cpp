// Alignment, arrangement and grouping in the running modeler: tasks selected
// with the mouse, commands from toolbar, menu, shortcut-free menu entries and
// the context menu, each one undo step.

#include <map>

#include "model/workflowundo.h"
#include "modelerfixture.h"

namespace {

using shelltest::ProcessEvents;
using velk::CNode;

class LayoutEndToEndTest : public ModelerTest {
 protected:
  LayoutEndToEndTest() { OpenWorkflow(QStringLiteral("Version 2.0")); }
  // Click on the first, SHIFT+click on the others.
  void SelectWithMouse(std::initializer_list<const char*> names) {
    Qt::KeyboardModifiers keys;
    for (const char* name : names) {
      QTest::mouseClick(View()->viewport(), Qt::LeftButton, keys, Centre(*Node(name)));
      keys = Qt::ShiftModifier;
    }
    ProcessEvents();
  }
  std::map<const CNode*, velk::Rect> Rects() const {
    std::map<const CNode*, velk::Rect> rects;
    for (const CNode* n : Doc().AllNodes()) rects[n] = n->GetRect();
    return rects;
  }
};

// Align and arrange from toolbar, menu and context menu, each one undo step;
// grouping refused with a message.
TEST_F(LayoutEndToEndTest, AlignAndArrangeAreEachOneUndoStepAndARefusedGroupingChangesNothing) {
  const auto original = Rects();
  SelectWithMouse({"Check order"});
  EXPECT_FALSE(frame()->Action(cmd::AlignLeft)->isEnabled()) << "one task selected";
  SelectWithMouse({"Check order", "Reject order"});
  ClickTool(cmd::AlignLeft, CMainFrame::AlignNodesBar);
  EXPECT_EQ(Node("Check order")->GetRect().left, Node("Reject order")->GetRect().left);
  EXPECT_EQ(Doc().Session().History().UndoName(), "Align left");
  Trigger(cmd::AlignMenuTop);
  EXPECT_EQ(Node("Check order")->GetRect().top, Node("Reject order")->GetRect().top);
  EXPECT_EQ(Doc().Session().History().UndoName(), "Top");
  Key(Qt::Key_Z);
  Key(Qt::Key_Z);
  EXPECT_EQ(Rects(), original);

  ClickTool(cmd::ArrangeLayers, CMainFrame::AlignNodesBar);
  EXPECT_EQ(Doc().Session().History().UndoName(), "Arrange as layers");
  EXPECT_NE(Rects(), original);
  Key(Qt::Key_Z);
  EXPECT_EQ(Rects(), original);
  // Right click on empty space, "Autoarrange Nodes" in the menu.
  ContextMenu(View()->ToViewport(velk::Point{1500, -2500}), QStringLiteral("Autoarrange Nodes"));
  EXPECT_EQ(Node("Receive order")->GetRect().Center(), (velk::Point{200, -200}));
  Key(Qt::Key_Z);
  EXPECT_EQ(Rects(), original) << "one step";

  // Grouping refused; a clean selection grouped, and undone, is walked by the editing tests.
  SelectWithMouse({"Check order", "Reject order"});
  shelltest::MessageBoxWatcher boxes;
  const std::size_t count = Doc().NodeCount();
  Trigger(cmd::GroupAsCluster);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.endsWith(
      QStringLiteral("One of the selected nodes has arrows to more than one node outside "
                     "selection. Cant group the selection to a cluster!")))
      << boxes.boxes[0].text.toStdString();
  EXPECT_EQ(Doc().NodeCount(), count) << "the other refusals are the core's";
}

}  // namespace
