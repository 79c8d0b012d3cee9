#pragma once
// The workflow document: the model of one level of a workflow graph.
//
// The top document (level 1) owns every node and arrow of the workflow, and the
// documents of its open cluster windows. A cluster document shows one sub-level
// and only refers to the top document's nodes. Every change of a workflow is made
// by one of the small operations below; nodes and arrows have no public setters.
// What a window adds while the designer edits (selection, modified flag, title,
// undo history) is the document's session (model/workflowsession.h), which the
// document owns and keeps free of deleted nodes and arrows. Operations do not
// mark the document modified: the editing commands decide that
// (Session().SetModified), since loading and saving use the same operations.

#include <cstddef>
#include <functional>
#include <memory>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

#include "common/services.h"
#include "model/arrow.h"
#include "model/databaseslots.h"
#include "model/node.h"
#include "model/workflowheader.h"
#include "model/workflowsession.h"

namespace velk {

struct WorkflowSnapshot;

// A name as titles and messages show it: one too long to read is cut short
// ("..."), which also keeps laying out a title bar quick.
std::string ShownName(const std::string& name);

class CWorkflowDoc {
 public:
  // A new top-level workflow, named "New workflow", valid from `today`, whose user
  // is the current Notes user name. Loading, saving and editing it report through
  // `services`, which must outlive it.
  explicit CWorkflowDoc(Services& services, std::string currentUserName = {},
                        std::string today = TodayText());
  ~CWorkflowDoc();
  CWorkflowDoc(const CWorkflowDoc&) = delete;
  CWorkflowDoc& operator=(const CWorkflowDoc&) = delete;

  Services& UserInterface() const { return services_; }

  // The editing session of this document's window.
  WorkflowSession& Session() { return session_; }
  const WorkflowSession& Session() const { return session_; }

  // ---- Structure ----
  CWorkflowDoc& Top() { return *top_; }
  const CWorkflowDoc& Top() const { return *top_; }
  bool IsTopDocument() const { return top_ == this; }
  bool IsClusterDocument() const { return top_ != this; }
  int Level() const { return level_; }
  // Cluster document: the cluster node it opens. Sub-workflow: the ICDR/CDDR node
  // of the calling workflow. Otherwise none.
  CNode* RepresentingNode() const { return representingNode_; }

  // Every node / arrow of the workflow (all levels) in insertion order, as CNode* /
  // CArrow*. Do not insert or delete while iterating.
  auto AllNodes() const {
    return std::views::transform(top_->nodes_, [](const auto& n) { return n.get(); });
  }
  auto AllArrows() const {
    return std::views::transform(top_->arrows_, [](const auto& a) { return a.get(); });
  }
  std::size_t NodeCount() const { return top_->nodes_.size(); }
  bool ContainsNode(const CNode* node) const;
  // The nodes of this document's level, in insertion order.
  std::vector<CNode*> LevelNodes() const;
  // The open cluster documents of the workflow (top document owns them).
  std::vector<CWorkflowDoc*> ClusterDocuments() const;
  // The top document, then the open cluster documents.
  std::vector<CWorkflowDoc*> DocumentsOfWorkflow() const;

  // ---- Workflow-wide fields (always those of the top document) ----
  const WorkflowHeader& Header() const { return top_->header_; }
  void SetHeader(WorkflowHeader header);
  // Start and end task of this document's level.
  CNode* StartNode() const { return startNode_; }
  CNode* EndNode() const { return endNode_; }
  void SetStartNode(CNode* node) { startNode_ = node; }
  void SetEndNode(CNode* node) { endNode_ = node; }
  bool IsNew() const { return top_->new_; }
  void SetNew(bool isNew) { top_->new_ = isNew; }
  // Which stored header this workflow was loaded from or last saved as (empty:
  // neither); a save checks it to notice another designer's save in between.
  const std::string& StoredStamp() const { return top_->storedStamp_; }
  void SetStoredStamp(std::string stamp) { top_->storedStamp_ = std::move(stamp); }
  const WorkflowDatabases& Databases() const { return databases_; }
  void SetDatabases(const WorkflowDatabases& databases) { databases_ = databases; }
  // What the last load or import could not rebuild as stored (an arrow to a task
  // that is not there, a level nobody stands for); empty when it came back whole.
  const std::vector<std::string>& LoadFaults() const { return top_->loadFaults_; }
  void SetLoadFaults(std::vector<std::string> faults) { top_->loadFaults_ = std::move(faults); }

