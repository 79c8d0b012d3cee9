#pragma once
// The comparison of two versions of a workflow as an MDI window: both drawn side
// by side on one scale, scrolled and zoomed together, the changes coloured, and
// the list of changes beside them; a change chosen there is selected and shown
// in both drawings. A stored version alone is shown read-only the same way.

#include <QListWidget>
#include <memory>

#include "app/ui/mdichild.h"
#include "editor/ui/comparisonpicture.h"
#include "model/workflowdiff.h"

class CLevelPane;
class CNodeBitmaps;

namespace velk {
class CWorkflowDoc;
}

class CComparisonWindow : public CMdiChild {
  Q_OBJECT
 public:
  // Compares `older` with `newer`; the captions name each version. The window
  // keeps both workflows and changes nothing in them but what is selected.
  CComparisonWindow(std::shared_ptr<velk::CWorkflowDoc> older, const QString& olderCaption,
                    std::shared_ptr<velk::CWorkflowDoc> newer, const QString& newerCaption,
                    const CNodeBitmaps& bitmaps, QWidget* parent = nullptr);
  ~CComparisonWindow() override;

  MenuSet Menus() const override { return MenuSet::Workflow; }
  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

  const velk::WorkflowDiff& Diff() const { return diff_; }
  QListWidget* Changes() const { return changes_; }
  CLevelPane* OlderPane() const { return older_; }
  CLevelPane* NewerPane() const { return newer_; }
  // Selects and shows change `index` of the list in both drawings.
  void ShowChange(int index);

 private:
  void SetZoom(double zoom);
  // Both canvases cover what either level shown uses.
  void FitCanvases();
  void CoupleScrolling();

  std::shared_ptr<velk::CWorkflowDoc> olderDoc_, newerDoc_;
  velk::WorkflowDiff diff_;
  ComparisonMarks olderMarks_, newerMarks_;
  CLevelPane* older_ = nullptr;
  CLevelPane* newer_ = nullptr;
  QListWidget* changes_ = nullptr;
  double zoom_ = 1.0;
};

// A stored version in a window of its own that only shows it.
class CVersionWindow : public CMdiChild {
  Q_OBJECT
 public:
  CVersionWindow(std::shared_ptr<velk::CWorkflowDoc> version, const CNodeBitmaps& bitmaps,
                 QWidget* parent = nullptr);
  ~CVersionWindow() override;

  MenuSet Menus() const override { return MenuSet::Workflow; }
  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;
  CLevelPane* Pane() const { return pane_; }

 private:
  void Fit();

  std::shared_ptr<velk::CWorkflowDoc> doc_;
  CLevelPane* pane_ = nullptr;
  double zoom_ = 1.0;
};
