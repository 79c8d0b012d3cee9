#pragma once
// Content management: connects the fields of the task's forms with the needed
// fields of its GRI leaf. Direction 1 edits the node's "out" content-management
// fields (needed fields from the leaf's input side), direction 0 its "in" fields
// (from the leaf's output side).

#include "dialogs/contentmanagement.h"
#include "dialogs/ui/nodepropertypage.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class CDlgNodePropertyCM : public CNodePropertyPage {
  Q_OBJECT
 public:
  CDlgNodePropertyCM(const NodeSheetContext& context, int direction);

  int Direction() const { return direction_; }
  void Apply(velk::NodeAttributes& attributes) override;

  QComboBox* Type() const { return type_; }
  QListWidget* Blocks() const { return blocks_; }
  QListWidget* ContentFields() const { return contents_; }
  QListWidget* NeededFields() const { return needed_; }
  QPushButton* ConnectButton() const { return connect_; }
  QPushButton* DisconnectButton() const { return disconnect_; }

  void Connect();
  void Disconnect();
  void Reset();
  void ApplyTemplate();

 protected:
  void OnInitPage() override;

 private:
  const std::vector<std::string>& StoredList() const;
  void LoadNeededFields();
  void FillBlocks();
  void FillContents();
  void FillNeeded();
  // Refills the lists and selects the rows that were selected before.
  void Refill(int block, int content, int needed);
  std::string SelectedBlock() const;
  void UpdateButtons();
  void ApplyTypeRule();
  void ShowNeededDescription();

  int direction_;
  velk::ContentManagementState state_;
  QComboBox* type_;
  QListWidget* blocks_;
  QListWidget* contents_;
  QLabel* description_;
  QListWidget* needed_;
  QPushButton* reset_;
  QPushButton* connect_;
  QPushButton* disconnect_;
  QPushButton* template_;
};
