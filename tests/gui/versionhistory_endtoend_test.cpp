// The version history and the comparison of two versions as a designer uses
// them: a version saved from a cluster's window, the menu opened with keys,
// versions picked in the list, a change chosen.

#include <QScrollArea>
#include <QScrollBar>

#include "app/ui/comparisonwindow.h"
#include "app/ui/levelpane.h"
#include "dialogs/ui/versionhistorydialog.h"
#include "model/node.h"
#include "modelerfixture.h"

namespace {

using shelltest::ProcessEvents;

class VersionHistoryTest : public ModelerTest {};

// The history's versions compared and opened read-only, and the open workflow
// compared with what is stored, on one workflow.
TEST_F(VersionHistoryTest, AClusterWindowEditSavedIsComparedOpenedReadOnlyAndComparedUnsaved) {
  // A second version with a task moved in the cluster's window: both windows
  // are marked, and the save (Active: counting up) asks nothing.
  OpenWorkflow(QStringLiteral("Version 2.0"));
  CChildFrame* top = Active();
  DoubleClick(Centre(*Node("Fulfilment")));
  CChildFrame* cluster = Active();
  ASSERT_NE(cluster, top);
  frame()->MdiArea()->setActiveSubWindow(top);
  DoubleClick(Centre(*Node("Fulfilment")));
  EXPECT_EQ(Active(), cluster) << "opening twice shows the same window";
  Drag(Centre(*Node("Pick goods")), Centre(*Node("Pick goods")) + QPoint(60, 0));
  EXPECT_TRUE(cluster->windowTitle().endsWith(QStringLiteral(" *")) &&
              top->windowTitle().endsWith(QStringLiteral(" *")));
  shelltest::MessageBoxWatcher watcher;
  Key(Qt::Key_S);
  EXPECT_EQ(watcher.Texts().join("|"), QString());
  ASSERT_EQ(Doc().Header().version, 3);

  // "Workflow > Version History..." with Alt+W, then V; two versions compared.
  sheettest::OnNextModal<CDlgVersionHistory>([](CDlgVersionHistory& dialog) {
    shelltest::ClickItem(dialog.List(), dialog.List()->topLevelItem(0));
    EXPECT_FALSE(dialog.CompareButton()->isEnabled()) << "one version cannot be compared";
    shelltest::ClickItem(dialog.List(), dialog.List()->topLevelItem(1), Qt::ControlModifier);
    shelltest::Picture(dialog, "version-history");
    QTest::mouseClick(dialog.CompareButton(), Qt::LeftButton);
  });
  QTest::keyClick(frame(), Qt::Key_W, Qt::AltModifier);
  ProcessEvents();
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr) << "Alt+W opens the Workflow menu";
  QTest::keyClick(menu, Qt::Key_V);
  ProcessEvents();

  auto* window = qobject_cast<CComparisonWindow*>(frame()->MdiArea()->activeSubWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("Compare: Order Handling v2 (Freeze) with Order Handling v3 (Active)"));
  QListWidget* list = window->Changes();
  ASSERT_EQ(list->count(), static_cast<int>(window->Diff().changes.size()));
  const int chosen = list->row(
      list->findItems(QStringLiteral("Fulfilment: Task 'Pick goods' moved"), Qt::MatchExactly)
          .value(0));
  ASSERT_GE(chosen, 0);
  const velk::WorkflowChange& change = window->Diff().changes[static_cast<std::size_t>(chosen)];
  shelltest::ClickItem(list, list->item(chosen));

