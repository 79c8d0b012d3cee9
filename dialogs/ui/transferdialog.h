#pragma once
// The common frame of the two pickers ("Access Control List", "Add New Forms"):
// the lists "Available:" and "Added:", the buttons ">", "<", "<<", "OK" and
// "Abbrechen". Each picker keeps its rules in a headless model; this shows the
// model's lists and keeps the buttons' states.

#include <QDialog>

#include "common/services.h"
#include "dialogs/transferlists.h"

class QBoxLayout;
class QListWidget;
class QPushButton;

class CTransferDialog : public QDialog {
  Q_OBJECT
 public:
  QListWidget* AvailableList() const { return available_; }
  QListWidget* AddedList() const { return added_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }
  QPushButton* RemoveAllButton() const { return removeAll_; }

 protected:
  // "Remove all" asks through `services`.
  CTransferDialog(velk::Services& services, const QString& title, QWidget* parent);

  // Above the lists (the picker's filter).
  QBoxLayout* TopLayout() const { return top_; }
  virtual velk::TransferLists& Model() = 0;
  virtual void MoveToAdded(const std::vector<int>& rows) { Model().MoveToAdded(rows); }
  virtual void MoveToAvailable(const std::vector<int>& rows) = 0;
  virtual void MoveAllToAvailable() = 0;
  // Shows the model's lists with the icon of each entry and sets the buttons.
  void ShowModel();
  virtual QIcon IconOf(const velk::TransferEntry& entry) const = 0;

 private:
  void OnRemoveAll();

  velk::Services& services_;
  QBoxLayout* top_;
  QListWidget* available_;
  QListWidget* added_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* removeAll_;
};
