// The operations of CWorkflowDoc that create, change and delete nodes and arrows.

#include <algorithm>

#include "common/services.h"
#include "model/arrowgeometry.h"
#include "model/nodepicture.h"
#include "model/workflowdoc.h"
#include "model/workflowundo.h"
#include "repository/noteserror.h"

namespace velk {

CNode::CNode(CWorkflowDoc* document, const Rect& rect, int belongsToCluster)
    : document_(document),
      rect_(rect),
      savedRects_{rect, rect},
      copiedFrom_(this),
      belongsToCluster_(belongsToCluster) {}

CNode::CNode(const CNode& from, CWorkflowDoc* document)
    : document_(document),
      rect_(from.rect_),
      savedRects_(from.savedRects_),
      picture_(from.picture_),
      codeText_(from.codeText_),
      code_(from.code_),
      subWorkflowId_(from.subWorkflowId_),
      copiedFrom_(&from),
      kind_(from.kind_),
      attributes_(from.attributes_),
      referenceText_(from.referenceText_),
      representsCluster_(from.representsCluster_),
      belongsToCluster_(from.belongsToCluster_),
      isClusterStartNode_(from.isClusterStartNode_),
      isClusterEndNode_(from.isClusterEndNode_) {}

// ---- Nodes ----

CNode* CWorkflowDoc::AdoptNode(std::unique_ptr<CNode> node) {
  top_->nodes_.push_back(std::move(node));
  return top_->nodes_.back().get();
}

CNode* CWorkflowDoc::CreateNode(const Rect& rect) {
  return AdoptNode(std::unique_ptr<CNode>(new CNode(this, rect, level_)));
}

CNode* CWorkflowDoc::InsertNode(const Rect& rect, NodeKind kind) {
  const int cluster = kind == NodeKind::IWC ? NextFreeClusterNumber() : 0;
  CNode* node = CreateNode(rect);
  node->kind_ = kind;
  node->picture_ = InsertionPicture(kind);
  node->representsCluster_ = cluster;
  return node;
}

bool CWorkflowDoc::NeedsConfirmationToDelete(const CNode& node) const {
  return node.IsClusterNode() && top_->ClusterHasNodes(node.representsCluster_);
}

void CWorkflowDoc::DeleteNode(CNode& node) {
  std::vector<const CNode*> deleting;
  top_->DeleteNodeTree(node, deleting);
}

// Runs on the top document. `deleting` holds the nodes whose deletion is under way,
// so that a damaged cluster structure (a cluster inside itself) cannot recurse.
void CWorkflowDoc::DeleteNodeTree(CNode& node, std::vector<const CNode*>& deleting) {
  deleting.push_back(&node);
  ReleaseNodeWindows(node);
  const int cluster = node.representsCluster_;
  if (node.IsClusterNode() && cluster >= 2 && cluster != node.belongsToCluster_) {
    auto nextInner = [&]() -> CNode* {
      for (auto& n : nodes_)
        if (n->belongsToCluster_ == cluster &&
            std::ranges::find(deleting, n.get()) == deleting.end())
          return n.get();
      return nullptr;
    };
    while (CNode* inner = nextInner()) DeleteNodeTree(*inner, deleting);
  }
  DropNodeLinks(node);
  std::erase_if(nodes_, [&](const auto& n) { return n.get() == &node; });
}

// Closes the cluster windows shown for the node; an open sub-workflow forgets it.
void CWorkflowDoc::ReleaseNodeWindows(CNode& node) {
  // Closing one window closes those opened from it, so look again after each.
  auto openFor = [&]() -> CWorkflowDoc* {
    for (const auto& doc : clusterDocuments_)
      if (doc->representingNode_ == &node) return doc.get();
    return nullptr;
  };
  while (CWorkflowDoc* doc = openFor()) CloseClusterDocument(*doc);
  if (CWorkflowDoc* sub = node.clusterDocument_) {
    if (sub->representingNode_ == &node) sub->representingNode_ = nullptr;
    node.clusterDocument_ = nullptr;
  }
}

// Every link of the workflow to the node, and its arrows.
void CWorkflowDoc::DropNodeLinks(CNode& node) {
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) {
    if (doc->startNode_ == &node) doc->startNode_ = nullptr;
    if (doc->endNode_ == &node) doc->endNode_ = nullptr;
    doc->session_.ForgetNode(node);
  }
  for (auto& n : nodes_) {
    if (n->clusterStartNode_ == &node) n->clusterStartNode_ = nullptr;
    if (n->clusterEndNode_ == &node) n->clusterEndNode_ = nullptr;
  }
  SetReferencedNode(node, nullptr);
  while (!node.referencingNodes_.empty()) {
    CNode& referencing = *node.referencingNodes_.back();
    if (referencing.kind_ == NodeKind::Extern)
      DisconnectReference(referencing);
    else
      SetReferencedNode(referencing, nullptr);
  }
  for (CArrow* arrow : std::vector<CArrow*>(node.incoming_)) DeleteArrow(*arrow);
  for (CArrow* arrow : std::vector<CArrow*>(node.outgoing_)) DeleteArrow(*arrow);
}

