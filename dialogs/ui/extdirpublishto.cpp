#include "dialogs/ui/extdirpublishto.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"
#include "extdir/extdiritems.h"

namespace {

constexpr int kPublishSelective = 2;

}  // namespace

CDlgExtDirPublishTo::CDlgExtDirPublishTo(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree), mode_(NewComboBox("publishTo", false)), list_(new QListWidget) {
  mode_->addItems({QStringLiteral("Publish to all"), QStringLiteral("Publish to WWW"),
                   QStringLiteral("Publish selective")});
  list_->setObjectName(QStringLiteral("organisations"));
  list_->setSortingEnabled(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setIconSize(kDialogIconSize);
  list_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  SetListContextMenu(list_, [this] { return CreateContextMenu(list_); });
  auto* group = new QGroupBox(QStringLiteral("Publish Item To:"));
  auto* box = new QVBoxLayout(group);
  box->addWidget(mode_);
  box->addWidget(list_);
  (new QVBoxLayout(this))->addWidget(group);
  connect(mode_, &QComboBox::currentIndexChanged, this,
          [this](int index) { list_->setEnabled(index == kPublishSelective); });
}

void CDlgExtDirPublishTo::OnInitPage() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  mode_->setCurrentIndex(leaf.PublishTo >= 0 && leaf.PublishTo <= kPublishSelective ? leaf.PublishTo
                                                                                     : -1);
  // The readers are listed whatever the mode, so that switching modes loses none.
  for (const std::string& reader : leaf.PublishReader) {
    QListWidgetItem* entry = AddListItem(list_, reader, DialogIconOf(DialogIcon::Organisation));
    entry->setFlags(entry->flags() | Qt::ItemIsEditable);
  }
  list_->setEnabled(mode_->currentIndex() == kPublishSelective);
}

QMenu* CDlgExtDirPublishTo::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Add Organization"), this,
                  &CDlgExtDirPublishTo::AddOrganisation);
  menu->addAction(QStringLiteral("&Delete Organizations"), this,
                  &CDlgExtDirPublishTo::DeleteOrganisations);
  return menu;
}

void CDlgExtDirPublishTo::AddOrganisation() {
  QListWidgetItem* entry =
      AddListItem(list_, "New Organization Name", DialogIconOf(DialogIcon::Organisation));
  entry->setFlags(entry->flags() | Qt::ItemIsEditable);
  list_->setCurrentItem(entry);
  list_->editItem(entry);
}

void CDlgExtDirPublishTo::DeleteOrganisations() {
  RemoveSelected(list_);
}

void CDlgExtDirPublishTo::Apply() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  if (mode_->currentIndex() >= 0) leaf.PublishTo = mode_->currentIndex();
  leaf.PublishReader.clear();
  for (const std::string& reader : ListTexts(list_))
    if (!reader.empty()) leaf.PublishReader.push_back(reader);
  leaf.SetModified();
}

CDlgExtDirLeafReference::CDlgExtDirLeafReference(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree) {
  auto* list = new QListWidget;
  list->setObjectName(QStringLiteral("referenceWorkflows"));
  auto* group = new QGroupBox(QStringLiteral("Reference Workflows"));
  (new QVBoxLayout(group))->addWidget(list);
  (new QVBoxLayout(this))->addWidget(group);
}
