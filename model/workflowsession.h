#pragma once
// The editing session of one workflow document: what one window adds to the
// model while the designer works on it. That is the window's selection, its
// modified flag and title, and (for the top document) the undo history all
// windows of the workflow share.
//
// Every document owns its session (CWorkflowDoc::Session()). The document tells
// the sessions of its workflow when a node or arrow goes, so that no selection
// ever holds a deleted one.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;
class UndoHistory;

class WorkflowSession {
 public:
  // The session of `document`, which owns it; a top document's session starts
  // the workflow's undo history.
  explicit WorkflowSession(CWorkflowDoc& document);
  ~WorkflowSession();
  WorkflowSession(const WorkflowSession&) = delete;
  WorkflowSession& operator=(const WorkflowSession&) = delete;

  CWorkflowDoc& Document() const { return document_; }

  // ---- Selection of this window ----
  const std::vector<CNode*>& SelectedNodes() const { return selectedNodes_; }
  const std::vector<CArrow*>& SelectedArrows() const { return selectedArrows_; }
  void SelectNode(CNode& node, bool addToSelection = false);
  void DeselectNode(CNode& node);
  void DeselectAllNodes();
  void SelectArrow(CArrow& arrow, bool addToSelection = false);
  void DeselectArrow(CArrow& arrow);
  void DeselectAllArrows();
  void DeselectAll();
  void SelectAllNodes();
  // The selected nodes CWorkflowDoc::NeedsConfirmationToDelete holds true for.
  std::vector<CNode*> SelectionNeedingConfirmation() const;
  // Deletes the selected nodes but `spared`, then the selected arrows.
  void DeleteSelection(const std::vector<CNode*>& spared = {});

  // Called by the document: the node or arrow is going, or the whole selection of
  // the window's level is (the level closes, the graph is replaced).
  void ForgetNode(const CNode& node);
  void ForgetArrow(const CArrow& arrow);
  void DropLevelSelection();

  // ---- Modified flag and window title ----
  bool IsModified() const { return modified_; }
  // Marks this document and, for a cluster document, its top document too, so that
  // closing the workflow asks to save changes made in any of its windows.
  void SetModified();
  // After a save: clears the flag of the top document and all cluster documents.
  void ClearModified();
  // "%s v%d (%s)" [" subflow: " name of the cluster node] [" *"].
  std::string Title() const;
  // Asked before a modified top document closes.
  std::string SaveChangesQuestion() const;
  bool NeedsSaveQuestion() const;
  // Called with the document whenever its title may have changed.
  void SetTitleHandler(std::function<void(CWorkflowDoc&)> handler);
  void RefreshTitle();

  // ---- Undo (model/workflowundo.h) ----
  // The workflow's one history, shared by all its windows; loading clears it.
  UndoHistory& History() const;
  const std::shared_ptr<UndoHistory>& SharedHistory() const;

 private:
  std::vector<WorkflowSession*> SessionsOfWorkflow() const;

  CWorkflowDoc& document_;
  std::vector<CNode*> selectedNodes_;
  std::vector<CArrow*> selectedArrows_;
  bool modified_ = false;
  std::function<void(CWorkflowDoc&)> titleHandler_;
  std::shared_ptr<UndoHistory> history_;  // top document only
};

}  // namespace velk
