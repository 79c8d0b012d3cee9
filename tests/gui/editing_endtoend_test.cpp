// Editing as a designer expects it, in the running modeler with mouse and keys:
// undo and redo from any window, clicks that change nothing, paste beside the
// originals, the keys of a diagram editor, and the manual in one shared window.

#include <QAbstractTextDocumentLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/ui/helpwindow.h"
#include "model/workflowundo.h"
#include "modelerfixture.h"

namespace {

using shelltest::ProcessEvents;
using velk::CNode;

QList<CHelpWindow*> HelpWindows() {
  QList<CHelpWindow*> found;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<CHelpWindow*>(w); help && help->isVisible()) found << help;
  return found;
}

class EditingEndToEndTest : public ModelerTest {
 protected:
  EditingEndToEndTest() { OpenWorkflow(QStringLiteral("Version 2.0")); }

  void Click(const CNode& node, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, keys, Centre(node));
    ProcessEvents();  // the menus follow the selection
  }
  // The cluster of the top level that the test grouped (not the demo's own).
  CNode* GroupedCluster() const {
    for (CNode* n : Doc().Top().LevelNodes())
      if (n->IsClusterNode() && n->Name() != "Fulfilment") return n;
    return nullptr;
  }
  std::size_t Steps() const { return Doc().Session().History().StepCount(); }
};

TEST_F(EditingEndToEndTest, UndoAndRedoInTheWindowOfALevelTheyRemoveCloseItAndGoOn) {
  Active()->close();  // a workflow whose two tasks group without refusal
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  CChildFrame* top = Active();
  Click(*Node("Carrier statement"));
  Click(*Node("Carrier follow-up"), Qt::ShiftModifier);
  Trigger(cmd::GroupAsCluster);
  ASSERT_NE(GroupedCluster(), nullptr);
  DoubleClick(Centre(*GroupedCluster()));
  ASSERT_NE(Active(), top);
  EXPECT_EQ(Doc().Session().History().UndoName(), "Group nodes as Cluster") << "opening is no edit";

  Key(Qt::Key_Z);  // the grouping goes, and the window of its level with it
  EXPECT_EQ(frame()->MdiArea()->subWindowList().size(), 1);
  ASSERT_EQ(Active(), top);
  EXPECT_EQ(GroupedCluster(), nullptr);
  Key(Qt::Key_Y);
  ASSERT_NE(GroupedCluster(), nullptr);

  // A redo in the window of the level the step deletes.
  Click(*GroupedCluster());
  shelltest::MessageBoxWatcher watcher;
  watcher.answers.push_back(QMessageBox::Ok);  // "The internal workflow cluster is not empty..."
  Trigger(cmd::EditDelete);
  ASSERT_EQ(GroupedCluster(), nullptr);
  Key(Qt::Key_Z);
  ASSERT_NE(GroupedCluster(), nullptr);
  DoubleClick(Centre(*GroupedCluster()));
  ASSERT_NE(Active(), top);
  Key(Qt::Key_Y);
  EXPECT_EQ(frame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(GroupedCluster(), nullptr);
  EXPECT_TRUE(top->windowTitle().endsWith(QStringLiteral(" *")));
}

TEST_F(EditingEndToEndTest, ClicksWithoutAMoveChangeNothingAndKeysMoveDeleteZoomAndOpenTheManual) {
  CChildFrame* top = Active();
  Trigger(cmd::ToggleGrid);
  ASSERT_TRUE(frame()->Action(cmd::ToggleGrid)->isChecked());
  CNode* check = Node("Check order");
  const velk::Rect start = check->GetRect();
  Click(*check);
  DoubleClick(Centre(*Node("Fulfilment")));
  ASSERT_NE(Active(), top) << "the cluster's window";
  EXPECT_EQ(check->GetRect(), start) << "not snapped by a click";
  EXPECT_EQ(Steps(), 0u) << Doc().Session().History().UndoName();
  EXPECT_FALSE(top->windowTitle().endsWith(QStringLiteral(" *")));

  frame()->MdiArea()->setActiveSubWindow(top);
  Trigger(cmd::ToggleGrid);
  // "Reject order" dragged half onto "Approve large order", then clicked there.
  CNode* reject = Node("Reject order");
  const velk::Rect approve = Node("Approve large order")->GetRect();
  Drag(Centre(*reject), Pixel({approve.right, approve.Center().y}));
  ASSERT_TRUE(reject->GetRect().Intersects(approve));
  ASSERT_EQ(Steps(), 1u);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Pixel({1500, -2000}));
  Click(*reject);
  Click(*Node("Approve large order"));
  EXPECT_EQ(Steps(), 1u) << Doc().Session().History().UndoName();

  frame()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
  Click(*check);
  ASSERT_EQ(QApplication::focusWidget(), View());
  // Held down, the key repeats: one undo step for the whole run.
  QTest::simulateEvent(View(), true, Qt::Key_Right, {}, {}, false);
  QTest::simulateEvent(View(), false, Qt::Key_Right, {}, {}, true);
  QTest::simulateEvent(View(), true, Qt::Key_Right, {}, {}, true);
  QTest::simulateEvent(View(), false, Qt::Key_Right, {}, {}, false);
  EXPECT_EQ(check->GetRect(), start.Offset(100, 0)) << "a grid step per press";
  EXPECT_EQ(Steps(), 2u);
  Press(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(check->GetRect(), start.Offset(100, 1)) << "one pixel (one unit at 100%, 96 dpi)";
  EXPECT_EQ(Steps(), 3u);
  Key(Qt::Key_Z);
  Key(Qt::Key_Z);
  EXPECT_EQ(check->GetRect(), start);

  Click(*check);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Node("Check order"), nullptr);

  const double zoom = View()->Zoom();
  Key(Qt::Key_Equal);
  EXPECT_GT(View()->Zoom(), zoom);

  // F1 and the help command show one shared manual; its contents scroll to the topic.
  Press(Qt::Key_F1);
  ShowHelpTopics(frame());
  ASSERT_EQ(HelpWindows().size(), 1);
  CHelpWindow* help = HelpWindows().front();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_TRUE(HelpManualText().contains(QStringLiteral("Save Workflow as")));
  QListWidget* contents = help->findChild<QListWidget*>(QStringLiteral("HelpContents"));
  QTextBrowser* text = help->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
  ASSERT_TRUE(contents && text);
  const QList<QListWidgetItem*> saving =
      contents->findItems(QStringLiteral("Saving"), Qt::MatchExactly);
  ASSERT_EQ(saving.size(), 1);
  ASSERT_EQ(text->verticalScrollBar()->value(), 0);
  shelltest::ClickItem(contents, saving.front());
  const int scrolled = text->verticalScrollBar()->value();
  EXPECT_GT(scrolled, 0);
  QTextBlock heading = text->document()->begin();
  while (heading.isValid() && heading.text() != QStringLiteral("Saving")) heading = heading.next();
  ASSERT_TRUE(heading.isValid());
  const QRectF at = text->document()->documentLayout()->blockBoundingRect(heading);
  EXPECT_GE(at.top() - scrolled, -1.0);
  EXPECT_LT(at.bottom() - scrolled, text->viewport()->height());
}

