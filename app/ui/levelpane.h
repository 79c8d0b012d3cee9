#pragma once
// One side of a comparison, or a stored version shown read-only: a level of a
// workflow drawn on a canvas that only reads it, with a chooser of the
// workflow's levels above it.

#include <QLabel>
#include <QWidget>
#include <vector>

#include "editor/drawinggeometry.h"
#include "editor/ui/workflowpainter.h"

class ComparisonMarks;
class QComboBox;
class QScrollArea;

namespace velk {
class CArrow;
class CNode;
class CWorkflowDoc;
}  // namespace velk

// Draws a level at a zoom; the area it covers is given, so that two canvases
// side by side put one logical point at one pixel.
class CLevelCanvas : public QWidget {
  Q_OBJECT
 public:
  CLevelCanvas(const CNodeBitmaps& bitmaps, QWidget* parent = nullptr);

  void SetLevel(const velk::CWorkflowDoc* level, const ComparisonMarks* marks);
  const velk::CWorkflowDoc* Level() const { return level_; }
  // The logical area shown and the zoom (1 is the view at 100%).
  void SetArea(velk::Rect area, double zoom);
  // What the level's tasks and arrows cover.
  velk::Rect UsedArea();
  QPoint ToWidget(velk::Point p) const;

 signals:
  // Ctrl and the wheel: in for a positive `delta`.
  void zoomWheel(int delta);
  void nodeDoubleClicked(const velk::CNode& node);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  ViewMapping Mapping() const;

  CWorkflowPainter painter_;
  const velk::CWorkflowDoc* level_ = nullptr;
  const ComparisonMarks* marks_ = nullptr;
  velk::Rect area_{0, 0, 100, -100};
  double zoom_ = 1.0;
};

class CLevelPane : public QWidget {
  Q_OBJECT
 public:
  // Opens every level of `top` for the chooser; `caption` names the version.
  CLevelPane(velk::CWorkflowDoc& top, const QString& caption, const CNodeBitmaps& bitmaps,
             const ComparisonMarks* marks, QWidget* parent = nullptr);

  CLevelCanvas* Canvas() const { return canvas_; }
  QScrollArea* ScrollArea() const { return scroll_; }
  QComboBox* LevelChooser() const { return levels_; }
  velk::CWorkflowDoc& ShownLevel() const;
  // The chooser's text of the level shown.
  QString ShownLevelName() const;
  // Shows the level the cluster node stands for.
  void OpenCluster(const velk::CNode& clusterNode);
  // Shows the level of that name, when the workflow has it.
  void ShowLevelNamed(const QString& name);
  // Shows the level of the task or arrow (one of them null), selects it alone
  // and scrolls to it; with neither, clears the selection.
  void ShowElement(const velk::CNode* node, const velk::CArrow* arrow);

 signals:
  void levelChanged();

 private:
  void DeselectAll();

  std::vector<velk::CWorkflowDoc*> levelDocs_;
  QComboBox* levels_;
  QScrollArea* scroll_;
  CLevelCanvas* canvas_;
  const ComparisonMarks* marks_;
};
