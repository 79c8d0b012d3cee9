#include "editor/insertarrow.h"

#include <algorithm>

#include "editor/hittest.h"
#include "model/workflowdoc.h"

namespace velk {

InsertResult InsertNodeAt(CWorkflowDoc& doc, NodeKind kind, Point p, const GridSettings& grid) {
  doc.Session().SetModified();
  InsertResult result;
  CArrow* onArrow = ArrowAt(doc.LevelNodes(), p);
  CNode* node = doc.InsertNode(InsertRect(p), kind);
  MoveNode(doc, *node, 0, 0, PushDirection::None, grid);
  doc.SaveNodeRect(*node);
  result.node = node;
  if (onArrow) {
    doc.SplitArrow(*onArrow, *node);
    result.splitArrow = onArrow;
  } else {
    doc.Session().SelectNode(*node);
  }
  return result;
}

CNode* ArrowGesture::Source(const CWorkflowDoc& doc) const {
  if (!source_ || sourceDoc_ != &doc) return nullptr;
  // Compared by address only: the source may have been deleted since.
  const std::vector<CNode*> level = doc.LevelNodes();
  return std::ranges::find(level, source_) != level.end() ? source_ : nullptr;
}

ArrowGesture::Result ArrowGesture::Press(CWorkflowDoc& doc, ToolState& tools, Point p) {
  Result result;
  result.node = NodeAt(doc.LevelNodes(), p);
  CNode* source = tools.Active() == ToolId::ArrowSourceChosen ? Source(doc) : nullptr;
  if (!result.node) {
    result.outcome = Outcome::Cleared;
    Clear();
    tools.Switch(ToolId::ArrowNoSource);
  } else if (source && source != result.node) {
    doc.Session().SetModified();
    result.arrow = doc.CreateArrow(*source, *result.node);
    result.outcome = Outcome::ArrowMade;
    Clear();
    tools.Switch(ToolId::ArrowNoSource);
  } else if (source) {
    result.outcome = Outcome::SameNode;
    Clear();
    tools.Switch(ToolId::ArrowNoSource);
  } else {
    // Also when the source was chosen in another window: start afresh here.
    source_ = result.node;
    sourceDoc_ = &doc;
    result.outcome = Outcome::SourceChosen;
    tools.Switch(ToolId::ArrowSourceChosen);
  }
  return result;
}

const char* ArrowToolPrompt(ToolId active) {
  return active == ToolId::ArrowNoSource
             ? "Select source task of arrow"
             : "Select destination task (hold SHIFT for continous mode)";
}

}  // namespace velk
