// Taking and restoring the value copy of a workflow that undo works with.

#include <algorithm>
#include <unordered_map>

#include "model/workflowdoc.h"
#include "model/workflowundo.h"

namespace velk {

namespace {

// The stored identity stays as saving left it.
void KeepIdentity(WorkflowHeader& header, const WorkflowHeader& from) {
  header.workflowId = from.workflowId;
  header.version = from.version;
  header.status = from.status;
  header.applicationReplicaId = from.applicationReplicaId;
}

}  // namespace

WorkflowSnapshot CWorkflowDoc::TakeSnapshot() const {
  const CWorkflowDoc& top = *top_;
  WorkflowSnapshot s;
  s.header = top.header_;
  KeepIdentity(s.header, WorkflowHeader{});
  std::unordered_map<const CNode*, int> index;
  for (const auto& n : top.nodes_) {
    index.emplace(n.get(), static_cast<int>(s.identities.size()));
    s.identities.push_back(n.get());
  }
  auto indexOf = [&](const CNode* node) {
    auto it = index.find(node);
    return it == index.end() ? -1 : it->second;
  };
  for (const auto& n : top.nodes_)
    s.nodes.push_back({n->rect_, n->picture_, n->codeText_, n->code_,
                       n->subWorkflowId_, indexOf(n->clusterStartNode_),
                       indexOf(n->clusterEndNode_), n->copiedFrom_, n->kind_, n->attributes_,
                       indexOf(n->referencedNode_), n->referenceText_, n->representsCluster_,
                       n->belongsToCluster_, n->isClusterStartNode_, n->isClusterEndNode_});
  for (const auto& a : top.arrows_)
    s.arrows.push_back({indexOf(a->source_), indexOf(a->target_), a->stateFlags_, a->routing_,
                        a->lineStart_, a->lineEnd_});
  s.start = indexOf(top.startNode_);
  s.end = indexOf(top.endNode_);
  for (const auto& doc : top.clusterDocuments_) {
    const CNode* cluster = doc->representingNode_;
    if (cluster && doc->startNode_ == cluster->clusterStartNode_ &&
        doc->endNode_ == cluster->clusterEndNode_)
      continue;
    s.levels.push_back({indexOf(cluster), indexOf(doc->startNode_), indexOf(doc->endNode_)});
  }
  return s;
}

void CWorkflowDoc::RestoreSnapshot(const WorkflowSnapshot& s) {
  CWorkflowDoc& top = *top_;
  if (this != &top) return top.RestoreSnapshot(s);
  // Windows of nodes that go, or that no longer open the same level, close first.
  auto keeps = [&](const CNode& node) {
    auto it = std::ranges::find(s.identities, &node);
    if (it == s.identities.end()) return false;
    const NodeSnapshot& n = s.nodes[it - s.identities.begin()];
    return n.kind == node.kind_ && n.representsCluster == node.representsCluster_;
  };
  for (auto& node : nodes_)
    if (!keeps(*node)) ReleaseNodeWindows(*node);
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) doc->session_.DropLevelSelection();
  std::unordered_map<const CNode*, std::unique_ptr<CNode>> alive;
  for (auto& node : nodes_) alive.emplace(node.get(), std::move(node));
  nodes_.clear();
  arrows_.clear();
  auto levelDocument = [&](int level) {
    for (CWorkflowDoc* doc : DocumentsOfWorkflow())
      if (doc->level_ == level) return doc;
    return this;
  };
  for (std::size_t i = 0; i < s.nodes.size(); ++i) {
    auto it = alive.find(s.identities[i]);
    std::unique_ptr<CNode> node =
        it != alive.end()
            ? std::move(it->second)
            : std::unique_ptr<CNode>(new CNode(levelDocument(s.nodes[i].belongsToCluster),
                                               s.nodes[i].rect, s.nodes[i].belongsToCluster));
    nodes_.push_back(std::move(node));
  }
  alive.clear();  // the nodes that are gone
  auto at = [&](int i) { return i < 0 ? nullptr : nodes_[i].get(); };
  for (std::size_t i = 0; i < s.nodes.size(); ++i) {
    const NodeSnapshot& n = s.nodes[i];
    CNode& node = *nodes_[i];
    node.rect_ = n.rect;
    node.picture_ = n.picture;
    node.selected_ = false;
    node.codeText_ = n.codeText;
    node.code_ = n.code;
    node.subWorkflowId_ = n.subWorkflowId;
    node.clusterStartNode_ = at(n.clusterStartNode);
    node.clusterEndNode_ = at(n.clusterEndNode);
    node.incoming_.clear();
    node.outgoing_.clear();
    node.copiedFrom_ = n.copiedFrom;
    node.kind_ = n.kind;
    node.attributes_ = n.attributes;
    node.referencedNode_ = at(n.referencedNode);
    node.referenceText_ = n.referenceText;
    node.referencingNodes_.clear();
    node.representsCluster_ = n.representsCluster;
    node.belongsToCluster_ = n.belongsToCluster;
    node.isClusterStartNode_ = n.isClusterStartNode;
    node.isClusterEndNode_ = n.isClusterEndNode;
  }
  for (auto& node : nodes_)
    if (node->referencedNode_) node->referencedNode_->referencingNodes_.push_back(node.get());
  for (const ArrowSnapshot& a : s.arrows) {
    CNode* source = at(a.source);
    if (!source || !at(a.target)) continue;
    auto arrow = std::unique_ptr<CArrow>(
        new CArrow(levelDocument(source->belongsToCluster_), source, at(a.target), a.routing));
    arrow->stateFlags_ = a.stateFlags;
    arrow->lineStart_ = a.lineStart;
    arrow->lineEnd_ = a.lineEnd;
    arrow->source_->outgoing_.push_back(arrow.get());
    arrow->target_->incoming_.push_back(arrow.get());
    arrows_.push_back(std::move(arrow));
  }
  startNode_ = at(s.start);
  endNode_ = at(s.end);
  for (auto& doc : clusterDocuments_) {
    CNode* cluster = doc->representingNode_;
    doc->startNode_ = cluster ? cluster->clusterStartNode_ : nullptr;
    doc->endNode_ = cluster ? cluster->clusterEndNode_ : nullptr;
    for (const LevelBoundarySnapshot& level : s.levels)
      if (level.clusterNode >= 0 && at(level.clusterNode) == cluster) {
        doc->startNode_ = at(level.start);
        doc->endNode_ = at(level.end);
      }
  }
  WorkflowHeader header = s.header;
  KeepIdentity(header, header_);
  header_ = std::move(header);
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) doc->session_.RefreshTitle();
}

}  // namespace velk
