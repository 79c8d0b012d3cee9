#include "model/workflowsession.h"

#include <algorithm>
#include <cstdio>

#include "model/workflowdoc.h"
#include "model/workflowundo.h"
#include "repository/vocabulary.h"

namespace velk {

WorkflowSession::WorkflowSession(CWorkflowDoc& document) : document_(document) {
  if (document.IsTopDocument()) history_ = std::make_shared<UndoHistory>(&document);
}

// An edit scope may hold the history beyond the workflow: it must find no owner.
WorkflowSession::~WorkflowSession() {
  if (history_) history_->ForgetOwner();
}

std::vector<WorkflowSession*> WorkflowSession::SessionsOfWorkflow() const {
  std::vector<WorkflowSession*> sessions;
  for (CWorkflowDoc* doc : document_.DocumentsOfWorkflow()) sessions.push_back(&doc->Session());
  return sessions;
}

// ---- Selection ----

void WorkflowSession::SelectNode(CNode& node, bool addToSelection) {
  if (!addToSelection) DeselectAllNodes();
  if (std::ranges::find(selectedNodes_, &node) != selectedNodes_.end()) return;
  node.selected_ = true;
  selectedNodes_.push_back(&node);
}

void WorkflowSession::DeselectNode(CNode& node) {
  node.selected_ = false;
  std::erase(selectedNodes_, &node);
}

void WorkflowSession::DeselectAllNodes() {
  for (CNode* node : selectedNodes_) node->selected_ = false;
  selectedNodes_.clear();
}

void WorkflowSession::SelectArrow(CArrow& arrow, bool addToSelection) {
  if (!addToSelection) DeselectAllArrows();
  if (std::ranges::find(selectedArrows_, &arrow) != selectedArrows_.end()) return;
  arrow.selected_ = true;
  selectedArrows_.push_back(&arrow);
}

void WorkflowSession::DeselectArrow(CArrow& arrow) {
  arrow.selected_ = false;
  std::erase(selectedArrows_, &arrow);
}

void WorkflowSession::DeselectAllArrows() {
  for (CArrow* arrow : selectedArrows_) arrow->selected_ = false;
  selectedArrows_.clear();
}

void WorkflowSession::DeselectAll() {
  DeselectAllNodes();
  DeselectAllArrows();
}

void WorkflowSession::SelectAllNodes() {
  for (CNode* node : document_.LevelNodes()) SelectNode(*node, true);
}

std::vector<CNode*> WorkflowSession::SelectionNeedingConfirmation() const {
  std::vector<CNode*> asking;
  for (CNode* node : selectedNodes_)
    if (document_.NeedsConfirmationToDelete(*node)) asking.push_back(node);
  return asking;
}

void WorkflowSession::DeleteSelection(const std::vector<CNode*>& spared) {
  // Deleting a node takes it (and its arrows) out of every selection: work on copies.
  for (CNode* node : std::vector<CNode*>(selectedNodes_))
    if (document_.ContainsNode(node) && std::ranges::find(spared, node) == spared.end())
      document_.DeleteNode(*node);
  for (CArrow* arrow : std::vector<CArrow*>(selectedArrows_))
    if (std::ranges::any_of(document_.AllArrows(), [arrow](const CArrow* a) { return a == arrow; }))
      document_.DeleteArrow(*arrow);
}

void WorkflowSession::ForgetNode(const CNode& node) {
  std::erase(selectedNodes_, &node);
}

void WorkflowSession::ForgetArrow(const CArrow& arrow) {
  std::erase(selectedArrows_, &arrow);
}

void WorkflowSession::DropLevelSelection() {
  for (CNode* node : document_.LevelNodes()) {
    node->selected_ = false;
    for (CArrow* arrow : node->outgoing_) arrow->selected_ = false;
  }
  selectedNodes_.clear();
  selectedArrows_.clear();
}

// ---- Modified flag and title ----

// Every window of a workflow shows " *" once the workflow is modified; the
// session's own flag says which windows to ask about saving.
void WorkflowSession::SetModified() {
  WorkflowSession& top = document_.Top().Session();
  const bool workflowWas = top.modified_;
  modified_ = true;
  top.modified_ = true;
  if (workflowWas) return;  // every title shows it already
  for (WorkflowSession* session : SessionsOfWorkflow()) session->RefreshTitle();
}

void WorkflowSession::ClearModified() {
  History().MarkSaved();
  const bool workflowWas = document_.Top().Session().modified_;
  for (WorkflowSession* session : SessionsOfWorkflow()) {
    session->modified_ = false;
    if (workflowWas) session->RefreshTitle();
  }
}

namespace {
std::string NameVersionStatus(const WorkflowHeader& header) {
  char version[16];
  std::snprintf(version, sizeof version, " v%d (", header.version);
  return ShownName(header.name) + version + WorkflowStatusToWord(static_cast<int>(header.status)) +
         ")";
}
}  // namespace

std::string WorkflowSession::Title() const {
  std::string title = NameVersionStatus(document_.Header());
  const CNode* clusterNode = document_.RepresentingNode();
  if (document_.IsClusterDocument() && clusterNode)
    title += " subflow: " + ShownName(clusterNode->Name());
  if (modified_ || document_.Top().Session().modified_) title += " *";
  return title;
}

std::string WorkflowSession::SaveChangesQuestion() const {
  return "Save changes in " + NameVersionStatus(document_.Header()) + " ";
}

bool WorkflowSession::NeedsSaveQuestion() const {
  return document_.IsTopDocument() && modified_;
}

void WorkflowSession::SetTitleHandler(std::function<void(CWorkflowDoc&)> handler) {
  titleHandler_ = std::move(handler);
}

void WorkflowSession::RefreshTitle() {
  if (titleHandler_) titleHandler_(document_);
}

// ---- Undo ----

UndoHistory& WorkflowSession::History() const {
  return *SharedHistory();
}

const std::shared_ptr<UndoHistory>& WorkflowSession::SharedHistory() const {
  return document_.Top().Session().history_;
}

}  // namespace velk
