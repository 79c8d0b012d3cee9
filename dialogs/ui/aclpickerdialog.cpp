#include "dialogs/ui/aclpickerdialog.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

CDlgAccessControlList::CDlgAccessControlList(velk::Services& services,
                                             const velk::RepositoryLists& lists,
                                             QListWidget* target, QWidget* parent)
    : CTransferDialog(services, QStringLiteral("Access Control List"), parent),
      target_(target),
      picker_(lists, ElementEntries(target)),
      filter_(new QComboBox) {
  filter_->setObjectName(QStringLiteral("filter"));
  for (const std::string& text : velk::AclFilterTexts()) filter_->addItem(ToQ(text));
  auto* label = new QLabel(QStringLiteral("Filter display of available elements:"));
  label->setBuddy(filter_);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(filter_, 1);
  TopLayout()->addLayout(row);
  setTabOrder(filter_, AvailableList());

  connect(filter_, &QComboBox::currentIndexChanged, this, [this](int position) {
    picker_.SetFilter(position);
    ShowModel();
  });
  ShowModel();
}

QIcon CDlgAccessControlList::IconOf(const velk::TransferEntry& entry) const {
  return ElementIcon(entry.kind);
}

void CDlgAccessControlList::accept() {
  velk::TransferEntries entries = ElementEntries(target_);
  velk::CommitToTarget(picker_.Lists().added, velk::CommitOrder::Reversed, entries);
  ShowElements(target_, entries);
  QDialog::accept();
}
