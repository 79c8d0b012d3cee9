#pragma once
// "Add New Forms": picks application forms into a form list of the "Forms" page.

#include "dialogs/ui/transferdialog.h"

class CDlgAddNewForms : public CTransferDialog {
  Q_OBJECT
 public:
  // `available`: the forms offered, in this order. `target` is changed only on OK.
  CDlgAddNewForms(velk::Services& services, const std::vector<std::string>& available,
                  QListWidget* target, QWidget* parent = nullptr);

  void accept() override;

 protected:
  velk::TransferLists& Model() override { return lists_; }
  void MoveToAvailable(const std::vector<int>& rows) override {
    lists_.MoveToAvailable(rows, nullptr);
  }
  void MoveAllToAvailable() override { lists_.MoveAllToAvailable(nullptr); }
  QIcon IconOf(const velk::TransferEntry& entry) const override;

 private:
  QListWidget* target_;
  velk::TransferLists lists_;
};