void CWorkflowDoc::ClearGraph() {
  CWorkflowDoc& top = *top_;
  while (!top.clusterDocuments_.empty()) top.CloseClusterDocument(*top.clusterDocuments_.front());
  for (auto& node : top.nodes_) top.ReleaseNodeWindows(*node);
  top.session_.DropLevelSelection();
  top.startNode_ = nullptr;
  top.endNode_ = nullptr;
  top.arrows_.clear();
  top.nodes_.clear();
  top.session_.History().Clear();
}

void CWorkflowDoc::SetNodeAttributes(CNode& node, NodeAttributes attributes) {
  node.attributes_ = std::move(attributes);
}

void CWorkflowDoc::SetNodeKind(CNode& node, NodeKind kind) {
  node.kind_ = kind;
}

void CWorkflowDoc::SetNodePicture(CNode& node, int picture) {
  node.picture_ = picture >= 0 && picture < kNodePictureCount ? picture : NodePicture::Intern;
}

void CWorkflowDoc::SetNodeCodeText(CNode& node, std::string codeText) {
  node.codeText_ = std::move(codeText);
}

void CWorkflowDoc::MoveNode(CNode& node, int dx, int dy) {
  node.rect_ = node.rect_.Offset(dx, dy);
  UpdateNodeArrows(node);
}

void CWorkflowDoc::SaveNodeRect(CNode& node, int index) {
  node.savedRects_.at(index) = node.rect_;
}

// ---- Arrows ----

CArrow* CWorkflowDoc::AdoptArrow(std::unique_ptr<CArrow> arrow) {
  CArrow* a = arrow.get();
  top_->arrows_.push_back(std::move(arrow));
  a->source_->outgoing_.push_back(a);
  a->target_->incoming_.push_back(a);
  UpdateArrowGeometry(*a);
  return a;
}

CArrow* CWorkflowDoc::CreateArrow(CNode& source, CNode& target, ArrowRouting routing) {
  return AdoptArrow(
      std::unique_ptr<CArrow>(new CArrow(this, &source, &target, std::move(routing))));
}

void CWorkflowDoc::DeleteArrow(CArrow& arrow) {
  std::erase(arrow.source_->outgoing_, &arrow);
  std::erase(arrow.target_->incoming_, &arrow);
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) doc->session_.ForgetArrow(arrow);
  std::erase_if(top_->arrows_, [&](const auto& a) { return a.get() == &arrow; });
}

void CWorkflowDoc::SetArrowRouting(CArrow& arrow, ArrowRouting routing) {
  arrow.routing_ = std::move(routing);
}

void CWorkflowDoc::SetArrowSource(CArrow& arrow, CNode& source) {
  std::erase(arrow.source_->outgoing_, &arrow);
  arrow.source_ = &source;
  source.outgoing_.push_back(&arrow);
  UpdateArrowGeometry(arrow);
}