  // ---- Nodes ----
  // A node with the defaults of a new task, lying in this level.
  CNode* CreateNode(const Rect& rect);
  // As the insert tools: kind and its picture; a cluster node gets a new, empty level.
  CNode* InsertNode(const Rect& rect, NodeKind kind);
  // Deleting a cluster node takes its level along: when that level holds tasks,
  // the command asks the designer first.
  bool NeedsConfirmationToDelete(const CNode& node) const;
  // Deletes the node with its arrows and every reference to it; a cluster node
  // takes its whole level along, nested levels included.
  void DeleteNode(CNode& node);
  // Empties the graph: all nodes, arrows, selections, start and end nodes.
  void ClearGraph();

  void SetNodeAttributes(CNode& node, NodeAttributes attributes);
  void SetNodeKind(CNode& node, NodeKind kind);
  void SetNodePicture(CNode& node, int picture);
  void SetNodeCode(CNode& node, int code) { node.code_ = code; }
  void SetNodeCodeText(CNode& node, std::string codeText);
  // Moves the rectangle only; the node's arrows keep their points.
  void SetNodeRect(CNode& node, const Rect& rect) { node.rect_ = rect; }
  // Moves the node and recomputes all its arrows.
  void MoveNode(CNode& node, int dx, int dy);
  // Remembers the current rectangle as saved rectangle 0 or 1.
  void SaveNodeRect(CNode& node, int index = 0);

  // ---- Arrows ----
  CArrow* CreateArrow(CNode& source, CNode& target, ArrowRouting routing = {});
  void DeleteArrow(CArrow& arrow);
  void SetArrowRouting(CArrow& arrow, ArrowRouting routing);
  // Re-attach one end of an arrow (grouping nodes into a cluster).
  void SetArrowSource(CArrow& arrow, CNode& source);
  void SetArrowTarget(CArrow& arrow, CNode& target);
  // Replaces the arrow by two And arrows through `middle`; returns them.
  std::pair<CArrow*, CArrow*> SplitArrow(CArrow& arrow, CNode& middle);
  void UpdateArrowGeometry(CArrow& arrow);
  void UpdateNodeArrows(CNode& node);
  void UpdateAllArrows();
  // Moves line and head unchanged (both ends moved alike).
  void TranslateArrow(CArrow& arrow, int dx, int dy);

  // ---- Clusters and levels ----
  // A cluster number used by no node (as its level or as the level it represents).
  int NextFreeClusterNumber() const;
  // The first node that represents `cluster`; none for clusters below 2.
  CNode* FindRepresentingNode(int cluster) const;
  // The same; a miss is reported as the programming error it is.
  CNode* GetNodeWhichRepresentsCluster(int cluster) const;
  bool ClusterHasNodes(int cluster) const;
  void SetBelongsToCluster(CNode& node, int cluster) { node.belongsToCluster_ = cluster; }
  void SetRepresentsCluster(CNode& node, int cluster) { node.representsCluster_ = cluster; }
  void SetClusterStartFlag(CNode& node, bool on) { node.isClusterStartNode_ = on; }
  void SetClusterEndFlag(CNode& node, bool on) { node.isClusterEndNode_ = on; }
  void SetClusterStartNode(CNode& clusterNode, CNode* start) {
    clusterNode.clusterStartNode_ = start;
  }
  void SetClusterEndNode(CNode& clusterNode, CNode* end) { clusterNode.clusterEndNode_ = end; }
  // The document of the cluster node's window: the open one, else a new one (with
  // this document's databases) showing the cluster's level.
  CWorkflowDoc* OpenClusterDocument(CNode& clusterNode);
  // Closes a cluster document and, first, those opened from its level. Its nodes
  // and arrows stay (they belong to the top document).
  void CloseClusterDocument(CWorkflowDoc& clusterDocument);
  // Called (on the top document) right before a cluster document is destroyed, so
  // that its window can go first.
  void SetClusterClosingHandler(std::function<void(CWorkflowDoc&)> handler);
  // Before a top document closes: forgets its representing node, drops the
  // selection of its level and closes its cluster documents.
  void PrepareClose();

