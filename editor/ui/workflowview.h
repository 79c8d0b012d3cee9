#pragma once
// CWorkflowView: the scrolling view of one level of a workflow. It maps logical
// units (0.01 inch, y axis up) to the screen, paints the level through
// CWorkflowPainter, hands mouse messages to the active editing tool (CViewTool),
// keeps the show flags of the texts and handles the view's drawing and printing
// commands. Editing commands of other parts plug in with AddCommandTarget, e.g.
// from a setup function registered with AddViewSetup.

#include <QAbstractScrollArea>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/ui/commands.h"
#include "editor/drawinggeometry.h"
#include "editor/ui/viewmapping.h"

namespace velk {
class CWorkflowDoc;
class CNode;
struct ModelerSettings;
}  // namespace velk
using velk::CWorkflowDoc;

namespace velk {
class EditScope;
}

class CEditor;
class CEditCommands;
class CViewTool;
class CWorkflowPainter;

class CWorkflowView : public QAbstractScrollArea, public CommandTarget {
  Q_OBJECT
 public:
  static constexpr int kDrawingWidth = velk::kDrawingWidth;
  static constexpr int kDrawingHeight = velk::kDrawingHeight;

  // `doc` may be null (an empty drawing). The view takes part in `editor` (its
  // tools, commands and drops) for its lifetime.
  CWorkflowView(CEditor& editor, std::shared_ptr<CWorkflowDoc> doc, QWidget* parent = nullptr);
  ~CWorkflowView() override;

  CWorkflowDoc* Document() const { return doc_.get(); }
  const std::shared_ptr<CWorkflowDoc>& SharedDocument() const { return doc_; }
  // The level the view shows goes away (its window closes): from now on the view
  // shows nothing and edits nothing, though it may live until the event loop
  // deletes it, e.g. when it gave the command that removed the level.
  void ReleaseDocument();
  // Records the mouse gesture or arrow-key run under way as its own undo step.
  void EndEditRuns();

  // The editor's settings ("GridSize", "GridVisible", "GridMagnetic"), pictures,
  // tools and collaborators.
  CEditor& Editor() const { return editor_; }

  // ---- Coordinates ----
  // Viewport pixels <-> logical units at the current scroll position.
  ViewMapping Mapping() const;
  velk::Point ToLogical(QPoint viewportPos) const;
  QPoint ToViewport(velk::Point p) const;
  // Whole pixels covering the logical rectangle.
  QRect ToViewport(const velk::Rect& r) const;
  // The part of the drawing the viewport shows.
  velk::Rect ExposedRect() const;
  // Scrolls so that the logical point is the viewport's top-left corner (as far
  // as the scroll range allows).
  void ScrollTo(velk::Point topLeft);
  // 1.0 is 100%; SetZoom keeps the middle of the viewport in place.
  double Zoom() const { return zoom_; }
  void SetZoom(double zoom);
  // The zoom and scroll position that show the whole level / the selection.
  void ZoomToFit();
  void ZoomToSelection();
  // Scrolls the logical rectangle to the middle of the viewport unless it shows
  // already.
  void ScrollIntoView(const velk::Rect& r);

  // ---- Repainting ----
  // Repaints the logical area (nothing is drawn at once).
  void InvalidateLogical(const velk::Rect& r);
  void InvalidateAll();
  // What a node covers on screen: its rectangle widened by the text offsets and
  // the areas of all its arrows with their descriptions. Take it before and after
  // a move and invalidate both.
  velk::Rect NodeArea(const velk::CNode& node) const;

  // ---- Texts beside nodes and arrows ----
  const velk::ShowFlags& Flags() const { return flags_; }
  void SetFlags(const velk::ShowFlags& flags);
  const velk::TextOffsets& TextOffsets() const { return offsets_; }

  // ---- Tools ----
  // The tool for this view only; nullptr follows the editor's active tool.
  void SetTool(CViewTool* tool) { tool_ = tool; }
  // The tool mouse messages go to.
  CViewTool* ActiveTool() const;
  void SetToolCursor(const QCursor& cursor);

  // ---- Commands ----
  // While a context menu is open: the point it was opened at, where a command that
  // places something (paste) puts it.
  std::optional<velk::Point> MenuPoint() const { return menuPoint_; }
  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

  // The painter the view draws with (shared with printing of this view).
  CWorkflowPainter& Painter() const { return *painter_; }

 signals:
  void zoomChanged(double zoom);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The arrow keys move the selected nodes; Tab and Shift+Tab walk the level's
  // tasks, Return opens the selection's sheet, Escape ends a gesture and clears
  // the selection.
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Ctrl+wheel zooms.
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool SelectionKey(QKeyEvent& event);
  void ZoomToArea(const velk::Rect& bounds);
  bool OwnCommand(int id);
  bool OwnUpdate(int id, CmdUI& ui) const;
  void ToggleShowFlag(bool velk::ShowFlags::*flag);
  void ToggleGrid();
  void UpdateScrollBars();
  void OnScrollAction(Qt::Orientation orientation, int action);
  double PixelsPerUnitX() const;
  double PixelsPerUnitY() const;

  CEditor& editor_;
  std::shared_ptr<CWorkflowDoc> doc_;
  std::unique_ptr<CWorkflowPainter> painter_;
  std::unique_ptr<CEditCommands> editCommands_;
  velk::ShowFlags flags_;
  velk::TextOffsets offsets_;
  CViewTool* tool_ = nullptr;
  // One undo step for everything a mouse gesture (press to release) changes.
  std::unique_ptr<velk::EditScope> gesture_;
  // One undo step for the moves of an arrow key held down (press to release).
  std::unique_ptr<velk::EditScope> keyRun_;
  double zoom_ = 1.0;
  std::optional<velk::Point> menuPoint_;
};
