#pragma once
// "Load workflow" and "Save Workflow as": the stored workflow versions of the
// Process Definitions Database, to open one or to name a workflow.

#include <QDialog>

#include "dialogs/workflowchooser.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

class CDlgLoadWorkflow : public QDialog {
  Q_OBJECT
 public:
  // Reads the headers of `repository` at once.
  explicit CDlgLoadWorkflow(velk::CProcessDefDb& repository, QWidget* parent = nullptr);

  // The stored version chosen with OK.
  const velk::WorkflowHeaderEntry& Chosen() const { return chosen_; }
  QComboBox* FilterBox() const { return filter_; }
  QTreeWidget* Tree() const { return tree_; }
  void accept() override;

 private:
  void FillTree();

  velk::LoadWorkflowChooser chooser_;
  velk::WorkflowHeaderEntry chosen_;
  QLabel* database_;
  QComboBox* filter_;
  QTreeWidget* tree_;
};

class CDlgSaveWorkflowAs : public QDialog {
  Q_OBJECT
 public:
  // `doc` may be null; the dialog then says so and lists nothing.
  CDlgSaveWorkflowAs(velk::Services& services, velk::CWorkflowDoc* doc, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return name_; }
  QListWidget* Versions() const { return versions_; }
  void accept() override;

 private:
  velk::SaveWorkflowAsChooser chooser_;
  QLabel* database_;
  QLineEdit* name_;
  QListWidget* versions_;
};
