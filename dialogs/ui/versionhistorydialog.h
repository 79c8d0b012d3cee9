#pragma once
// "Version History": every stored version of a workflow, newest first, to open
// one read-only or to compare two.

#include <QDialog>
#include <vector>

#include "repository/versionhistory.h"

class QPushButton;
class QTreeWidget;

class CDlgVersionHistory : public QDialog {
  Q_OBJECT
 public:
  enum class Choice { None, Open, Compare };

  // `versions` newest first, as ReadVersionHistory gives them.
  CDlgVersionHistory(const std::string& workflowName, std::vector<velk::StoredVersion> versions,
                     QWidget* parent = nullptr);

  Choice Chosen() const { return choice_; }
  // Open: the version; Compare: the older, then the newer.
  const std::vector<velk::StoredVersion>& ChosenVersions() const { return chosen_; }

  QTreeWidget* List() const { return list_; }
  QPushButton* OpenButton() const { return open_; }
  QPushButton* CompareButton() const { return compare_; }

 private:
  void Choose(Choice choice);
  void UpdateButtons();
  // The selected rows, newest first.
  std::vector<int> SelectedRows() const;

  std::vector<velk::StoredVersion> versions_;
  std::vector<velk::StoredVersion> chosen_;
  Choice choice_ = Choice::None;
  QTreeWidget* list_;
  QPushButton* open_;
  QPushButton* compare_;
};
