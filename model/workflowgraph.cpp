#include "model/workflowgraph.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "model/workflowdoc.h"

namespace velk {

std::string NodeKey(int code, const std::string& workflowId) {
  char number[16];
  std::snprintf(number, sizeof number, "%d-", code);
  return number + workflowId;
}

int CodeFromKey(const std::string& key) {
  const char* begin = key.c_str();
  char* end = nullptr;
  const long code = std::strtol(begin, &end, 10);
  if (end == begin || code < -2147483647L || code > 2147483647L) return -1;
  return static_cast<int>(code);
}

bool EndsInnerCluster(const CNode& node) {
  return node.IsClusterEndNode() && node.BelongsToCluster() >= 2;
}

namespace {
using Queue = std::deque<CNode*>;

void SetAllMarks(const CWorkflowDoc& doc, bool on) {
  for (CNode* node : doc.AllNodes()) node->work.visitMark = on;
}

void EnqueueTargets(Queue& queue, const CNode* node) {
  if (!node) return;
  for (const CArrow* arrow : node->OutgoingArrows()) queue.push_back(arrow->Target());
}

// After X has been handled: X and every other node already handled leave the queue.
void DropVisited(Queue& queue) {
  std::erase_if(queue, [](const CNode* n) { return !n->work.visitMark; });
}

CNode* FirstMarked(const CWorkflowDoc& doc) {
  for (CNode* node : doc.AllNodes())
    if (node->work.visitMark) return node;
  return nullptr;
}

// Numbers one node taken from the queue and queues its successors.
void NumberNode(CWorkflowDoc& top, CNode& node, int& code, Queue& queue) {
  top.SetNodeCode(node, code++);
  if (!node.IsClusterNode()) {
    EnqueueTargets(queue, &node);
    if (EndsInnerCluster(node))
      EnqueueTargets(queue, top.GetNodeWhichRepresentsCluster(node.BelongsToCluster()));
  } else if (CNode* inner = node.ClusterStartNode()) {
    top.SetNodeCode(*inner, code++);
    inner->work.visitMark = false;
    EnqueueTargets(queue, inner);
  }
  node.work.visitMark = false;
  DropVisited(queue);
}
}  // namespace

bool AssignCodes(CWorkflowDoc& doc) {
  CWorkflowDoc& top = doc.Top();
  if (top.NodeCount() == 0) return true;
  CNode* start = top.StartNode();
  if (!start && top.Header().status != WorkflowStatus::Active) {
    int code = 1;
    for (CNode* node : top.AllNodes()) top.SetNodeCode(*node, code++);
    return true;
  }
  if (!start) return false;
  for (CNode* node : top.AllNodes()) top.SetNodeCode(*node, -1);
  SetAllMarks(top, true);
  top.SetClusterStartFlag(*start, true);
  Queue queue{start};
  int code = 1;
  while (CNode* marked = FirstMarked(top)) {
    if (queue.empty()) {
      queue.push_back(marked);
      continue;
    }
    CNode* node = queue.front();
    NumberNode(top, *node, code, queue);
  }
  SetAllMarks(top, false);
  return true;
}

std::vector<CArrow*> RoutingArrows(const CWorkflowDoc& doc, const CNode& node) {
  std::vector<CArrow*> arrows = node.OutgoingArrows();
  std::vector<const CNode*> passed{&node};
  const CNode* current = &node;
  while (EndsInnerCluster(*current)) {
    const CNode* outer = doc.GetNodeWhichRepresentsCluster(current->BelongsToCluster());
    // A damaged cluster structure may lead around in a circle.
    if (!outer || std::ranges::find(passed, outer) != passed.end()) break;
    arrows.insert(arrows.end(), outer->OutgoingArrows().begin(), outer->OutgoingArrows().end());
    passed.push_back(outer);
    current = outer;
  }
  return arrows;
}

CNode* RoutingSuccessor(const CArrow& arrow) {
  CNode* successor = arrow.Target();
  std::vector<const CNode*> passed;
  while (successor->IsClusterNode() && successor->ClusterStartNode() &&
         std::ranges::find(passed, successor) == passed.end()) {
    passed.push_back(successor);
    successor = successor->ClusterStartNode();
  }
  return successor;
}

std::vector<CNode*> ReachableNodes(const CWorkflowDoc& doc, CNode& start) {
  std::vector<CNode*> reached;
  SetAllMarks(doc, true);
  Queue queue{&start};
  while (!queue.empty()) {
    CNode* node = queue.front();
    node->work.visitMark = false;
    if (node->IsClusterNode()) {
      if (node->ClusterStartNode())
        queue.push_back(node->ClusterStartNode());
      else
        EnqueueTargets(queue, node);
    } else {
      if (node != &start) reached.push_back(node);
      // The end of an inner cluster goes on wherever its routing goes on, up
      // through every level it ends.
      for (const CArrow* arrow : RoutingArrows(doc, *node)) queue.push_back(arrow->Target());
    }
    DropVisited(queue);
  }
  SetAllMarks(doc, false);
  return reached;
}

}  // namespace velk
