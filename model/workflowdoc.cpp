#include "model/workflowdoc.h"

#include <algorithm>
#include <cstdio>

#include "model/workflowundo.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {
template <class T>
void Erase(std::vector<T*>& list, const T* item) {
  std::erase(list, item);
}
}  // namespace

CWorkflowDoc::CWorkflowDoc(Services& services, std::string currentUserName, std::string today)
    : services_(services), top_(this), history_(std::make_shared<UndoHistory>(this)) {
  header_.validFrom = std::move(today);
  header_.user = std::move(currentUserName);
}

CWorkflowDoc::CWorkflowDoc(ClusterTag, CWorkflowDoc& top, CNode& clusterNode)
    : services_(top.services_),
      top_(&top),
      level_(clusterNode.representsCluster_),
      representingNode_(&clusterNode),
      startNode_(clusterNode.clusterStartNode_),
      endNode_(clusterNode.clusterEndNode_) {}

CWorkflowDoc::~CWorkflowDoc() {
  if (!IsTopDocument()) return;
  history_->ForgetOwner();
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

std::vector<CWorkflowDoc*> CWorkflowDoc::DocumentsOfWorkflow() {
  std::vector<CWorkflowDoc*> docs = ClusterDocuments();
  docs.insert(docs.begin(), top_);
  return docs;
}

void CWorkflowDoc::SetHeader(WorkflowHeader header) {
  top_->header_ = std::move(header);
}

// ---- Modified flag and title ----

// Every window of a workflow shows " *" once the workflow is modified; the
// document's own flag says which windows to ask about saving.
void CWorkflowDoc::SetModified() {
  const bool workflowWas = top_->modified_;
  modified_ = true;
  top_->modified_ = true;
  if (workflowWas) return;  // every title shows it already
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) doc->RefreshTitle();
}

void CWorkflowDoc::ClearModified() {
  top_->history_->MarkSaved();
  const bool workflowWas = top_->modified_;
  for (CWorkflowDoc* doc : DocumentsOfWorkflow()) {
    doc->modified_ = false;
    if (workflowWas) doc->RefreshTitle();
  }
}

std::string ShownName(const std::string& name) {
  constexpr std::size_t kLongest = 200;
  if (name.size() <= kLongest) return name;
  std::size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // UTF-8
  return name.substr(0, cut) + "...";
}

namespace {
std::string NameVersionStatus(const WorkflowHeader& header) {
  char version[16];
  std::snprintf(version, sizeof version, " v%d (", header.version);
  return ShownName(header.name) + version +
         WorkflowStatusToWord(static_cast<int>(header.status)) + ")";
}
}  // namespace

std::string CWorkflowDoc::Title() const {
  std::string title = NameVersionStatus(Header());
  if (IsClusterDocument() && representingNode_)
    title += " subflow: " + ShownName(representingNode_->Name());
  if (modified_ || top_->modified_) title += " *";
  return title;
}

std::string CWorkflowDoc::SaveChangesQuestion() const {
  return "Save changes in " + NameVersionStatus(Header()) + " ";
}

void CWorkflowDoc::SetTitleHandler(std::function<void(CWorkflowDoc&)> handler) {
  titleHandler_ = std::move(handler);
}

void CWorkflowDoc::RefreshTitle() {
  if (titleHandler_) titleHandler_(*this);
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
  clusterDocument.DropLevelSelection();
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
  DropLevelSelection();
  while (!clusterDocuments_.empty()) CloseClusterDocument(*clusterDocuments_.front());
}

void CWorkflowDoc::ForgetRepresentingNode() {
  if (representingNode_ && representingNode_->clusterDocument_ == this)
    representingNode_->clusterDocument_ = nullptr;
  if (IsTopDocument()) representingNode_ = nullptr;
}

void CWorkflowDoc::DropLevelSelection() {
  for (CNode* node : LevelNodes()) {
    node->selected_ = false;
    for (CArrow* arrow : node->outgoing_) arrow->selected_ = false;
  }
  selectedNodes_.clear();
  selectedArrows_.clear();
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

// ---- Selection ----

void CWorkflowDoc::SelectNode(CNode& node, bool addToSelection) {
  if (!addToSelection) DeselectAllNodes();
  if (std::ranges::find(selectedNodes_, &node) != selectedNodes_.end()) return;
  node.selected_ = true;
  selectedNodes_.push_back(&node);
}

void CWorkflowDoc::DeselectNode(CNode& node) {
  node.selected_ = false;
  Erase(selectedNodes_, &node);
}

void CWorkflowDoc::DeselectAllNodes() {
  for (CNode* node : selectedNodes_) node->selected_ = false;
  selectedNodes_.clear();
}

void CWorkflowDoc::SelectArrow(CArrow& arrow, bool addToSelection) {
  if (!addToSelection) DeselectAllArrows();
  if (std::ranges::find(selectedArrows_, &arrow) != selectedArrows_.end()) return;
  arrow.selected_ = true;
  selectedArrows_.push_back(&arrow);
}

void CWorkflowDoc::DeselectArrow(CArrow& arrow) {
  arrow.selected_ = false;
  Erase(selectedArrows_, &arrow);
}

void CWorkflowDoc::DeselectAllArrows() {
  for (CArrow* arrow : selectedArrows_) arrow->selected_ = false;
  selectedArrows_.clear();
}

void CWorkflowDoc::DeselectAll() {
  DeselectAllNodes();
  DeselectAllArrows();
}

void CWorkflowDoc::SelectAllNodes() {
  for (CNode* node : LevelNodes()) SelectNode(*node, true);
}

}  // namespace velk
