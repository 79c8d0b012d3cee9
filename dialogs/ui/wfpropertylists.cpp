// "Initiator" and "Replication" of the workflow settings sheet: the pages with
// lists edited through context menus.
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs/listtexts.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/wfpropertypages.h"
#include "dialogs/workflowsettings.h"

namespace {

constexpr char kNewOrganization[] = "New Organization";

QGroupBox* Group(const QString& title, QWidget* content) {
  auto* group = new QGroupBox(title);
  auto* box = new QVBoxLayout(group);
  box->addWidget(content);
  return group;
}

}  // namespace

// ---- Initiator ----

CDlgWFPropertyDesignInfo::CDlgWFPropertyDesignInfo(const WorkflowSheetContext& context)
    : CWFPropertyPage(QStringLiteral("Initiator"), context),
      supervisor_(new QComboBox),
      designers_(new CElementList(
          context.document.UserInterface(), context.lists, QStringLiteral("&Add Designer"),
          QStringLiteral("&Delete Designers"), CElementList::DeleteEnabled::WhileSelected)),
      editors_(new CElementList(context.document.UserInterface(), context.lists,
                                QStringLiteral("&Add Editor"), QStringLiteral("&Delete Editors"),
                                CElementList::DeleteEnabled::WhileSelected)) {
  supervisor_->setEditable(true);
  supervisor_->setInsertPolicy(QComboBox::NoInsert);
  designers_->setToolTip(QStringLiteral("Right-click to add or delete designers"));
  editors_->setToolTip(QStringLiteral("Right-click to add or delete editors"));

  auto* lists = new QHBoxLayout;
  lists->addWidget(Group(QStringLiteral("Designer"), designers_));
  lists->addWidget(Group(QStringLiteral("Editor"), editors_));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(QStringLiteral("Supervisor"), supervisor_));
  layout->addLayout(lists, 1);
}

void CDlgWFPropertyDesignInfo::OnInitPage() {
  const velk::WorkflowHeader& h = Header();
  editors_->SetNames(h.editors);
  designers_->SetNames(h.designers);
  AddAll(supervisor_, context_.lists.persons, true);
  const int entry = velk::SupervisorEntry(ComboTexts(supervisor_), h.supervisor);
  supervisor_->setCurrentIndex(entry);
  if (entry < 0) supervisor_->setEditText(ToQ(h.supervisor));
}

void CDlgWFPropertyDesignInfo::OnOK() {
  velk::WorkflowHeader& h = Header();
  h.supervisor = FromQ(supervisor_->currentText());
  h.editors = editors_->Names();
  h.designers = designers_->Names();
}

// ---- Replication ----

CDlgWFPropertyReplicate::CDlgWFPropertyReplicate(const WorkflowSheetContext& context)
    : CWFPropertyPage(QStringLiteral("Replication"), context), partners_(new QListWidget) {
  partners_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  partners_->setSortingEnabled(true);
  partners_->setIconSize(kDialogIconSize);
  partners_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  partners_->setToolTip(QStringLiteral("Right-click to add or delete organizations"));
  SetListContextMenu(partners_, [this] { return CreateContextMenu(partners_); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(QStringLiteral("Replicate Workflow with"), partners_), 1);
}

QMenu* CDlgWFPropertyReplicate::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&New Organization"), this,
                  &CDlgWFPropertyReplicate::NewOrganization);
  QAction* remove = menu->addAction(QStringLiteral("&Delete Organizations"), this,
                                    &CDlgWFPropertyReplicate::DeleteOrganizations);
  remove->setEnabled(!partners_->selectedItems().isEmpty());
  return menu;
}

void CDlgWFPropertyReplicate::NewOrganization() {
  QListWidgetItem* item =
      AddListItem(partners_, kNewOrganization, DialogIconOf(DialogIcon::Organisation));
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  partners_->clearSelection();
  partners_->setCurrentItem(item);
  partners_->scrollToItem(item);
  partners_->editItem(item);
}

void CDlgWFPropertyReplicate::DeleteOrganizations() {
  RemoveSelected(partners_);
}

void CDlgWFPropertyReplicate::OnInitPage() {
  for (const std::string& partner : Header().replicationPartners) {
    QListWidgetItem* item = AddListItem(partners_, partner, DialogIconOf(DialogIcon::Organisation));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
  }
}

void CDlgWFPropertyReplicate::OnOK() {
  Header().replicationPartners = velk::NonEmpty(ListTexts(partners_));
}
