#include "dialogs/ui/activitiespage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "common/services.h"
#include "dialogs/listtexts.h"
#include "dialogs/tasklistpages.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

namespace {

QListWidgetItem* AddActivityItem(QListWidget* list, const std::string& text) {
  QListWidgetItem* item = AddListItem(list, text, DialogIconOf(DialogIcon::Activity));
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  return item;
}

}  // namespace

CDlgNodePropertyActivities::CDlgNodePropertyActivities(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::Activities),
      enforce_(new QCheckBox(QStringLiteral("Enforce Completition Of Activities"))),
      list_(new QListWidget) {
  enforce_->setObjectName(QStringLiteral("enforceCompletion"));
  list_->setObjectName(QStringLiteral("activities"));
  list_->setSortingEnabled(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  list_->setIconSize(kDialogIconSize);

  auto* group = new QGroupBox(QStringLiteral("Activities in this node"));
  auto* inner = new QVBoxLayout(group);
  inner->addWidget(enforce_);
  inner->addWidget(list_, 1);
  (new QVBoxLayout(this))->addWidget(group);

  SetListContextMenu(list_, [this] { return CreateContextMenu(this); });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    UserInterface().showStatusText(velk::kItemChangingStatus);
    UserInterface().showStatusText(velk::kItemChangedStatus);
  });
}

void CDlgNodePropertyActivities::OnInitPage() {
  const velk::NodeAttributes& node = NodeValues();
  enforce_->setChecked(node.activityFlag);
  for (const std::string& activity : node.activities) AddActivityItem(list_, activity);
}

QMenu* CDlgNodePropertyActivities::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Add Activity"), this, &CDlgNodePropertyActivities::AddActivity);
  menu->addAction(QStringLiteral("&Delete Activities"), this,
                  &CDlgNodePropertyActivities::DeleteActivities)
      ->setEnabled(!list_->selectedItems().isEmpty());
  return menu;
}

void CDlgNodePropertyActivities::AddActivity() {
  QListWidgetItem* item = AddActivityItem(list_, velk::kNewActivity);
  list_->setCurrentItem(item);
  list_->editItem(item);
}

void CDlgNodePropertyActivities::DeleteActivities() {
  RemoveSelected(list_);
}

void CDlgNodePropertyActivities::Apply(velk::NodeAttributes& attributes) {
  attributes.activities = velk::NonEmpty(ListTexts(list_));
  attributes.activityFlag = enforce_->isChecked();
}
