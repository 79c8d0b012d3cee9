#pragma once
// "Version History..." and "Compare with Stored Version" of the active workflow:
// the stored versions of the workflow to open read-only or to compare, and the
// open workflow, saved or not, against the version it was loaded from or last
// saved as.

#include <functional>
#include <memory>
#include <string>

class CMainFrame;
class CMdiChild;
class CNodeBitmaps;

namespace velk {
class CProcessDefDb;
class CWorkflowDoc;
class Services;
struct WorkflowHeaderEntry;
}  // namespace velk

class CVersionCommands {
 public:
  struct Parts {
    // The top document of the active workflow window, or null.
    std::function<velk::CWorkflowDoc*()> activeWorkflow;
    // The repository holding the workflow's versions; null when it could not be
    // loaded (reported).
    std::function<velk::CProcessDefDb*(velk::CWorkflowDoc&)> repositoryOf;
    // A stored version in a new document; null when it could not be loaded (reported).
    std::function<std::shared_ptr<velk::CWorkflowDoc>(const velk::WorkflowHeaderEntry&)>
        loadVersion;
  };

  CVersionCommands(CMainFrame& frame, velk::Services& services, const CNodeBitmaps& bitmaps,
                   Parts parts);

  void ShowHistory();
  void CompareWithStored();

 private:
  void OpenReadOnly(const velk::WorkflowHeaderEntry& version);
  void Compare(const velk::WorkflowHeaderEntry& older, const velk::WorkflowHeaderEntry& newer);
  void AddWindow(CMdiChild* window);
  void Tell(const std::string& text);

  CMainFrame& frame_;
  velk::Services& services_;
  const CNodeBitmaps& bitmaps_;
  Parts parts_;
};
