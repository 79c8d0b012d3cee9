#include "dialogs/ui/addnewforms.h"

#include <QListWidget>

#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

CDlgAddNewForms::CDlgAddNewForms(velk::Services& services,
                                 const std::vector<std::string>& available, QListWidget* target,
                                 QWidget* parent)
    : CTransferDialog(services, QStringLiteral("Add New Forms"), parent), target_(target) {
  for (const std::string& name : available) lists_.available.push_back({name, 0});
  ShowModel();
}

QIcon CDlgAddNewForms::IconOf(const velk::TransferEntry&) const {
  return DialogIconOf(DialogIcon::Form);
}

void CDlgAddNewForms::accept() {
  velk::TransferEntries entries;
  for (const std::string& name : ListTexts(target_)) entries.push_back({name, 0});
  velk::CommitToTarget(lists_.added, velk::CommitOrder::Kept, entries);
  target_->clear();
  for (const velk::TransferEntry& entry : entries) AddListItem(target_, entry.name, IconOf(entry));
  QDialog::accept();
}
