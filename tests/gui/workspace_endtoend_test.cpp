// The workspace as a designer meets it: how to begin in an empty workspace,
// where windows open, what the status line says, "Modeler Settings",
// and drawings whose texts can be read. Pictures for a look are written when
// VELK_SCREENSHOT_DIR names a folder.

#include <QLabel>
#include <QStatusBar>

#include "app/ui/statusline.h"
#include "editor/ui/workflowpainter.h"
#include "modelerfixture.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"

namespace {

using shelltest::ProcessEvents;
using velk::CNode;

class WorkspaceEndToEndTest : public ModelerTest {
 protected:
  // Clicks the start panel's link `text`.
  void ClickLink(const QString& text) {
    for (QLabel* l : frame()->StartPanel()->findChildren<QLabel*>(QStringLiteral("StartLink")))
      if (l->text() == text) QTest::mouseClick(l, Qt::LeftButton, {}, l->rect().center());
    ProcessEvents();
  }
  QString StatusText() const { return frame()->StatusLine()->MessageText(); }
};

TEST_F(WorkspaceEndToEndTest, EmptyWorkspaceOffersNewOpenAndRecentUntilAWindowOpens) {
  CStartPanel* panel = frame()->StartPanel();
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->LinkTexts(), QStringList({"New workflow", "Open workflow..."}));
  shelltest::Picture(*frame(), QStringLiteral("start-empty"));

  OpenWorkflow(QStringLiteral("Version 2.0"),
               [this] { ClickLink(QStringLiteral("Open workflow...")); });
  ASSERT_NE(Active(), nullptr);
  EXPECT_FALSE(panel->isVisible()) << "gone once a window opens";

  Active()->close();
  ASSERT_TRUE(QTest::qWaitFor([panel] { return panel->isVisible(); }));
  EXPECT_TRUE(panel->LinkTexts().contains(QStringLiteral("Order Handling v2")));
  shelltest::Picture(*frame(), QStringLiteral("start-recent"));
  ClickLink(QStringLiteral("Order Handling v2"));
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Doc().Header().version, 2);
  EXPECT_FALSE(panel->isVisible());

  Active()->close();
  ASSERT_TRUE(QTest::qWaitFor([panel] { return panel->isVisible(); }));
  ClickLink(QStringLiteral("New workflow"));
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Doc().Header().name, "New workflow");
  EXPECT_NE(Doc().Databases().processDefinitions.repository, nullptr) << "the valid defaults";
  EXPECT_TRUE(frame()->windowTitle().startsWith(QStringLiteral("VELK Modeler - New workflow")));
}

TEST_F(WorkspaceEndToEndTest, WindowsOpenInsideTheWorkspaceOneStepFromTheLast) {
  frame()->resize(1000, 700);
  ProcessEvents();
  OpenWorkflow(QStringLiteral("Version 2.0"));
  DoubleClick(Centre(*Node("Fulfilment")));
  for (int i = 0; i < 6; ++i) Key(Qt::Key_N);
  QList<QMdiSubWindow*> windows;  // the shown ones, oldest first
  for (QMdiSubWindow* w : frame()->MdiArea()->subWindowList(QMdiArea::CreationOrder))
    if (!w->isHidden()) windows << w;
  ASSERT_EQ(windows.size(), 8);
  const QRect workspace = frame()->MdiArea()->viewport()->rect();
  // Where the cascade starts again is the core's; here every window follows it.
  for (int i = 1; i < windows.size(); ++i) {
    const QRect r = windows[i]->geometry();
    const QPoint step = r.topLeft() - windows[i - 1]->geometry().topLeft();
    EXPECT_TRUE(workspace.contains(r)) << i << ": never partly outside";
    EXPECT_TRUE(r.topLeft() == QPoint(0, 0) || (step.x() == step.y() && step.x() > 10))
        << i << ": one title bar further";
  }
  shelltest::Picture(*frame(), QStringLiteral("windows-cascade"));
}

TEST_F(WorkspaceEndToEndTest, MainWindowComesBackAtItsLastSizeAndPlace) {
  const auto exitAndStart = [this] {
    Trigger(cmd::AppExit);
    app.reset();
    app = StartModeler(env.Options(), StandardShellCollaborators());
    ProcessEvents();
  };
  frame()->setGeometry(70, 60, 1000, 700);
  exitAndStart();
  EXPECT_EQ(frame()->geometry(), QRect(70, 60, 1000, 700));
  frame()->showMaximized();
  exitAndStart();
  EXPECT_TRUE(frame()->isMaximized());
  EXPECT_EQ(frame()->normalGeometry(), QRect(70, 60, 1000, 700));
}