  for (auto [pane, node] : {std::pair{window->OlderPane(), change.olderNode},
                            std::pair{window->NewerPane(), change.newerNode}}) {
    EXPECT_EQ(pane->ShownLevel().Level(), node->BelongsToCluster()) << node->Name();
    EXPECT_EQ(pane->Canvas()->Level(), &pane->ShownLevel());
    ASSERT_EQ(pane->ShownLevel().Session().SelectedNodes().size(), 1u);
    EXPECT_EQ(pane->ShownLevel().Session().SelectedNodes()[0], node);
    const QPoint at = pane->Canvas()->ToWidget(node->GetRect().Center());
    EXPECT_TRUE(pane->ScrollArea()->viewport()->rect().contains(
        pane->Canvas()->mapTo(pane->ScrollArea()->viewport(), at)))
        << "scrolled into view";
  }
  shelltest::Picture(*frame(), "comparison");
  EXPECT_EQ(window->OlderPane()->ScrollArea()->horizontalScrollBar()->value(),
            window->NewerPane()->ScrollArea()->horizontalScrollBar()->value())
      << "scrolled together";

  const int width = window->OlderPane()->Canvas()->width();
  Trigger(cmd::ViewZoomIn);
  EXPECT_GT(window->OlderPane()->Canvas()->width(), width);
  EXPECT_EQ(window->NewerPane()->Canvas()->size(), window->OlderPane()->Canvas()->size())
      << "zoomed together, on one scale";

  // A stored version opened read-only (with the mouse: Alt+W now goes on to the
  // Window menu): a double click on a cluster shows its level.
  frame()->MdiArea()->setActiveSubWindow(top);
  sheettest::OnNextModal<CDlgVersionHistory>([](CDlgVersionHistory& dialog) {
    shelltest::ClickItem(dialog.List(), dialog.List()->topLevelItem(0));
    QTest::mouseClick(dialog.OpenButton(), Qt::LeftButton);
  });
  ChooseMenu(QStringLiteral("&Workflow"), QStringLiteral("&Version History..."));
  auto* readOnly = qobject_cast<CVersionWindow*>(frame()->MdiArea()->activeSubWindow());
  ASSERT_NE(readOnly, nullptr);
  EXPECT_EQ(readOnly->windowTitle(), QStringLiteral("Order Handling v3 (Active) - read-only"));
  ProcessEvents();
  CLevelCanvas* canvas = readOnly->Pane()->Canvas();
  const velk::CNode* fulfilment = nullptr;
  for (const velk::CNode* n : readOnly->Pane()->ShownLevel().LevelNodes())
    if (n->Name() == "Fulfilment") fulfilment = n;
  ASSERT_NE(fulfilment, nullptr);
  const QPoint at = canvas->ToWidget(fulfilment->GetRect().Center());
  readOnly->Pane()->ScrollArea()->ensureVisible(at.x(), at.y());
  QTest::mouseDClick(canvas, Qt::LeftButton, {}, at);
  EXPECT_EQ(readOnly->Pane()->ShownLevelName(), QStringLiteral("Fulfilment"));
  shelltest::Picture(*frame(), "read-only");
  for (int command : {cmd::FileSave, cmd::EditDelete, cmd::EditPaste, cmd::VersionHistory})
    EXPECT_FALSE(frame()->Action(command)->isEnabled()) << command;

  // A task deleted in the open workflow, which is then compared with what is stored.
  frame()->MdiArea()->setActiveSubWindow(top);
  ProcessEvents();
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Centre(*Node("Check order")));
  Trigger(cmd::EditDelete);
  ASSERT_EQ(Node("Check order"), nullptr);
  Trigger(cmd::CompareStoredVersion);
  window = qobject_cast<CComparisonWindow*>(frame()->MdiArea()->activeSubWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->windowTitle().contains("unsaved")) << window->windowTitle().toStdString();
  EXPECT_EQ(window->Changes()
                ->findItems(QStringLiteral("Task 'Check order' removed"), Qt::MatchExactly)
                .size(),
            1);

  frame()->MdiArea()->setActiveSubWindow(top);
  watcher.answers.push_back(QMessageBox::No);
  Trigger(cmd::FileClose);
  for (QMdiSubWindow* w : frame()->MdiArea()->subWindowList())
    EXPECT_EQ(qobject_cast<CChildFrame*>(w), nullptr) << "the cluster window goes along";
}

}  // namespace
