#pragma once
// The levels of a workflow as its cluster nodes nest them. A damaged workflow
// may hold a cluster node that stands for its own level or for one enclosing it:
// a walk down the levels would never end there.

#include <map>
#include <string>
#include <vector>

namespace velk {

class CNode;
class CWorkflowDoc;

// The nodes that stand for the level they lie in or for a level enclosing it
// (the top level included), in workflow order.
std::vector<CNode*> SelfEnclosingClusterNodes(const CWorkflowDoc& doc);

// What is wrong with such a node, naming it.
std::string SelfEnclosingClusterText(const CNode& node);

// The top level and every cluster level below it, each after the level showing
// it; a level reached a second time is not entered again.
std::vector<CWorkflowDoc*> WorkflowLevels(CWorkflowDoc& top);

// The levels above a node by their cluster nodes' names, outermost first
// ("Fulfilment > Packing"; "" on top). A damaged nesting that leads around in a
// circle ends where it meets itself.
class LevelNames {
 public:
  explicit LevelNames(const CWorkflowDoc& doc);
  std::string Of(const CNode& node) const;

 private:
  std::map<int, const CNode*> representing_;
};

}  // namespace velk
