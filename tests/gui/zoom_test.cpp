// Zoom of the workflow view: clicks hit the node under the mouse at every zoom
// level.

#include <QScrollBar>

#include "editorfixture.h"

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
      doc->DeselectAll();
      const QPoint at = ViewportPixel(before.Center());
      ASSERT_TRUE(view->viewport()->rect().contains(at)) << zoom << " " << node->Name();
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
      EXPECT_EQ(doc->SelectedNodes(), std::vector<CNode*>{node}) << zoom << " " << node->Name();
      EXPECT_EQ(node->GetRect(), before) << "a click must not move the node";
      // Beside the node (a node's width to its right) nothing is hit.
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                        ViewportPixel({before.right + before.Width(), before.Center().y}));
      EXPECT_TRUE(doc->SelectedNodes().empty()) << zoom << " " << node->Name();
    }
  }
}

}  // namespace
