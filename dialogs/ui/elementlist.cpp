#include "dialogs/ui/elementlist.h"

#include <QMenu>

#include "common/services.h"
#include "dialogs/performer.h"
#include "dialogs/ui/aclpickerdialog.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

CElementList::CElementList(velk::Services& services, const velk::RepositoryLists& lists,
                           QString addText, QString deleteText, DeleteEnabled rule, QWidget* parent)
    : QListWidget(parent),
      services_(services),
      lists_(lists),
      addText_(std::move(addText)),
      deleteText_(std::move(deleteText)),
      rule_(rule) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setIconSize(kDialogIconSize);
  SetListContextMenu(this, [this] { return CreateContextMenu(this); });
}

void CElementList::SetNames(const std::vector<std::string>& names) {
  velk::TransferEntries entries;
  for (const std::string& name : names)
    entries.push_back({name, static_cast<int>(velk::LookupElementKind(lists_, name))});
  ShowElements(this, entries);
}

std::vector<std::string> CElementList::Names() const {
  return ListTexts(this);
}

QMenu* CElementList::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(addText_, this, &CElementList::AddItems);
  QAction* remove = menu->addAction(deleteText_, this, &CElementList::DeleteSelectedItems);
  remove->setEnabled(rule_ == DeleteEnabled::WhileNotEmpty ? count() > 0
                                                           : !selectedItems().isEmpty());
  return menu;
}

void CElementList::AddItems() {
  CDlgAccessControlList picker(services_, lists_, this, window());
  picker.exec();
}

void CElementList::DeleteSelectedItems() {
  const int selected = static_cast<int>(SelectedRows(this).size());
  if (selected == 0) return;
  const velk::MsgResult answer = services_.messageBox(
      velk::RemoveItemsQuestion(selected), velk::MsgIcon::Question, velk::MsgButtons::YesNo);
  if (answer == velk::MsgResult::Yes) RemoveSelected(this);
}
