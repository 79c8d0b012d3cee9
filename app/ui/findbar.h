#pragma once
// "Find...": a dockable bar over the workflow windows that searches the active
// window's workflow (every level, and the sub-workflows open from it) as the
// designer types, lists what it found
// and goes to it: opens the level's window, selects the task or arrow and
// scrolls it into view. Its second scope, "Find in Repository", searches every
// stored workflow and opens the chosen version. It registers Find, Find Next
// and Find Previous with the frame.

#include <QDockWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/workflowfind.h"
#include "repository/repositoryfind.h"

class CMainFrame;
class CWorkflowWindows;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace velk {
class CWorkflowDoc;
}

class CFindBar : public QDockWidget {
  Q_OBJECT
 public:
  // What the repository scope needs from the program; both must be set.
  struct Repository {
    // The stored workflows of the default Process Definitions Database, read
    // now; null when it cannot be read (the reason has been reported).
    std::function<std::unique_ptr<velk::RepositoryFindIndex>()> read;
    // Opens a stored version in a window of its own.
    std::function<void(const velk::StoredWorkflow&)> open;
  };
  enum Scope { ThisWorkflow, InRepository };

  CFindBar(CMainFrame& frame, CWorkflowWindows& windows, Repository repository);
  ~CFindBar() override;

  // Shows the bar with its text selected, ready for typing.
  void Open();
  // Goes to the result `delta` rows from the current one, round the list.
  void Step(int delta);
  QLineEdit* TextField() const { return text_; }
  QListWidget* Results() const { return list_; }
  QComboBox* ScopeBox() const { return scope_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The key of a workflow's state: a new index is built only when it differs.
  struct Stamp {
    const velk::CWorkflowDoc* top = nullptr;
    unsigned generation = 0;
    unsigned long revision = 0;
    bool operator==(const Stamp&) const = default;
  };
  // One workflow searched: the active window's, or a sub-workflow open from it,
  // whose results are named after the task it was opened from.
  struct Searched {
    std::shared_ptr<velk::CWorkflowDoc> workflow;
    std::string prefix;  // "Credit check"; "" for the active workflow
  };
  // The index and the results point into a workflow: they are used only while
  // it lives.
  struct Source {
    std::weak_ptr<velk::CWorkflowDoc> owner;
    std::unique_ptr<velk::WorkflowFindIndex> index;
    Stamp stamp;
    std::string prefix;
  };
  struct Found {
    std::size_t source = 0;
    velk::FindResult result;
  };
  // The active window's workflow, shared with its windows; null for none.
  std::shared_ptr<velk::CWorkflowDoc> ActiveWorkflow() const;
  std::vector<Searched> OpenWorkflows() const;
  std::vector<Stamp> StampsOf(const std::vector<Searched>& workflows) const;
  void BuildSources(const std::vector<Searched>& workflows);
  void BuildWidgets();
  static Stamp StampOf(const velk::CWorkflowDoc& top);
  // A new text starts at the first result; searching again keeps the row.
  void Search(bool keepRow);
  // Searches again when the active workflow is another or has changed since.
  void Refresh();
  void GoTo(int row);
  void SearchRepository();
  void OpenStored(int row);
  Scope CurrentScope() const;

  CMainFrame& frame_;
  CWorkflowWindows& windows_;
  QLineEdit* text_ = nullptr;
  QListWidget* list_ = nullptr;
  QComboBox* scope_ = nullptr;
  Repository repository_;
  // Read when the repository scope is chosen, kept while the designer types.
  std::unique_ptr<velk::RepositoryFindIndex> stored_;
  std::vector<velk::RepositoryHit> storedHits_;
  std::vector<Source> sources_;
  std::vector<Stamp> searched_;
  std::vector<Found> results_;
};