void CWorkflowDoc::SetArrowTarget(CArrow& arrow, CNode& target) {
  std::erase(arrow.target_->incoming_, &arrow);
  arrow.target_ = &target;
  target.incoming_.push_back(&arrow);
  UpdateArrowGeometry(arrow);
}

std::pair<CArrow*, CArrow*> CWorkflowDoc::SplitArrow(CArrow& arrow, CNode& middle) {
  CNode& source = *arrow.source_;
  CNode& target = *arrow.target_;
  CArrow* first = CreateArrow(source, middle);
  CArrow* second = CreateArrow(middle, target);
  DeleteArrow(arrow);
  return {first, second};
}

void CWorkflowDoc::UpdateArrowGeometry(CArrow& arrow) {
  const ArrowLine line = ComputeArrowLine(arrow.source_->rect_, arrow.target_->rect_);
  arrow.lineStart_ = line.start;
  arrow.lineEnd_ = line.end;
}

void CWorkflowDoc::UpdateNodeArrows(CNode& node) {
  for (CArrow* arrow : node.incoming_) UpdateArrowGeometry(*arrow);
  for (CArrow* arrow : node.outgoing_) UpdateArrowGeometry(*arrow);
}

void CWorkflowDoc::UpdateAllArrows() {
  for (auto& arrow : top_->arrows_) UpdateArrowGeometry(*arrow);
}

void CWorkflowDoc::TranslateArrow(CArrow& arrow, int dx, int dy) {
  auto move = [dx, dy](Point& p) { p = {p.x + dx, p.y + dy}; };
  move(arrow.lineStart_);
  move(arrow.lineEnd_);
}

// ---- Clusters ----

int CWorkflowDoc::NextFreeClusterNumber() const {
  int highest = 1;
  for (const CNode* node : AllNodes())
    highest = std::max({highest, node->belongsToCluster_, node->representsCluster_});
  return highest + 1;
}

CNode* CWorkflowDoc::FindRepresentingNode(int cluster) const {
  if (cluster < 2) return nullptr;
  for (CNode* node : AllNodes())
    if (node->representsCluster_ == cluster) return node;
  return nullptr;
}

CNode* CWorkflowDoc::GetNodeWhichRepresentsCluster(int cluster) const {
  CNode* node = FindRepresentingNode(cluster);
  if (!node)
    ShowErrorMessage(
        services_,
        "programming error: WorkflowWin::GetNodeWhichRepresentsThisCluster(), returns NULL");
  return node;
}

bool CWorkflowDoc::ClusterHasNodes(int cluster) const {
  if (cluster < 2) return false;
  return std::ranges::any_of(AllNodes(),
                             [cluster](const CNode* n) { return n->belongsToCluster_ == cluster; });
}

// ---- References ----

void CWorkflowDoc::SetReferenceText(CNode& node, std::string referenceText) {
  node.referenceText_ = std::move(referenceText);
}

bool CWorkflowDoc::SetReferencedNode(CNode& node, CNode* target) {
  if (target == &node) return false;
  if (node.referencedNode_) std::erase(node.referencedNode_->referencingNodes_, &node);
  node.referencedNode_ = target;
  if (target &&
      std::ranges::find(target->referencingNodes_, &node) == target->referencingNodes_.end())
    target->referencingNodes_.push_back(&node);
  return true;
}

bool CWorkflowDoc::ConnectReference(CNode& node, CNode& target) {
  if (!SetReferencedNode(node, &target)) return false;
  node.picture_ = NodePicture::ExternReferencing;
  return true;
}

void CWorkflowDoc::DisconnectReference(CNode& node) {
  SetReferencedNode(node, nullptr);
  node.referenceText_.clear();
  node.picture_ =
      node.attributes_.griId.empty() ? NodePicture::Extern : NodePicture::ExternPublished;
}

}  // namespace velk
