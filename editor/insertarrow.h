#pragma once
// The model side of the insert tools and the arrow tool.

#include "editor/nodemove.h"
#include "editor/tools.h"
#include "model/geometry.h"
#include "model/kinds.h"

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;

struct InsertResult {
  CNode* node = nullptr;
  // The arrow the click lay on, replaced by two And arrows through the new node.
  // Only its identity is left: it has been deleted.
  const CArrow* splitArrow = nullptr;
};

// A click of an insert tool at `p`: a new node of `kind` (a cluster with its new,
// empty level) snapped to the grid. On an arrow of the level the new node is put
// into that arrow, whose routing is not kept; elsewhere it becomes the only
// selected node. Marks the workflow modified.
InsertResult InsertNodeAt(CWorkflowDoc& doc, NodeKind kind, Point p, const GridSettings& grid);

// The arrow tool: the first click on a node chooses the source, the second the
// target. It lives as long as the program; the source is remembered across
// windows but only used in the window it was chosen in.
class ArrowGesture {
 public:
  enum class Outcome {
    Cleared,       // click beside every node: no source any more
    SourceChosen,  // the node clicked is the new source
    ArrowMade,     // an arrow from the source to the node clicked
    SameNode,      // the source clicked again: no arrow, no source
  };
  struct Result {
    Outcome outcome = Outcome::Cleared;
    CArrow* arrow = nullptr;
    CNode* node = nullptr;  // the node clicked
  };

  // Button down at `p` in `doc`'s window; switches `tools` between its two arrow
  // states. A new arrow marks the workflow modified.
  Result Press(CWorkflowDoc& doc, ToolState& tools, Point p);

  // The source, while it is a node of `doc`'s level.
  CNode* Source(const CWorkflowDoc& doc) const;
  void Clear() {
    source_ = nullptr;
    sourceDoc_ = nullptr;
  }

 private:
  CNode* source_ = nullptr;
  const CWorkflowDoc* sourceDoc_ = nullptr;
};

// The status line text while the arrow tool is active.
const char* ArrowToolPrompt(ToolId active);

}  // namespace velk
