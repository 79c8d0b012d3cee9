// The consistency check and sub-workflows (opened, found, stored) as a designer
// meets them: the modeler composed as main() composes it, on the demo
// repository, driven through its menus, mouse and keyboard.

#include "app/ui/findbar.h"
#include "app/ui/infocenterwnd.h"
#include "model/consistencycheck.h"
#include "model/subworkflows.h"
#include "modelerfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using shelltest::ProcessEvents;
using velk::CNode;

class ConsistencyEndToEndTest : public ModelerTest {
 protected:
  int Windows() const { return static_cast<int>(frame()->MdiArea()->subWindowList().size()); }

  // Whether the check's findings in the Info Center hold the error `title`.
  bool HasError(const std::string& title) {
    for (const velk::InfoEntry& e :
         app->UserInterface().infoCenter().entries(velk::kConsistencyCheckCategory))
      if (e.title == title && e.severity == velk::Severity::Error) return true;
    return false;
  }
};

TEST_F(ConsistencyEndToEndTest, MenuCheckFillsTheInfoCenterAndOnlyActiveWorkflowsAreRefused) {
  OpenWorkflow(QStringLiteral("Travel Request"));
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("&Consistency check"));
  EXPECT_TRUE(HasError("Checking assigned forms in nodes and clusters "));
  EXPECT_TRUE(frame()->InfoCenterWindow() && frame()->InfoCenterWindow()->isVisible())
      << "asked for, the findings are shown";

  // Design: the findings are reported and the workflow is stored all the same.
  MessageBoxWatcher watcher;
  Key(Qt::Key_S);
  EXPECT_EQ(watcher.Texts().join("|"), QString());
  EXPECT_FALSE(Doc().Session().IsModified());

  // Active: a task without name, performer and form stops the save.
  OpenWorkflow(QStringLiteral("Version 2.0"));
  ClickTool(cmd::ToolInternalTask);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Pixel({300, -900}));
  ASSERT_TRUE(Doc().Session().IsModified());
  Key(Qt::Key_S);
  EXPECT_TRUE(HasError("Checking node and cluster names")) << "which rules fail is the core's";
  EXPECT_TRUE(Doc().Session().IsModified()) << "not saved";
  EXPECT_EQ(watcher.Texts(),
            QStringList{QStringLiteral(
                "Error: \n\nThe consistency check refuses the workflow \"Order "
                "Handling\"; the Info Center lists why.\nNothing has been stored.")});
}

TEST_F(ConsistencyEndToEndTest, OpenSubWorkflowAsksCreatesShowsAndReloadsIt) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  CChildFrame* caller = Active();
  CNode* credit = Node("Credit check");
  ASSERT_NE(credit, nullptr);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Centre(*credit));

  MessageBoxWatcher watcher;
  watcher.answers = {QMessageBox::No, QMessageBox::Yes};
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("Open Sub-Workflow"));
  ASSERT_EQ(watcher.Texts(),
            QStringList{QStringLiteral("No Subworkflow available.Create a new ICDR Subworkflow?")});
  EXPECT_EQ(Windows(), 1) << "No leaves everything unchanged";
  EXPECT_TRUE(credit->SubWorkflowId().empty());
  EXPECT_FALSE(caller->GetDocument()->Session().IsModified());

  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("Open Sub-Workflow"));
  ASSERT_EQ(Windows(), 2);
  CChildFrame* sub = Active();
  EXPECT_EQ(sub->windowTitle(), QStringLiteral("ICDR: Credit check v0 (Design)"));
  EXPECT_EQ(credit->SubWorkflowId(), Doc().Header().workflowId);
  EXPECT_TRUE(caller->GetDocument()->Session().IsModified())
      << "the task now names its sub-workflow";

  frame()->MdiArea()->setActiveSubWindow(caller);
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("Open Sub-Workflow"));
  EXPECT_EQ(Active(), sub) << "an open sub-workflow is shown again";
  EXPECT_EQ(Windows(), 2);

  // The caller's find bar reaches the open sub-workflow's tasks.
  frame()->MdiArea()->setActiveSubWindow(caller);
  Key(Qt::Key_F);
  Type(QStringLiteral("end"));
  QListWidget* results = frame()->findChild<CFindBar*>()->Results();
  const QList<QListWidgetItem*> found =
      results->findItems(QStringLiteral("Credit check: task 'End' (name)"), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  for (int i = results->row(found.front()); i > 0; --i) Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  EXPECT_EQ(Active(), sub);
  EXPECT_EQ(Doc().Session().SelectedNodes(), std::vector<CNode*>{Node("End")});

  // Closed, it is read from the store as it was created: a start leading to an end.
  sub->close();
  ProcessEvents();
  frame()->MdiArea()->setActiveSubWindow(caller);
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("Open Sub-Workflow"));
  ASSERT_EQ(Windows(), 2);
  EXPECT_EQ(Doc().Header().workflowId, credit->SubWorkflowId());
  EXPECT_EQ(Doc().NodeCount(), 2u);
  EXPECT_FALSE(Doc().Session().IsModified());

  // A sub-workflow that is no longer stored.
  Active()->close();
  ProcessEvents();
  frame()->MdiArea()->setActiveSubWindow(caller);
  caller->GetDocument()->SetSubWorkflowId(*credit, "0123456789ABCDEF0123456789ABCDEF");
  watcher.boxes.clear();
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("Open Sub-Workflow"));
  ASSERT_EQ(watcher.boxes.size(), 1u);
  EXPECT_TRUE(watcher.boxes[0].text.startsWith(
      QStringLiteral("Connected sub-workflow not found in Process Definitions Database.")));
  EXPECT_EQ(Windows(), 1);
}

}  // namespace
