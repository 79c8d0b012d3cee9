#include "dialogs/ui/transferdialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "common/services.h"
#include "app/ui/guiservices.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

namespace {

QListWidget* NewList(const char* name) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(name));
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setIconSize(kDialogIconSize);
  list->setMinimumSize(300, 240);
  return list;
}

// Wide enough for the longest entry beside the scroll bar, so that names are
// read whole rather than scrolled sideways; a few very long ones may still scroll.
void FitWidthToEntries(QListWidget* list) {
  constexpr int kMinimum = 300, kMaximum = 480;
  const int wanted = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                     list->verticalScrollBar()->sizeHint().width();
  list->setMinimumWidth(std::clamp(wanted, kMinimum, kMaximum));
}

QVBoxLayout* Labelled(const QString& text, QListWidget* list) {
  auto* layout = new QVBoxLayout;
  auto* label = new QLabel(text);
  label->setBuddy(list);
  layout->addWidget(label);
  layout->addWidget(list, 1);
  return layout;
}

}  // namespace

CTransferDialog::CTransferDialog(velk::Services& services, const QString& title, QWidget* parent)
    : QDialog(parent),
      services_(services),
      top_(new QVBoxLayout),
      available_(NewList("available")),
      added_(NewList("added")),
      add_(new QPushButton(QStringLiteral(">"))),
      remove_(new QPushButton(QStringLiteral("<"))),
      removeAll_(new QPushButton(QStringLiteral("<<"))) {
  setWindowTitle(title);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {add_, remove_, removeAll_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();

  auto* lists = new QHBoxLayout;
  lists->addLayout(Labelled(QStringLiteral("Available:"), available_), 1);
  lists->addLayout(buttons);
  lists->addLayout(Labelled(QStringLiteral("Added:"), added_), 1);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  UseAbbrechen(box);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top_);
  layout->addLayout(lists, 1);
  layout->addWidget(box);

  connect(add_, &QPushButton::clicked, this, [this] {
    MoveToAdded(SelectedRows(available_));
    ShowModel();
  });
  connect(remove_, &QPushButton::clicked, this, [this] {
    MoveToAvailable(SelectedRows(added_));
    ShowModel();
  });
  connect(removeAll_, &QPushButton::clicked, this, &CTransferDialog::OnRemoveAll);
}

void CTransferDialog::OnRemoveAll() {
  const velk::MsgResult answer = services_.messageBox(
      velk::kRemoveFromListQuestion, velk::MsgIcon::Question, velk::MsgButtons::YesNo);
  if (answer != velk::MsgResult::Yes) return;
  MoveAllToAvailable();
  ShowModel();
}

void CTransferDialog::ShowModel() {
  const velk::TransferLists& model = Model();
  for (auto [list, entries] :
       {std::pair{available_, &model.available}, std::pair{added_, &model.added}}) {
    list->clear();
    for (const velk::TransferEntry& entry : *entries)
      list->addItem(new QListWidgetItem(IconOf(entry), ToQ(entry.name)));
    FitWidthToEntries(list);
  }
  add_->setEnabled(model.CanAdd());
  remove_->setEnabled(model.CanRemove());
  removeAll_->setEnabled(model.CanRemove());
}
