#pragma once
// "Access Control List": picks persons, workgroups, units and roles of the
// organisation into an element list of the calling page (the task's readers, the
// workflow's designers and editors).

#include "dialogs/aclpicker.h"
#include "dialogs/ui/transferdialog.h"

class QComboBox;

class CDlgAccessControlList : public CTransferDialog {
  Q_OBJECT
 public:
  // `target` keeps its entries' kinds (see dialoglists.h); it is changed only on OK.
  CDlgAccessControlList(velk::Services& services, const velk::RepositoryLists& lists,
                        QListWidget* target, QWidget* parent = nullptr);

  QComboBox* FilterBox() const { return filter_; }
  void accept() override;

 protected:
  velk::TransferLists& Model() override { return picker_.Lists(); }
  void MoveToAvailable(const std::vector<int>& rows) override { picker_.MoveToAvailable(rows); }
  void MoveAllToAvailable() override { picker_.MoveAllToAvailable(); }
  QIcon IconOf(const velk::TransferEntry& entry) const override;

 private:
  QListWidget* target_;
  velk::AclPicker picker_;
  QComboBox* filter_;
};
