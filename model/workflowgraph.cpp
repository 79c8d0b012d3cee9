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

// Queues only nodes still to be visited: a node visited meanwhile would be taken
// out of the queue again at once.
void EnqueueTargets(Queue& queue, const CNode* node) {
  if (!node) return;
  for (const CArrow* arrow : node->OutgoingArrows())
    if (arrow->Target()->work.visitMark) queue.push_back(arrow->Target());
}

// The queue's first node not visited yet. Dropping visited nodes when they come to
// the front keeps the order of the others, as removing them at once would, at a
// constant cost per queued node.
CNode* FrontToVisit(Queue& queue) {
  while (!queue.empty() && !queue.front()->work.visitMark) queue.pop_front();
  return queue.empty() ? nullptr : queue.front();
}

// The node's own outgoing arrows, then those of the nodes representing the clusters
// it ends, upward while they end inner clusters too.
template <class FindRepresenting>
std::vector<CArrow*> CollectRoutingArrows(const CNode& node, FindRepresenting representing) {
  std::vector<CArrow*> arrows = node.OutgoingArrows();
  std::vector<const CNode*> passed{&node};
  const CNode* current = &node;
  while (EndsInnerCluster(*current)) {
    const CNode* outer = representing(current->BelongsToCluster());
    // A damaged cluster structure may lead around in a circle.
    if (!outer || std::ranges::find(passed, outer) != passed.end()) break;
    arrows.insert(arrows.end(), outer->OutgoingArrows().begin(), outer->OutgoingArrows().end());
    passed.push_back(outer);
    current = outer;
  }
  return arrows;
}

// Numbers one node taken from the queue and queues its successors.
void NumberNode(CWorkflowDoc& top, RoutingIndex& routing, CNode& node, int& code, Queue& queue) {
  queue.pop_front();
  node.work.visitMark = false;
  top.SetNodeCode(node, code++);
  if (!node.IsClusterNode()) {
    EnqueueTargets(queue, &node);
    if (EndsInnerCluster(node))
      EnqueueTargets(queue, routing.Representing(node.BelongsToCluster()));
  } else if (CNode* inner = node.ClusterStartNode()) {
    top.SetNodeCode(*inner, code++);
    inner->work.visitMark = false;
    EnqueueTargets(queue, inner);
  }
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
  RoutingIndex routing(top);
  const std::vector<CNode*> all(top.AllNodes().begin(), top.AllNodes().end());
  std::size_t firstMarked = 0;  // nodes before it are all visited
  Queue queue{start};
  int code = 1;
  for (;;) {
    if (CNode* node = FrontToVisit(queue)) {
      NumberNode(top, routing, *node, code, queue);
      continue;
    }
    while (firstMarked < all.size() && !all[firstMarked]->work.visitMark) ++firstMarked;
    if (firstMarked == all.size()) break;
    queue.push_back(all[firstMarked]);
  }
  SetAllMarks(top, false);
  return true;
}

std::vector<CArrow*> RoutingArrows(const CWorkflowDoc& doc, const CNode& node) {
  return CollectRoutingArrows(node, [&doc](int c) { return doc.GetNodeWhichRepresentsCluster(c); });
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
  std::vector<CNode*> reached = RoutingIndex(doc).Reachable(start);
  SetAllMarks(doc, false);
  return reached;
}

// ---- RoutingIndex ----

RoutingIndex::RoutingIndex(const CWorkflowDoc& doc) : doc_(doc.Top()) {
  for (CNode* node : doc_.AllNodes()) {
    index_.emplace(node, static_cast<int>(nodes_.size()));
    nodes_.push_back(node);
    if (node->RepresentsCluster() >= 2) firstRepresenting_.emplace(node->RepresentsCluster(), node);
  }
  arrows_.resize(nodes_.size());
  walks_.resize(nodes_.size());
  seen_.assign(nodes_.size(), 0);
}

int RoutingIndex::IndexOf(const CNode* node) const {
  auto it = index_.find(node);
  return it == index_.end() ? -1 : it->second;
}

CNode* RoutingIndex::Representing(int cluster) {
  auto it = firstRepresenting_.find(cluster);
  if (it != firstRepresenting_.end()) return it->second;
  if (missing_.insert(cluster).second) doc_.GetNodeWhichRepresentsCluster(cluster);  // reports
  return nullptr;
}

const std::vector<CArrow*>& RoutingIndex::Arrows(const CNode& node) {
  const int i = IndexOf(&node);
  if (i < 0) {  // not of this workflow: nothing to keep
    scratch_ = CollectRoutingArrows(node, [this](int c) { return Representing(c); });
    return scratch_;
  }
  if (!arrows_[i])
    arrows_[i] = CollectRoutingArrows(node, [this](int c) { return Representing(c); });
  return *arrows_[i];
}

// A cluster node leads into its cluster (or, empty, along its own arrows); any
// other node along its routing arrows.
const std::vector<int>& RoutingIndex::Walk(int i) {
  std::optional<std::vector<int>>& walk = walks_[i];
  if (walk) return *walk;
  walk.emplace();
  const CNode& node = *nodes_[i];
  auto add = [&](const CNode* next) {
    if (const int j = IndexOf(next); j >= 0) walk->push_back(j);
  };
  if (node.IsClusterNode() && node.ClusterStartNode()) {
    add(node.ClusterStartNode());
  } else {
    const std::vector<CArrow*>& arrows =
        node.IsClusterNode() ? node.OutgoingArrows() : Arrows(node);
    for (const CArrow* arrow : arrows) add(arrow->Target());
  }
  return *walk;
}

std::vector<CNode*> RoutingIndex::Reachable(CNode& start) {
  std::vector<int> indices;
  ReachableIndices(start, indices);
  std::vector<CNode*> reached;
  reached.reserve(indices.size());
  for (int i : indices) reached.push_back(nodes_[i]);
  return reached;
}

void RoutingIndex::ReachableIndices(const CNode& start, std::vector<int>& reached) {
  reached.clear();
  const int first = IndexOf(&start);
  if (first < 0) return;
  if (++stamp_ == 0) {  // wrapped: forget every earlier walk
    std::ranges::fill(seen_, 0u);
    stamp_ = 1;
  }
  queue_.assign(1, first);
  for (std::size_t head = 0; head < queue_.size(); ++head) {
    const int i = queue_[head];
    if (seen_[i] == stamp_) continue;
    seen_[i] = stamp_;
    if (i != first && !nodes_[i]->IsClusterNode()) reached.push_back(i);
    for (int j : Walk(i))
      if (seen_[j] != stamp_) queue_.push_back(j);
  }
}

}  // namespace velk