// One open workflow: the status line shows one text and none left over from a
// sheet; member and forms stand apart and zoom to fit shows every text;
// "Modeler Settings" shows every page without a complaint, and the arrow size
// chosen there is the size the open window draws.
TEST_F(WorkspaceEndToEndTest, StatusLineTextsAndSettingsOfAnOpenWorkflowShowWhatWasChosen) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  // A button's prompt takes the message pane; the status bar draws nothing of its own.
  QWidget* button = frame()
                        ->ToolBar(CMainFrame::ExtDirBar)
                        ->widgetForAction(frame()->Action(cmd::ExternalDirectory));
  QEnterEvent enter(QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)),
                    button->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(button, &enter);
  EXPECT_EQ(StatusText(), QStringLiteral("Open the External Directory"));
  EXPECT_TRUE(frame()->statusBar()->currentMessage().isEmpty());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(button, &leave);
  EXPECT_EQ(StatusText(), QStringLiteral("For Help, press F1"));

  // The activities page writes "ItemChanged" while its selection changes (the
  // sheet's tests); closed, the sheet leaves nothing behind.
  sheettest::OnNextModal<CDlgNodeProperty>([](CDlgNodeProperty& sheet) {
    sheettest::ClickTab(sheet.Tabs(), QStringLiteral("Activities"));
    QListWidget* list = sheet.findChild<QListWidget*>(QStringLiteral("activities"));
    shelltest::ClickItem(list, list->item(0));
    ClickOk(sheet);
  });
  DoubleClick(Centre(*Node("Check order")));
  EXPECT_EQ(StatusText(), QStringLiteral("For Help, press F1"));

  Active()->showMaximized();
  ClickTool(cmd::ShowTaskMember, CMainFrame::ShowTextsBar);
  ClickTool(cmd::ShowTaskForms, CMainFrame::ShowTextsBar);
  ASSERT_TRUE(View()->Flags().taskMember && View()->Flags().taskForms);
  CWorkflowPainter& painter = View()->Painter();
  const std::vector<CNode*> level = Doc().LevelNodes();
  for (const CNode* a : level) {
    const velk::Rect texts = painter.TextBox(*a, View()->Flags());
    for (const CNode* b : level) {
      EXPECT_FALSE(texts.Intersects(b->GetRect())) << a->Name() << " over " << b->Name();
      EXPECT_FALSE(a != b && texts.Intersects(painter.TextBox(*b, View()->Flags())))
          << a->Name() << " and " << b->Name();
    }
  }

  frame()->Action(cmd::ViewZoomFit)->trigger();
  ProcessEvents();
  // Nothing drawn touches the window's edges: no label is cut.
  const QImage shown = View()->viewport()->grab().toImage();
  const QRect inner = shown.rect().adjusted(3, 3, -3, -3);
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      ASSERT_TRUE(inner.contains(x, y) || shown.pixelColor(x, y) == QColor(Qt::white))
          << x << "," << y;
  const velk::Rect visible = View()->ExposedRect();
  for (const CNode* node : level) {
    const velk::Rect texts = painter.TextBox(*node, View()->Flags());
    EXPECT_TRUE(visible.left <= texts.left && texts.right <= visible.right &&
                texts.bottom >= visible.bottom && texts.top <= visible.top)
        << node->Name();
  }
  shelltest::Picture(*frame(), QStringLiteral("order-handling-fit"));

  Doc().Session().DeselectAll();
  const velk::ModelerSettings before = app->Settings();
  shelltest::MessageBoxWatcher boxes;
  const auto inkWith = [this](int arrowSize) {
    sheettest::OnNextModal<CDlgSettings>([arrowSize](CDlgSettings& sheet) {
      for (int i = 0; i < sheet.Tabs()->count(); ++i) {
        sheettest::ClickTab(sheet.Tabs(), sheet.Tabs()->tabText(i));
        shelltest::Picture(sheet, "settings-" + sheet.Tabs()->tabText(i));
      }
      sheet.SetActivePage(2);
      sheet.BasicsPage()->ArrowSizeList()->setCurrentIndex(arrowSize);
      ClickOk(sheet);
    });
    ChooseMenu(QStringLiteral("&Options"), QStringLiteral("&Settings"));
    const QImage drawn = View()->viewport()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) ink += drawn.pixelColor(x, y) == QColor(Qt::black);
    return ink;
  };
  const int small = inkWith(0);
  const int middle = inkWith(1);
  EXPECT_LT(small, middle);
  EXPECT_LT(middle, inkWith(2));
  EXPECT_EQ(app->Settings().arrowSize, 2);
  EXPECT_EQ(app->Settings().databases, before.databases);
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.Texts().join('|').toStdString();
  shelltest::Picture(*frame(), QStringLiteral("arrow-size-large"));
}

}  // namespace