  // ---- Sub-workflows (nodes of kind ICDR and CDDR) ----
  void SetSubWorkflowId(CNode& node, std::string workflowId);
  // Records `subWorkflow` (a top document) as the node's open sub-workflow and the
  // node as its representing node; either forgets the other when it goes.
  void LinkSubWorkflow(CNode& node, CWorkflowDoc& subWorkflow);

  // ---- References between external subscribed workflows ----
  void SetReferenceText(CNode& node, std::string referenceText);
  // Links without touching pictures (loading); a node cannot refer to itself.
  bool SetReferencedNode(CNode& node, CNode* target);
  // The drop of one external subscribed workflow on another: picture 14.
  bool ConnectReference(CNode& node, CNode& target);
  // "Disconnect ESW Reference": picture 12, or 8 with a GRI id.
  void DisconnectReference(CNode& node);

  // ---- Task type and start/end (commands on a node of this window) ----
  void MakeInternalTask(CNode& node);
  // Only in a top-level window; false (nothing changed) in a cluster window.
  bool MakeInTask(CNode& node);
  bool MakeOutTask(CNode& node);
  void DefineAsWorkflowStart(CNode& node);
  void DefineAsWorkflowEnd(CNode& node);
  // Kind ICDR (picture 6) or CDDR (picture 7).
  void SetSubWorkflowKind(CNode& node, NodeKind kind);

  // ---- Undo (model/workflowundo.h; the history is the session's) ----
  // The workflow's content as a value copy, and back; restoring drops selections.
  WorkflowSnapshot TakeSnapshot() const;
  void RestoreSnapshot(const WorkflowSnapshot& snapshot);

 private:
  struct ClusterTag {};

 public:
  // Use OpenClusterDocument.
  CWorkflowDoc(ClusterTag, CWorkflowDoc& top, CNode& clusterNode);

 private:
  friend class NodeClipboard;

  CNode* AdoptNode(std::unique_ptr<CNode> node);
  CArrow* AdoptArrow(std::unique_ptr<CArrow> arrow);
  void DeleteNodeTree(CNode& node, std::vector<const CNode*>& deleting);
  void DropNodeLinks(CNode& node);
  void ReleaseNodeWindows(CNode& node);
  void ForgetRepresentingNode();
  // Start/end roles: `start` picks the start role, otherwise the end role.
  CNode*& BoundaryNode(bool start) { return start ? startNode_ : endNode_; }
  static CNode*& ClusterBoundary(CNode& clusterNode, bool start);
  static bool& BoundaryFlag(CNode& node, bool start);
  static void DemoteToInternal(CNode* node, bool start);
  void DropRole(CNode& node, bool start);
  void DefineBoundary(CNode& node, bool start);
  bool MakeTaskBoundary(CNode& node, bool start);

  Services& services_;
  CWorkflowDoc* top_;
  int level_ = 1;
  CNode* representingNode_ = nullptr;
  WorkflowHeader header_;
  bool new_ = true;
  std::string storedStamp_;
  std::vector<std::string> loadFaults_;
  bool closing_ = false;
  CNode* startNode_ = nullptr;
  CNode* endNode_ = nullptr;
  WorkflowDatabases databases_;
  std::vector<std::unique_ptr<CNode>> nodes_;                    // top document only
  std::vector<std::unique_ptr<CArrow>> arrows_;                  // top document only
  std::vector<std::unique_ptr<CWorkflowDoc>> clusterDocuments_;  // top document only
  std::function<void(CWorkflowDoc&)> clusterClosingHandler_;
  WorkflowSession session_;  // last: it reads the document's structure when made
};

}  // namespace velk
