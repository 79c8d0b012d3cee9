#include "dialogs/ui/resourcespage.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs/listtexts.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/selectresource.h"

CDlgNodePropertyResources::CDlgNodePropertyResources(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::Resources), list_(new QListWidget) {
  list_->setObjectName(QStringLiteral("resources"));
  list_->setSortingEnabled(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setIconSize(kDialogIconSize);
  auto* label = new QLabel(QStringLiteral("Resources for this task:"));
  label->setBuddy(list_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(list_, 1);

  SetListContextMenu(list_, [this] { return CreateContextMenu(this); });
}

void CDlgNodePropertyResources::OnInitPage() {
  for (const std::string& resource : velk::NonEmpty(NodeValues().resources))
    AddListItem(list_, resource, DialogIconOf(DialogIcon::Resource));
}

QMenu* CDlgNodePropertyResources::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Add Resource"), this, &CDlgNodePropertyResources::AddResource);
  menu->addAction(QStringLiteral("&Delete Resources"), this,
                  &CDlgNodePropertyResources::DeleteResources)
      ->setEnabled(list_->count() > 0);
  return menu;
}

void CDlgNodePropertyResources::AddResource() {
  CDlgSelectResource dialog(Lists().resources, ListTexts(list_), window());
  if (dialog.exec() != QDialog::Accepted || dialog.Chosen().empty()) return;
  AddListItem(list_, dialog.Chosen(), DialogIconOf(DialogIcon::Resource));
}

void CDlgNodePropertyResources::DeleteResources() {
  RemoveSelected(list_);
}

void CDlgNodePropertyResources::Apply(velk::NodeAttributes& attributes) {
  attributes.resources = velk::NonEmpty(ListTexts(list_));
}
