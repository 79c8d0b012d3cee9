// Finding, the overview, the zoom pane and moving around without the mouse, in
// the modeler as main() composes it, on the demo repository, with real keys and mouse.

#include <QLineEdit>

#include "app/ui/findbar.h"
#include "app/ui/overviewdock.h"
#include "app/ui/statusline.h"
#include "editor/ui/overviewwidget.h"
#include "editor/zoom.h"
#include "modelerfixture.h"

namespace {

using shelltest::ProcessEvents;
using velk::CNode;

class NavigationTest : public ModelerTest {
 protected:
  CFindBar* Bar() const { return frame()->findChild<CFindBar*>(); }
  std::vector<CNode*> Selected() const { return Doc().Session().SelectedNodes(); }
  bool Shows(const CNode& node) const {
    const velk::Rect shown = View()->ExposedRect();
    const velk::Rect r = node.GetRect();
    return r.left >= shown.left && r.right <= shown.right && r.top <= shown.top &&
           r.bottom >= shown.bottom;
  }
};

TEST_F(NavigationTest, FindOpensTheLevelTwoDownAndStepsThroughResultsTabWalksTheTasks) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  CChildFrame* top = Active();
  // Scrolled far away, so that the task must be brought into view.
  View()->ScrollTo({4000, -4000});
  Key(Qt::Key_F);
  ASSERT_EQ(QApplication::focusWidget(), Bar()->TextField());
  Type(QStringLiteral("PARCEL"));
  ASSERT_EQ(Bar()->Results()->count(), 1) << "the results' texts are the core's";

  Press(Qt::Key_Return);
  ASSERT_NE(Active(), top);
  EXPECT_EQ(Active()->windowTitle(), QStringLiteral("Order Handling v2 (Active) subflow: Packing"));
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Pack parcel")});
  EXPECT_TRUE(Shows(*Node("Pack parcel")));

  // Two performers' tasks; F3 and Shift+F3 walk them wherever the keyboard is.
  Key(Qt::Key_F);
  Type(QStringLiteral("dispatcher"));
  ASSERT_EQ(Bar()->Results()->count(), 2);
  shelltest::Picture(*frame(), "find-bar");
  Press(Qt::Key_F3);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Print label")});
  Press(Qt::Key_F3);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Pack parcel")}) << "round the list";
  Press(Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Print label")});

  // Back on top for an arrow; after it is deleted the bar no longer finds it.
  Key(Qt::Key_F);
  Type(QStringLiteral("reject"));
  ASSERT_EQ(Bar()->Results()->count(), 2);
  Press(Qt::Key_Return);
  EXPECT_EQ(Active(), top);
  ASSERT_EQ(Doc().Session().SelectedArrows().size(), 1u);
  Press(Qt::Key_Delete);
  Key(Qt::Key_F);
  EXPECT_EQ(Bar()->Results()->count(), 1);
  Press(Qt::Key_Escape);
  EXPECT_FALSE(Bar()->isVisible());

  // Tab walks the tasks, Return opens the sheet, Escape lets go.
  View()->setFocus();
  Press(Qt::Key_Tab);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Receive order")});
  Press(Qt::Key_Tab);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Check order")});
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), std::vector<CNode*>{Node("Receive order")});

  QString opened;
  sheettest::OnNextModal<CDlgNodeProperty>([&](CDlgNodeProperty& sheet) {
    opened = sheet.findChild<QLineEdit*>("name")->text();
    sheet.reject();
  });
  Press(Qt::Key_Return);
  EXPECT_EQ(opened, QStringLiteral("Receive order"));

  const double zoom = View()->Zoom();
  Trigger(cmd::ViewZoomSelection);
  EXPECT_GT(View()->Zoom(), zoom);
  EXPECT_TRUE(Shows(*Node("Receive order")));

  Press(Qt::Key_Escape);
  EXPECT_TRUE(Selected().empty());
  // Escape in the middle of a rubber band ends it: the release selects nothing.
  View()->SetZoom(1.0);
  View()->ScrollTo({0, 0});
  QTest::mousePress(View()->viewport(), Qt::LeftButton, {}, Pixel({20, -300}));
  QTest::mouseMove(View()->viewport(), Pixel({900, -600}));
  Press(Qt::Key_Escape);
  QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, Pixel({900, -600}));
  EXPECT_TRUE(Selected().empty());
}

