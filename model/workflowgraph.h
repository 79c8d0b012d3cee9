#pragma once
// Walks over a workflow graph shared by saving, loading and checking: node keys,
// code assignment and the routing of a node across cluster boundaries.

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;

// "%d-%s": the key of a node's task document and of every stored routing entry.
std::string NodeKey(int code, const std::string& workflowId);
// The number before the first "-" of a stored key ("5-W" gives 5); -1 when the
// text does not start with a number.
int CodeFromKey(const std::string& key);

// True for the end node of a cluster of level 2 or more: its routing continues at
// the node that represents its cluster.
bool EndsInnerCluster(const CNode& node);

// Numbers the nodes of the workflow, breadth first from the start node through the
// clusters (without start node, in list order). Sets the start node's cluster start
// flag. False, with nothing numbered, for an Active workflow without start node.
bool AssignCodes(CWorkflowDoc& doc);

// The arrows whose successors a node routes to: its own outgoing arrows and, for
// the end node of an inner cluster, those of the nodes representing its cluster
// (upward while they end inner clusters too).
std::vector<CArrow*> RoutingArrows(const CWorkflowDoc& doc, const CNode& node);

// Where an arrow routes to: its target or, for a cluster node, the cluster's start
// node (through nested clusters).
CNode* RoutingSuccessor(const CArrow& arrow);

// The nodes reachable from `start` in breadth-first order, crossing into clusters
// and out of them; without `start` and without cluster nodes.
std::vector<CNode*> ReachableNodes(const CWorkflowDoc& doc, CNode& start);

// The routing of a workflow looked up once, for walks that visit every node (the
// save walks from each node): the node representing each cluster, and each node's
// routing arrows, worked out at their first use. Valid while the graph does not
// change. A walk costs time linear in the nodes and arrows it passes.
class RoutingIndex {
 public:
  explicit RoutingIndex(const CWorkflowDoc& doc);

  // The first node representing `cluster`; a miss is reported (once per cluster).
  CNode* Representing(int cluster);
  // As RoutingArrows().
  const std::vector<CArrow*>& Arrows(const CNode& node);
  // As ReachableNodes(); leaves the nodes' visit marks alone.
  std::vector<CNode*> Reachable(CNode& start);
  // The same as places in the node list (see IndexOf), into `reached`.
  void ReachableIndices(const CNode& start, std::vector<int>& reached);
  // The node's place in the workflow's node list, or -1.
  int IndexOf(const CNode* node) const;

 private:
  const std::vector<int>& Walk(int index);

  const CWorkflowDoc& doc_;
  std::vector<CNode*> nodes_;
  std::unordered_map<const CNode*, int> index_;
  std::unordered_map<int, CNode*> firstRepresenting_;
  std::unordered_set<int> missing_;  // clusters looked up in vain
  std::vector<std::optional<std::vector<CArrow*>>> arrows_;
  std::vector<CArrow*> scratch_;                        // the arrows of a node of another workflow
  std::vector<std::optional<std::vector<int>>> walks_;  // where a walk goes on from a node
  std::vector<int> queue_;                              // of the current walk
  std::vector<unsigned> seen_;                          // == stamp_: reached by the current walk
  unsigned stamp_ = 0;
};

}  // namespace velk
