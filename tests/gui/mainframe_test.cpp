// The main window: its placement and toolbars kept between starts, commands and
// menus following the active window, progress and the lock-key panes.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <tuple>

#include "app/ui/infocenterwnd.h"
#include "app/ui/lockkeys.h"
#include "app/ui/mainframe.h"
#include "app/ui/statusline.h"
#include "app/ui/workflowframe.h"
#include "shellfixture.h"

namespace {

class MainFrame : public ::testing::Test {
 protected:
  // A frame on the settings of the test, which the next frame reads again.
  std::unique_ptr<CMainFrame> MakeFrame() {
    auto frame = std::make_unique<CMainFrame>(services.infoCenter(), store);
    EXPECT_TRUE(frame->Create());
    return frame;
  }
  velk::HeadlessServices services;
  velk::MemorySettingsBackend store;
};

// Standard alone on the first row, the others side by side on the second; what
// the View menu hides stays hidden at the next start, and the Info Center's
// placement is stored once it was created (the main window's own placement
// coming back is the workspace's end-to-end tests').
TEST_F(MainFrame, ToolbarsStandOnTwoRowsAndTheirVisibilityAndTheInfoCentersPlaceAreRestored) {
  MakeFrame()->close();
  EXPECT_FALSE(store.contains(velk::kGuiSettingsSection, "InfoWindowPos")) << "no Info Center yet";
  EXPECT_TRUE(velk::ReadWindowPlacement(store, "WindowPos"));
  {
    auto frame = MakeFrame();
    frame->resize(1600, 800);
    frame->show();
    shelltest::ProcessEvents();
    QRect previous = frame->ToolBar(CMainFrame::WorkflowToolsBar)->geometry();
    EXPECT_LT(frame->ToolBar(CMainFrame::StandardBar)->geometry().top(), previous.top());
    for (int b = CMainFrame::AlignNodesBar; b <= CMainFrame::ExtDirBar; ++b) {
      QRect r = frame->ToolBar(CMainFrame::Bar(b))->geometry();
      EXPECT_EQ(r.top(), previous.top()) << b;
      EXPECT_GE(r.left(), previous.right()) << b;
      previous = r;
    }
    EXPECT_TRUE(frame->QueryCommand(cmd::ViewAlignNodes).checked);
    frame->RouteCommand(cmd::ViewAlignNodes);
    EXPECT_TRUE(frame->ToolBar(CMainFrame::AlignNodesBar)->isHidden());
    EXPECT_FALSE(frame->QueryCommand(cmd::ViewAlignNodes).checked);
    frame->RouteCommand(cmd::ViewStatusBar);
    frame->RouteCommand(cmd::InfoCenter);
    ASSERT_NE(frame->InfoCenterWindow(), nullptr);
    frame->InfoCenterWindow()->setGeometry(200, 210, 400, 300);
    frame->InfoCenterWindow()->close();  // hidden, not destroyed
    frame->close();
  }
  auto frame = MakeFrame();
  frame->show();
  EXPECT_TRUE(frame->ToolBar(CMainFrame::AlignNodesBar)->isHidden());
  EXPECT_FALSE(frame->ToolBar(CMainFrame::ShowTextsBar)->isHidden());
  EXPECT_TRUE(frame->StatusLine()->isHidden());
  auto info = velk::ReadWindowPlacement(store, "InfoWindowPos");
  ASSERT_TRUE(info);
  EXPECT_EQ(QRect(info->left, info->top, info->right - info->left, info->bottom - info->top),
            QRect(200, 210, 400, 300));
}

// A view that handles one command, as the workflow view will.
class SelectAllView : public QWidget, public CommandTarget {
 public:
  bool OnCommand(int id) override { return id == cmd::EditSelectAll && ++runs > 0; }
  bool OnUpdateCommand(int id, CmdUI& ui) override {
    if (id == cmd::EditSelectAll) ui.enabled = true;
    return id == cmd::EditSelectAll;
  }
  int runs = 0;
};

QStringList VisibleMenus(CMainFrame& frame) {
  QStringList titles;
  for (QAction* a : frame.menuBar()->actions())
    if (a->isVisible()) titles << a->text();
  return titles;
}

TEST_F(MainFrame, CommandsAndMenusFollowTheActiveViewAndProgressIsShownInOneIndicator) {
  auto frame = MakeFrame();
  frame->show();
  EXPECT_EQ(VisibleMenus(*frame).join(','), QStringLiteral("&File,&View,&Options,&Help"));
  for (int id : {cmd::EditSelectAll, cmd::FileSave, cmd::AlignLeft, cmd::ToolArrow, cmd::Settings})
    EXPECT_FALSE(frame->QueryCommand(id).enabled) << id;
  EXPECT_FALSE(frame->RouteCommand(cmd::EditSelectAll));

  auto* view = new SelectAllView;
  auto* child = new CChildFrame(nullptr, view);
  frame->MdiArea()->addSubWindow(child);
  child->show();
  frame->MdiArea()->setActiveSubWindow(child);
  EXPECT_EQ(VisibleMenus(*frame).join(','),
            QStringLiteral("&File,&Edit,&View,&Workflow,&Options,&Window,&Help"));
  EXPECT_TRUE(frame->QueryCommand(cmd::EditSelectAll).enabled);
  EXPECT_TRUE(frame->RouteCommand(cmd::EditSelectAll));
  EXPECT_EQ(view->runs, 1);
  EXPECT_FALSE(frame->QueryCommand(cmd::FileSave).enabled);
  frame->UpdateCommandUI();
  EXPECT_TRUE(frame->Action(cmd::EditSelectAll)->isEnabled());

  // The first progress call creates the indicator, later calls move it.
  CStatusLine* line = frame->StatusLine();
  EXPECT_FALSE(line->ProgressCreated());
  frame->SetProgress(20);
  ASSERT_TRUE(line->ProgressCreated());
  QProgressBar* bar = line->Progress();
  frame->SetProgress(60);
  EXPECT_EQ(line->Progress(), bar);
  EXPECT_EQ(std::pair(bar->value(), bar->maximum()), std::pair(60, 100));
}

TEST(LockKeys, NextStatesFollowTheMaskAndTogglesOnPress) {
  const LockStates off, all{true, true, true};
  constexpr unsigned caps = kXLockMask, num = kXMod2Mask;
  // What a case is, the states before, the modifier mask, the key, pressed or
  // released, with a native mask or not, the states after.
  using Case = std::tuple<const char*, LockStates, unsigned, int, bool, bool, LockStates>;
  const Case cases[] = {
      {"caps press, mask clear", off, 0, Qt::Key_CapsLock, true, true, {true, false, false}},
      {"caps press, mask set", all, caps | num, Qt::Key_CapsLock, true, true, {false, true, true}},
      {"num press, mask set", off, num, Qt::Key_NumLock, true, true, {false, false, false}},
      {"clear mask turns caps and num off", all, 0, Qt::Key_A, false, true, {false, false, true}},
      {"scroll press turns on", off, 0, Qt::Key_ScrollLock, true, false, {false, false, true}},
      {"caps press without mask", all, 0, Qt::Key_CapsLock, true, false, {false, true, true}},
      {"release without mask", all, 0, Qt::Key_CapsLock, false, false, all},
  };
  for (const auto& [what, current, mask, key, press, native, expected] : cases) {
    const LockStates got = NextLockStates(current, mask, key, press, native);
    EXPECT_EQ(got, expected) << what << ": got " << got.caps << got.num << got.scroll;
  }
}

TEST(LockKeys, ScrollLockClickTogglesTheScrlPaneOnce) {
  CStatusLine line;
  QWidget parent;
  QWidget* target = new QWidget(&parent);  // an ignored press also reaches the parent
  auto* pane = line.findChild<QLabel*>(QStringLiteral("ScrlPane"));
  ASSERT_NE(pane, nullptr);
  ASSERT_FALSE(pane->isEnabled());
  for (bool on : {true, false}) {
    QTest::keyClick(target, Qt::Key_ScrollLock);
    EXPECT_EQ(pane->isEnabled(), on);
    EXPECT_EQ(line.LockState(2), on);
  }
  EXPECT_FALSE(line.LockState(0) || line.LockState(1));
}

}  // namespace
