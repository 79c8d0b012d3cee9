// Zoom of the workflow view: clicks hit the node under the mouse at every zoom
// level, and the status line's zoom pane follows the active workflow window.
// Pictures of a zoomed window are written when VELK_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QScrollBar>

#include "app/settings.h"
#include "app/ui/mainframe.h"
#include "app/ui/statusline.h"
#include "app/ui/workflowframe.h"
#include "demoworkflow.h"
#include "editor/zoom.h"
#include "editorfixture.h"
#include "testeditor.h"

namespace {

using editortest::EditorTest;
using velk::CNode;

class ZoomHitTest : public EditorTest {
 protected:
  // The viewport pixel of a logical point, worked out from the zoom and the
  // scroll bars alone rather than through the view's own mapping.
  QPoint ViewportPixel(velk::Point p) const {
    const double sx = view->Zoom() * view->logicalDpiX() / 100.0;
    const double sy = view->Zoom() * view->logicalDpiY() / 100.0;
    return {qRound(p.x * sx) - view->horizontalScrollBar()->value(),
            qRound(-p.y * sy) - view->verticalScrollBar()->value()};
  }
};

TEST_F(ZoomHitTest, ClickOnANodesCentreSelectsThatNodeAtEveryZoom) {
  const std::vector<CNode*> nodes = {Add("Near", 120, -120), Add("Middle", 700, -900),
                                     Add("Far", 1500, -2200)};
  for (double zoom : {0.25, 0.5, 1.0, 2.0, 4.0}) {
    view->SetZoom(zoom);
    ASSERT_DOUBLE_EQ(view->Zoom(), zoom);
    for (CNode* node : nodes) {
      const velk::Rect before = node->GetRect();
      view->ScrollTo({before.left - 60, before.top + 60});
      doc->Session().DeselectAll();
      const QPoint at = ViewportPixel(before.Center());
      ASSERT_TRUE(view->viewport()->rect().contains(at)) << zoom << " " << node->Name();
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
      EXPECT_EQ(doc->Session().SelectedNodes(), std::vector<CNode*>{node})
          << zoom << " " << node->Name();
      EXPECT_EQ(node->GetRect(), before) << "a click must not move the node";
      // Beside the node (a node's width to its right) nothing is hit.
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                        ViewportPixel({before.right + before.Width(), before.Center().y}));
      EXPECT_TRUE(doc->Session().SelectedNodes().empty()) << zoom << " " << node->Name();
    }
  }
}

class ZoomPaneTest : public ::testing::Test {
 protected:
  ZoomPaneTest() {
    frame = std::make_unique<CMainFrame>(ui.infoCenter(), store);
    frame->Create();
    frame->show();
  }
  ~ZoomPaneTest() override {
    frame.reset();
  }
  CWorkflowView* OpenWindow(std::shared_ptr<CWorkflowDoc> doc = nullptr) {
    if (!doc)
      doc = std::make_shared<CWorkflowDoc>(ui, "CN=Test Designer/O=Marvelund", "06.12.2026");
    auto* view = new CWorkflowView(editor.editor, doc);
    auto* child = new CChildFrame(doc, view);
    frame->MdiArea()->addSubWindow(child);
    child->show();
    Activate(view);
    return view;
  }
  void Activate(CWorkflowView* view) {
    for (QMdiSubWindow* w : frame->MdiArea()->subWindowList())
      if (w->isAncestorOf(view)) frame->MdiArea()->setActiveSubWindow(w);
    QApplication::processEvents();
  }
  QString Pane() const { return frame->StatusLine()->ZoomText(); }

  velk::HeadlessServices ui;
  TestEditor editor{ui};
  velk::ModelerSettings& settings = editor.settings;
  velk::MemorySettingsBackend store;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(ZoomPaneTest, ShowsTheActiveWindowsZoomAndFollowsItsChanges) {
  EXPECT_EQ(Pane(), QString());
  CWorkflowView* first = OpenWindow();
  EXPECT_EQ(Pane(), QStringLiteral("100%"));
  first->SetZoom(2.0);
  EXPECT_EQ(Pane(), QStringLiteral("200%"));
  ASSERT_TRUE(frame->RouteCommand(cmd::ViewZoomOut));
  EXPECT_EQ(Pane(), QStringLiteral("%1%").arg(velk::ZoomPercent(first->Zoom())));
  EXPECT_LT(first->Zoom(), 2.0);

  CWorkflowView* second = OpenWindow();
  EXPECT_EQ(Pane(), QStringLiteral("100%"));
  // A window in the background may zoom; the pane keeps showing the active one.
  first->SetZoom(4.0);
  EXPECT_EQ(Pane(), QStringLiteral("100%"));
  second->SetZoom(0.5);
  EXPECT_EQ(Pane(), QStringLiteral("50%"));
  Activate(first);
  EXPECT_EQ(Pane(), QStringLiteral("400%"));

  frame->MdiArea()->closeAllSubWindows();
  QApplication::processEvents();
  EXPECT_EQ(Pane(), QString());
}

TEST_F(ZoomPaneTest, PicturesForALook) {
  const QString out = qEnvironmentVariable("VELK_SCREENSHOT_DIR");
  if (out.isEmpty()) GTEST_SKIP() << "set VELK_SCREENSHOT_DIR to write the pictures";
  viewtest::DemoWorkflow demo{ui};
  frame->resize(1100, 800);
  CWorkflowView* view = OpenWindow(demo.doc);
  view->parentWidget()->showMaximized();
  for (double zoom : {0.5, 2.0}) {
    view->SetZoom(zoom);
    view->ScrollTo({0, 0});
    QApplication::processEvents();
    const QString name = QStringLiteral("/zoom-%1.png").arg(velk::ZoomPercent(zoom));
    ASSERT_TRUE(frame->grab().save(out + name));
  }
}

}  // namespace
