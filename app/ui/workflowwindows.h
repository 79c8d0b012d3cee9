#pragma once
// The workflow windows of the main frame: a window per top-level workflow, one
// per open cluster level, the question before a modified workflow closes, and
// Save / Save As of the active window's workflow.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "model/workflowsaver.h"

class CChildFrame;
class CDocTemplate;
class CEditor;
class CMainFrame;

namespace velk {
class CNode;
class CWorkflowDoc;
}  // namespace velk

class CWorkflowWindows : public QObject {
  Q_OBJECT
 public:
  // `chooseName` is "Save Workflow as"; `saver` stores workflows and its External
  // Directory lookup serves the consistency check.
  CWorkflowWindows(CMainFrame& frame, CDocTemplate& workflowTemplate, CEditor& editor,
                   velk::ChooseSaveName chooseName, velk::WorkflowSaver& saver);

  // A window on the top document `doc`.
  CChildFrame* OpenTopWindow(std::shared_ptr<velk::CWorkflowDoc> doc);
  // Shows the window of the cluster node's level, opening it the first time.
  void OpenClusterWindow(velk::CWorkflowDoc& from, velk::CNode& clusterNode);
  // The window showing `doc`, if any.
  CChildFrame* FindWindow(const velk::CWorkflowDoc& doc) const;
  // Makes the window the active one, on top and repainted.
  void ShowWindow(CChildFrame& window);
  // Save (saveAs false) or Save As of the active window's workflow.
  bool SaveActive(bool saveAs);
  // "&Consistency check" of the active window's document; shows the Info Center.
  void CheckActive();
  // The active workflow window, if any.
  CChildFrame* ActiveWindow() const;
  // The workflows of the open top-level windows.
  std::vector<velk::CWorkflowDoc*> TopDocuments() const;

 signals:
  void workflowStored(const velk::CWorkflowDoc& top);
  // Right before the top document's window closes.
  void workflowClosing(const velk::CWorkflowDoc& top);

 private:
  CChildFrame* AddWindow(std::shared_ptr<velk::CWorkflowDoc> doc);
  bool Save(velk::CWorkflowDoc& doc, bool saveAs);
  // The question before a modified workflow closes; false keeps the window.
  bool MayClose(CChildFrame& window);
  void CloseWindowOf(velk::CWorkflowDoc& clusterDocument);

  CMainFrame& frame_;
  CDocTemplate& template_;
  CEditor& editor_;
  velk::ChooseSaveName chooseName_;
  velk::WorkflowSaver& saver_;
};