// Find in Repository opens a stored version; the overview and the status line's
// zoom pane show the active window. Pictures of zoomed windows are written when
// VELK_SCREENSHOT_DIR names a folder.
TEST_F(NavigationTest, FindInRepositoryOpensAVersionTheOverviewAndZoomPaneFollowTheActiveWindow) {
  const auto pane = [this] { return frame()->StatusLine()->ZoomText(); };
  EXPECT_EQ(pane(), QString());
  Key(Qt::Key_F);  // no window open yet
  ASSERT_TRUE(Bar()->isVisible());
  QTest::keyClick(Bar()->ScopeBox(), Qt::Key_Down);
  ASSERT_EQ(Bar()->ScopeBox()->currentText(), QStringLiteral("Find in Repository"));
  Bar()->TextField()->setFocus();
  Type(QStringLiteral("credit committee"));
  const QString wanted =
      QStringLiteral("ICDR: Credit check v1 (Active): task 'Decide' (performer)");
  const QList<QListWidgetItem*> items = Bar()->Results()->findItems(wanted, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1);
  for (int i = Bar()->Results()->row(items.front()); i > 0; --i) Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Active()->windowTitle(), QStringLiteral("ICDR: Credit check v1 (Active)"));

  OpenWorkflow(QStringLiteral("Version 2.0"));
  CChildFrame* firstWindow = Active();
  CWorkflowView* first = View();
  EXPECT_EQ(pane(), QStringLiteral("100%"));
  Trigger(cmd::ViewOverview);
  auto* overview = frame()->findChild<COverviewDock*>()->Overview();
  ASSERT_TRUE(overview->isVisible());
  EXPECT_EQ(overview->View(), first);

  first->SetZoom(2.0);
  EXPECT_EQ(pane(), QStringLiteral("200%"));
  first->ScrollTo({0, 0});
  ProcessEvents();
  const velk::Rect before = first->ExposedRect();
  const QPoint grip = overview->ShownRect().center();
  QTest::mousePress(overview, Qt::LeftButton, {}, grip);
  QTest::mouseMove(overview, grip + QPoint(10, 5));
  QTest::mouseMove(overview, grip + QPoint(30, 20));
  EXPECT_NEAR(overview->ShownRect().center().x(), grip.x() + 30, 2) << "it stays under the mouse";
  QTest::mouseRelease(overview, Qt::LeftButton, {}, grip + QPoint(30, 20));
  const velk::Rect after = first->ExposedRect();
  EXPECT_GT(after.left, before.left + 50);
  EXPECT_LT(after.top, before.top - 30);
  shelltest::Picture(*frame(), "overview-zoom-200");
  Trigger(cmd::ViewZoomOut);
  EXPECT_EQ(pane(), QStringLiteral("%1%").arg(velk::ZoomPercent(first->Zoom())));
  EXPECT_LT(first->Zoom(), 2.0);

  OpenWorkflow(QStringLiteral("Version 1.0"));
  EXPECT_EQ(overview->View(), View());
  first->SetZoom(4.0);  // in the background: the pane keeps showing the active one
  EXPECT_EQ(pane(), QStringLiteral("100%"));
  View()->SetZoom(0.5);
  EXPECT_EQ(pane(), QStringLiteral("50%"));
  frame()->MdiArea()->setActiveSubWindow(firstWindow);
  ProcessEvents();
  EXPECT_EQ(pane(), QStringLiteral("400%"));
  frame()->MdiArea()->closeAllSubWindows();
  ProcessEvents();
  EXPECT_EQ(pane(), QString());
}

}  // namespace
