// Task type commands: they turn a node into an internal, In or Out task, or into the
// start or end of the workflow (or of the cluster shown in the window).

#include "model/nodepicture.h"
#include "model/workflowdoc.h"

namespace velk {

CNode*& CWorkflowDoc::ClusterBoundary(CNode& clusterNode, bool start) {
  return start ? clusterNode.clusterStartNode_ : clusterNode.clusterEndNode_;
}

bool& CWorkflowDoc::BoundaryFlag(CNode& node, bool start) {
  return start ? node.isClusterStartNode_ : node.isClusterEndNode_;
}

// A former start or end node becomes a plain internal task.
void CWorkflowDoc::DemoteToInternal(CNode* node, bool start) {
  if (!node) return;
  node->kind_ = NodeKind::Intern;
  node->picture_ = NodePicture::Intern;
  BoundaryFlag(*node, start) = false;
}

// The node stops being this document's start (or end) node. Its flag goes too:
// a flag left behind would make it the start node again when the workflow is
// read back.
void CWorkflowDoc::DropRole(CNode& node, bool start) {
  if (BoundaryNode(start) != &node) return;
  BoundaryNode(start) = nullptr;
  BoundaryFlag(node, start) = false;
}

void CWorkflowDoc::MakeInternalTask(CNode& node) {
  node.kind_ = NodeKind::Intern;
  node.picture_ = NodePicture::Intern;
  for (bool start : {true, false}) {
    DropRole(node, start);
    if (!IsClusterDocument() || !representingNode_) continue;
    CNode*& boundary = ClusterBoundary(*representingNode_, start);
    if (boundary != &node) continue;
    boundary = nullptr;
    BoundaryFlag(node, start) = false;
  }
}

bool CWorkflowDoc::MakeTaskBoundary(CNode& node, bool start) {
  if (IsClusterDocument()) return false;
  DropRole(node, !start);
  if (BoundaryNode(start) != &node) DemoteToInternal(BoundaryNode(start), start);
  BoundaryNode(start) = &node;
  BoundaryFlag(node, start) = true;
  if (start) {
    node.kind_ = NodeKind::In;
    node.picture_ =
        node.attributes_.griId.empty() ? NodePicture::InUnpublished : NodePicture::InPublished;
  } else {
    node.kind_ = NodeKind::Out;
    node.picture_ = NodePicture::Out;
  }
  return true;
}

bool CWorkflowDoc::MakeInTask(CNode& node) {
  return MakeTaskBoundary(node, true);
}

bool CWorkflowDoc::MakeOutTask(CNode& node) {
  return MakeTaskBoundary(node, false);
}

void CWorkflowDoc::DefineBoundary(CNode& node, bool start) {
  DropRole(node, !start);
  if (IsClusterDocument() && representingNode_) {
    CNode*& other = ClusterBoundary(*representingNode_, !start);
    if (other == &node) {
      other = nullptr;
      BoundaryFlag(node, !start) = false;
    }
    CNode*& own = ClusterBoundary(*representingNode_, start);
    DemoteToInternal(own, start);
    own = &node;
  }
  DemoteToInternal(BoundaryNode(start), start);
  BoundaryNode(start) = &node;
  node.kind_ = NodeKind::Intern;
  node.picture_ = start ? NodePicture::ClusterStart : NodePicture::ClusterEnd;
  BoundaryFlag(node, start) = true;
}

void CWorkflowDoc::DefineAsWorkflowStart(CNode& node) {
  DefineBoundary(node, true);
}

void CWorkflowDoc::DefineAsWorkflowEnd(CNode& node) {
  DefineBoundary(node, false);
}

void CWorkflowDoc::SetSubWorkflowKind(CNode& node, NodeKind kind) {
  if (kind != NodeKind::ICDR && kind != NodeKind::CDDR) return;
  node.kind_ = kind;
  node.picture_ = InsertionPicture(kind);
}

}  // namespace velk
