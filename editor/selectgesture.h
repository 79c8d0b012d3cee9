#pragma once
// The model side of the select tool: one gesture from button down to button up.

#include <optional>
#include <string>

#include "editor/nodemove.h"
#include "model/geometry.h"

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;
class Services;

enum class DragMode : int { None = 0, DragOut = 1, RubberBand = 2, Move = 3, ArrowSelected = 5 };

class SelectGesture {
 public:
  // Button down at `p`. With CTRL on a node the node is to be dragged out of the
  // window (DragOut; the caller runs the drag of DraggedNode()), unless it is an
  // external sub-workflow whose properties are incomplete (None, after telling the
  // user).
  DragMode Press(CWorkflowDoc& doc, Point p, bool shift, bool ctrl);

  struct Change {
    std::optional<Rect> oldBand;  // rubber band to erase
    std::optional<Rect> newBand;  // rubber band to draw
    bool moved = false;           // nodes of the selection moved
    bool selectionChanged = false;
  };
  // Mouse move with the button down.
  Change Drag(CWorkflowDoc& doc, Point p, const GridSettings& grid);
  // Button up; the gesture ends.
  Change Release(CWorkflowDoc& doc, Point p, const GridSettings& grid);

  DragMode Mode() const { return mode_; }
  CNode* DraggedNode() const { return dragged_; }
  std::optional<Rect> Band() const;
  // Forgets the gesture (the tool is left, or the view goes away).
  void Reset();

 private:
  bool SelectBand(CWorkflowDoc& doc, const Rect& band);

  DragMode mode_ = DragMode::None;
  CNode* dragged_ = nullptr;
  bool moved_ = false;  // the selection moved during this gesture
  Point offset_;  // of the press from the dragged node's centre
  Point start_;
  Point current_;
};

// Names of the fields of an external sub-workflow that must be filled before it
// can be dragged out, joined by ", "; empty when all are there (or the node is of
// another kind).
std::string MissingExternalClusterFields(const CNode& node);
// Tells the user about missing fields; false when there are any.
bool CheckExternalCluster(Services& services, const CNode& node);

}  // namespace velk
