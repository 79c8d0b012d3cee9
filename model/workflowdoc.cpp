#include "model/workflowdoc.h"

#include <algorithm>

namespace velk {

CWorkflowDoc::CWorkflowDoc(Services& services, std::string currentUserName, std::string today)
    : services_(services), top_(this), session_(*this) {
  header_.validFrom = std::move(today);
  header_.user = std::move(currentUserName);
}

CWorkflowDoc::CWorkflowDoc(ClusterTag, CWorkflowDoc& top, CNode& clusterNode)
    : services_(top.services_),
      top_(&top),
      level_(clusterNode.representsCluster_),
      representingNode_(&clusterNode),
      startNode_(clusterNode.clusterStartNode_),
      endNode_(clusterNode.clusterEndNode_),
      session_(*this) {}

CWorkflowDoc::~CWorkflowDoc() {
  if (!IsTopDocument()) return;
  for (auto& doc : clusterDocuments_) doc->ForgetRepresentingNode();
  clusterDocuments_.clear();
  ForgetRepresentingNode();
  // Open sub-workflow documents outlive this workflow: they forget their node.
  for (auto& node : nodes_)
    if (node->clusterDocument_ && node->clusterDocument_->representingNode_ == node.get())
      node->clusterDocument_->representingNode_ = nullptr;
}

// ---- Structure ----

bool CWorkflowDoc::ContainsNode(const CNode* node) const {
  return std::ranges::any_of(top_->nodes_, [node](const auto& n) { return n.get() == node; });
}

std::vector<CNode*> CWorkflowDoc::LevelNodes() const {
  std::vector<CNode*> level;
  for (CNode* node : AllNodes())
    if (node->belongsToCluster_ == level_) level.push_back(node);
  return level;
}

std::vector<CWorkflowDoc*> CWorkflowDoc::ClusterDocuments() const {
  std::vector<CWorkflowDoc*> docs;
  for (const auto& doc : top_->clusterDocuments_) docs.push_back(doc.get());
  return docs;
}

std::vector<CWorkflowDoc*> CWorkflowDoc::DocumentsOfWorkflow() const {
  std::vector<CWorkflowDoc*> docs = ClusterDocuments();
  docs.insert(docs.begin(), top_);
  return docs;
}

void CWorkflowDoc::SetHeader(WorkflowHeader header) {
  top_->header_ = std::move(header);
}

std::string ShownName(const std::string& name) {
  constexpr std::size_t kLongest = 200;
  if (name.size() <= kLongest) return name;
  std::size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // UTF-8
  return name.substr(0, cut) + "...";
}

// ---- Cluster documents ----

CWorkflowDoc* CWorkflowDoc::OpenClusterDocument(CNode& clusterNode) {
  if (clusterNode.clusterDocument_) return clusterNode.clusterDocument_;
  auto doc = std::make_unique<CWorkflowDoc>(ClusterTag{}, *top_, clusterNode);
  doc->databases_ = databases_;
  clusterNode.clusterDocument_ = doc.get();
  top_->clusterDocuments_.push_back(std::move(doc));
  return clusterNode.clusterDocument_;
}

void CWorkflowDoc::CloseClusterDocument(CWorkflowDoc& clusterDocument) {
  if (clusterDocument.IsTopDocument() || clusterDocument.top_ != top_ || clusterDocument.closing_)
    return;
  clusterDocument.closing_ = true;
  CWorkflowDoc& top = *top_;
  // Windows opened from this level go first.
  for (CNode* node : clusterDocument.LevelNodes())
    if (node->IsClusterNode() && node->clusterDocument_)
      CloseClusterDocument(*node->clusterDocument_);
  clusterDocument.session_.DropLevelSelection();
  clusterDocument.ForgetRepresentingNode();
  // Nodes and arrows drawn in the window now count as drawn in the top level.
  for (auto& node : top.nodes_)
    if (node->document_ == &clusterDocument) node->document_ = &top;
  for (auto& arrow : top.arrows_)
    if (arrow->document_ == &clusterDocument) arrow->document_ = &top;
  if (top.clusterClosingHandler_) top.clusterClosingHandler_(clusterDocument);
  std::erase_if(top.clusterDocuments_, [&](const auto& d) { return d.get() == &clusterDocument; });
}

void CWorkflowDoc::SetClusterClosingHandler(std::function<void(CWorkflowDoc&)> handler) {
  top_->clusterClosingHandler_ = std::move(handler);
}

void CWorkflowDoc::PrepareClose() {
  if (!IsTopDocument()) return;
  ForgetRepresentingNode();
  session_.DropLevelSelection();
  while (!clusterDocuments_.empty()) CloseClusterDocument(*clusterDocuments_.front());
}

void CWorkflowDoc::ForgetRepresentingNode() {
  if (representingNode_ && representingNode_->clusterDocument_ == this)
    representingNode_->clusterDocument_ = nullptr;
  if (IsTopDocument()) representingNode_ = nullptr;
}

// ---- Sub-workflows ----

void CWorkflowDoc::SetSubWorkflowId(CNode& node, std::string workflowId) {
  node.subWorkflowId_ = std::move(workflowId);
}

void CWorkflowDoc::LinkSubWorkflow(CNode& node, CWorkflowDoc& subWorkflow) {
  if (!subWorkflow.IsTopDocument() || &subWorkflow == top_) return;
  if (subWorkflow.representingNode_) subWorkflow.ForgetRepresentingNode();
  node.clusterDocument_ = &subWorkflow;
  subWorkflow.representingNode_ = &node;
}

}  // namespace velk
