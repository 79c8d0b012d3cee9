#pragma once
// Rebuilding a workflow graph from its tasks as stored: each task names itself
// and its successors by key texts, and the arrows are made once all tasks are
// there. Loading feeds it from task documents, importing from a file.

#include <string>
#include <unordered_map>
#include <vector>

#include "model/node.h"

namespace velk {

class CWorkflowDoc;

// Where the load says what it could not rebuild as stored.
inline constexpr char kLoadingWorkflowCategory[] = "Loading Workflow";

// One task as stored.
struct TaskRecord {
  int xpos = 0;  // the stored left and top; either sign
  int ypos = 0;
  std::string codeText;  // the key the task and the arrows name it by
  NodeKind kind = NodeKind::Intern;
  NodeAttributes attributes;
  std::string referenceText;  // key of the task it refers to
  std::string subWorkflowId;  // ICDR and CDDR tasks: the workflow id of their sub-workflow
  int belongsToCluster = 1;
  int representsCluster = 0;
  bool isClusterStartNode = false;
  bool isClusterEndNode = false;
};

// An arrow named by the keys of its ends.
struct PendingArrow {
  std::string source;
  std::string target;
  std::string condition;
  std::string formula;
};

class GraphBuilder {
 public:
  // Builds into the top document of `doc`, which should be empty.
  explicit GraphBuilder(CWorkflowDoc& doc);

  // Creates the node at its stored place with its fields and picture. A task of
  // the top level that starts or ends its cluster becomes the workflow's start or
  // end node.
  CNode* AddTask(TaskRecord task);
  // Arrows are made in the order And, Or, Cor, Xor, Else, each kind in the order
  // of its additions.
  void AddArrow(RoutingKind kind, PendingArrow arrow);
  // Makes the arrows (reporting those whose ends are unknown), links every
  // cluster node to its start and end task and resolves the references between
  // external subscribed workflows. A cluster node that stands for its own level or
  // an enclosing one becomes a plain task (said in the Info Center). What could
  // not be rebuilt as stored becomes the workflow's load faults.
  void Finish();

 private:
  void DemoteSelfEnclosingClusters();
  void Fault(std::string text, bool shown = true);
  CNode* Find(const std::string& key) const;
  CNode* Representing(int cluster);
  CNode* TargetInSourceLevel(const CNode& source, CNode* target);
  // Makes the arrows of one kind; those leaving the end task of an inner cluster
  // wait for MakeEndTaskArrows.
  void MakeArrows(RoutingKind kind);
  // A cluster's end task is stored with its own arrows and those of its cluster
  // node; only its own are made.
  void MakeEndTaskArrows();
  bool OuterHasArrow(const CNode& endTask, RoutingKind kind, const CNode& target);
  void LinkClusters();
  void ResolveReferences();

  CWorkflowDoc& top_;
  std::unordered_map<std::string, CNode*> byKey_;  // the first node of each key
  std::unordered_map<int, CNode*> representing_;
  std::vector<PendingArrow> pending_[kRoutingKindCount];
  std::vector<std::pair<RoutingKind, const PendingArrow*>> endTaskArrows_;
  std::vector<std::string> faults_;
};

}  // namespace velk