TEST_F(EditingEndToEndTest, PasteLandsBesideTheOriginalsOrAtTheMenuSelectedForOneDrag) {
  CNode* check = Node("Check order");
  Click(*check);
  Key(Qt::Key_C);
  Key(Qt::Key_V);
  CNode* copy = Doc().AllNodes().back();
  EXPECT_EQ(copy->GetRect(), check->GetRect().Offset(50, -50)) << "one grid step away";
  EXPECT_EQ(Doc().Session().SelectedNodes(), std::vector<CNode*>{copy});
  const velk::Rect original = check->GetRect();
  Drag(Centre(*copy), Centre(*copy) + QPoint(0, 80));
  EXPECT_EQ(check->GetRect(), original) << "the drag took the copy";
  EXPECT_LT(copy->GetRect().top, original.top - 100);

  const QPoint at = Pixel({1200, -1500});
  ContextMenu(at, QStringLiteral("&Paste"));
  CNode* placed = Doc().AllNodes().back();
  ASSERT_NE(placed, copy);
  EXPECT_EQ((velk::Point{placed->GetRect().left, placed->GetRect().top}), View()->ToLogical(at));

  // Into another workflow; where the copies land there is the core's.
  OpenWorkflow(QStringLiteral("Version 1.0"));
  const std::size_t tasks = Doc().NodeCount();
  Key(Qt::Key_V);
  EXPECT_EQ(Doc().NodeCount(), tasks + 1);
}

}  // namespace
