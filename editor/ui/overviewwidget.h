#pragma once
// The overview of one workflow view's level: the whole drawing scaled to fit,
// with the part the view shows as a rectangle. Dragging the rectangle, or a
// click beside it, scrolls the view. It repaints whenever the view does, so it
// follows edits, zoom and scrolling.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "editor/ui/viewmapping.h"

class CWorkflowPainter;
class CWorkflowView;

namespace velk {
class CWorkflowDoc;
}

// The mapping that shows `content` (logical units) whole and centred in a
// device of `size` pixels.
ViewMapping OverviewMapping(const velk::Rect& content, QSize size);

// Draws the level without texts through `painter` at `mapping`, and `shown` as
// the view's rectangle.
void PaintOverview(QPainter& device, CWorkflowPainter& painter, const velk::CWorkflowDoc* level,
                   const ViewMapping& mapping, QSize size, const velk::Rect& shown);

class COverviewWidget : public QWidget {
  Q_OBJECT
 public:
  explicit COverviewWidget(QWidget* parent = nullptr);
  ~COverviewWidget() override;

  // The view to follow; null shows nothing.
  void SetView(CWorkflowView* view);
  CWorkflowView* View() const { return view_; }
  // Where the view's rectangle is drawn now, in this widget's pixels.
  QRect ShownRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ViewMapping Mapping() const;
  // Moves the view's rectangle so that its top-left corner is at `topLeft`.
  void ScrollViewTo(QPointF topLeft);

  QPointer<CWorkflowView> view_;
  std::unique_ptr<CWorkflowPainter> painter_;
  // While dragging: the scale at the press and where in the rectangle the mouse
  // took hold.
  struct Grip {
    ViewMapping mapping;
    QPointF offset;
  };
  std::optional<Grip> grip_;
};
