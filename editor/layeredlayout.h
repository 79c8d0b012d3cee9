#pragma once
// "Arrange as layers": a layered layout of one level. Graphviz's dot algorithm
// ranks the nodes along the arrows from the start task and orders each rank to
// keep crossings few; only the node positions are taken from it (the view draws
// arrows itself). Levels too large or too dense for dot to finish in moments get
// the simpler placement of layeredplacement.h. Positions then go onto the grid,
// one row per rank, far enough apart for the arrows' condition labels.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/geometry.h"

namespace velk {

class CWorkflowDoc;
class CNode;

// A level as the layout sees it: node sizes and arrows by index.
struct LayoutGraph {
  std::vector<Point> sizes;                        // width, height in logical units
  std::vector<std::pair<int, int>> edges;          // source, target
  std::vector<int> labelWidths;                    // per edge: its condition label, 0 for none
  int start = 0;                                   // the node ranked first
};

// How wide the drawing shows a condition label, judged by its characters, so
// that the command line lays a level out as the modeler does.
int EstimatedLabelWidth(const std::string& condition);

struct LayoutOptions {
  int gridSize = 50;  // centres land on multiples of it
  // False: rows of our own only, without Graphviz and its thread.
  bool dot = true;
};

enum class LayoutEngine { Dot, Rows };

struct LayoutResult {
  bool ok = false;
  LayoutEngine engine = LayoutEngine::Dot;
  std::string error;           // why there is no layout
  std::vector<Point> centres;  // one per node, on the grid
  std::vector<int> rows;       // rank of each node, 0 for the first row
};

// The nodes of the level `doc` shows, in level order, and its graph. The start
// is the level's start task, else the first cluster start node, else the first
// node without incoming arrows, else the first node.
LayoutGraph LevelLayoutGraph(const CWorkflowDoc& doc, std::vector<CNode*>& nodes);

// Lays `graph` out with dot or, beyond what dot places in moments (or while
// another dot still runs), with rows of our own. Thread-safe. Once `stop` is
// set the layout gives up as soon as it can (not ok).
LayoutResult ComputeLayeredLayout(const LayoutGraph& graph, const LayoutOptions& options,
                                  const std::atomic<bool>* stop = nullptr);

// Puts each node of `nodes` at its centre in `result` and recomputes every
// arrow; false when nothing moved.
bool ApplyLayout(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, const LayoutResult& result);

// Lays out the level `doc` shows at once; false when nothing moved or the
// layout failed (then `error` says why).
bool ArrangeAsLayers(CWorkflowDoc& doc, const LayoutOptions& options, std::string* error = nullptr);

// A layout on a thread of its own, so that a window can stay responsive and
// give up waiting. Giving up (destroying it unfinished) stops the layout as soon
// as it can; its result is dropped.
class LayeredLayoutTask {
 public:
  LayeredLayoutTask(LayoutGraph graph, LayoutOptions options);
  ~LayeredLayoutTask();
  LayeredLayoutTask(const LayeredLayoutTask&) = delete;
  LayeredLayoutTask& operator=(const LayeredLayoutTask&) = delete;

  // True once the result is there; waits at most `wait`.
  bool WaitFor(std::chrono::milliseconds wait);
  // The result; call once WaitFor returned true.
  LayoutResult Take();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

// Pairs of arrows of the level whose drawn lines cross; arrows that share a
// node never count.
int CountArrowCrossings(const CWorkflowDoc& doc);

}  // namespace velk
