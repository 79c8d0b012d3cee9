#include "editor/selectgesture.h"

#include <string>
#include <vector>

#include "editor/hittest.h"
#include "model/workflowdoc.h"
#include "repository/noteserror.h"

namespace velk {

DragMode SelectGesture::Press(CWorkflowDoc& doc, Point p, bool shift, bool ctrl) {
  Reset();
  start_ = current_ = p;
  const std::vector<CNode*> level = doc.LevelNodes();
  CNode* node = NodeAt(level, p);
  if (!node) {
    if (!shift) doc.Session().DeselectAllNodes();
    if (CArrow* arrow = ArrowAt(level, p)) {
      mode_ = DragMode::ArrowSelected;
      doc.Session().SelectArrow(*arrow, shift);
    } else {
      if (!shift) doc.Session().DeselectAllArrows();
      mode_ = DragMode::RubberBand;
    }
    return mode_;
  }
  if (ctrl) {
    if (!CheckExternalCluster(doc.UserInterface(), *node)) return mode_;
    mode_ = DragMode::DragOut;
    dragged_ = node;
    doc.Session().DeselectAllArrows();
    return mode_;
  }
  mode_ = DragMode::Move;
  dragged_ = node;
  const Point centre = node->GetRect().Center();
  offset_ = {p.x - centre.x, p.y - centre.y};
  if (!shift) doc.Session().DeselectAllArrows();
  if (!node->IsSelected()) {
    doc.Session().SelectNode(*node, shift);
    doc.SaveNodeRect(*node);
  }
  return mode_;
}

std::optional<Rect> SelectGesture::Band() const {
  if (mode_ != DragMode::RubberBand) return std::nullopt;
  return RectFromCorners(start_, current_);
}

bool SelectGesture::SelectBand(CWorkflowDoc& doc, const Rect& band) {
  const std::vector<CNode*> hit = NodesIntersecting(doc.LevelNodes(), band);
  if (hit == doc.Session().SelectedNodes()) return false;
  doc.Session().DeselectAllNodes();
  for (CNode* node : hit) doc.Session().SelectNode(*node, true);
  return true;
}

SelectGesture::Change SelectGesture::Drag(CWorkflowDoc& doc, Point p, const GridSettings& grid) {
  Change change;
  if (mode_ == DragMode::RubberBand) {
    change.oldBand = Band();
    current_ = p;
    change.newBand = Band();
    change.selectionChanged = SelectBand(doc, *change.newBand);
  } else if (mode_ == DragMode::Move && dragged_) {
    current_ = p;
    const Point centre = dragged_->GetRect().Center();
    const int dx = p.x - offset_.x - centre.x;
    const int dy = p.y - offset_.y - centre.y;
    if (dx == 0 && dy == 0) return change;
    change.moved = MoveNodes(doc, doc.Session().SelectedNodes(), dx, dy, grid);
    if (change.moved) doc.Session().SetModified();
    moved_ = moved_ || change.moved;
  }
  return change;
}

SelectGesture::Change SelectGesture::Release(CWorkflowDoc& doc, Point p, const GridSettings& grid) {
  Change change;
  if (mode_ == DragMode::RubberBand) {
    change.oldBand = Band();
    current_ = p;
    change.selectionChanged = SelectBand(doc, *Band());
  } else if (grid.magnetic && moved_) {  // a click without a move changes nothing
    change.moved = MoveNodes(doc, doc.Session().SelectedNodes(), 0, 0, grid);
    if (change.moved) doc.Session().SetModified();
  }
  Reset();
  return change;
}

void SelectGesture::Reset() {
  mode_ = DragMode::None;
  dragged_ = nullptr;
  moved_ = false;
  offset_ = start_ = current_ = {};
}

std::string MissingExternalClusterFields(const CNode& node) {
  if (node.Kind() != NodeKind::EIDM) return {};
  const NodeAttributes& a = node.Attributes();
  const std::pair<const std::string*, const char*> fields[] = {
      {&a.freeText, "goal of cluster"},   {&a.name, "name of cluster"},
      {&a.extClusterInput, "input form"}, {&a.extClusterOutput, "output form"},
      {&a.extClusterFormat, "format"},
  };
  std::string missing;
  for (const auto& [value, label] : fields) {
    if (!value->empty()) continue;
    if (!missing.empty()) missing += ", ";
    missing += label;
  }
  return missing;
}

bool CheckExternalCluster(Services& services, const CNode& node) {
  const std::string missing = MissingExternalClusterFields(node);
  if (missing.empty()) return true;
  ShowErrorMessage(
      services,
      "Please check the properties of this external cluster. \nThe following fields must not "
      "be blank:\n" +
          missing);
  return false;
}

}  // namespace velk
