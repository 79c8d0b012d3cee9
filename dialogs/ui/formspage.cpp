#include "dialogs/ui/formspage.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs/listtexts.h"
#include "dialogs/ui/addnewforms.h"
#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"

namespace {

QGroupBox* Group(const QString& title, std::initializer_list<QWidget*> widgets) {
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  for (QWidget* w : widgets) layout->addWidget(w);
  return group;
}

void ShowForms(QListWidget* list, const std::vector<std::string>& names) {
  for (const std::string& name : names) AddListItem(list, name, DialogIconOf(DialogIcon::Form));
}

}  // namespace

CDlgNodePropertyForms::CDlgNodePropertyForms(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::Forms),
      primary_(NewComboBox("primaryForm", true, 24)),
      secondary_(NewFormList("secondaryForms")),
      all_(new QCheckBox(QStringLiteral("&All Additional Forms"))),
      additional_(NewFormList("additionalForms")) {
  all_->setObjectName(QStringLiteral("allAdditionalForms"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(QStringLiteral("Primary Form"), {primary_}));
  auto* lists = new QHBoxLayout;
  lists->addWidget(Group(QStringLiteral("Secondary Forms"), {secondary_}));
  lists->addWidget(Group(QStringLiteral("Performer Chosen Additional Forms"), {all_, additional_}));
  layout->addLayout(lists, 1);

  connect(primary_, &QComboBox::currentIndexChanged, this,
          &CDlgNodePropertyForms::MarkMissingPrimary);
  connect(all_, &QCheckBox::toggled, additional_,
          [this](bool on) { additional_->setEnabled(!on); });
}

QListWidget* CDlgNodePropertyForms::NewFormList(const char* name) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(name));
  list->setSortingEnabled(true);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setIconSize(kDialogIconSize);
  SetListContextMenu(list, [this, list] { return CreateContextMenu(list, this); });
  return list;
}

bool CDlgNodePropertyForms::OnlyPrimary() const {
  return context_.node.Kind() == velk::NodeKind::ExtWFTask;
}

void CDlgNodePropertyForms::OnInitPage() {
  const velk::FormsSelection shown = velk::ReadFormsSelection(NodeValues(), OnlyPrimary());
  storedPrimary_ = shown.primary;
  SelectOrAdd(primary_, shown.primary, true);
  if (OnlyPrimary()) {
    // An external WWW step has only a primary form.
    for (QWidget* w : std::initializer_list<QWidget*>{all_, secondary_, additional_})
      w->setEnabled(false);
  } else {
    ShowForms(secondary_, shown.secondary);
    all_->setChecked(shown.allAdditional);
    additional_->setEnabled(!shown.allAdditional);
    ShowForms(additional_, shown.additional);
  }
  RefillPrimary();
}

void CDlgNodePropertyForms::RefillPrimary() {
  const int chosen = ChosenIndex(primary_);
  const std::string remembered = chosen >= 0 ? FromQ(primary_->itemText(chosen)) : std::string();
  primary_->clear();
  AddAll(primary_,
         velk::PrimaryCandidates(Lists().forms, ListTexts(secondary_), ListTexts(additional_)),
         true);
  KeepStoredPrimary();
  primary_->setCurrentIndex(velk::FindExact(ComboTexts(primary_), remembered));
  MarkMissingPrimary();
}

void CDlgNodePropertyForms::MarkMissingPrimary() {
  const int chosen = ChosenIndex(primary_);
  const bool missing = chosen >= 0 && FromQ(primary_->itemText(chosen)) == storedPrimary_ &&
                       !velk::FindForm(Lists().forms, storedPrimary_);
  primary_->setToolTip(missing ? QString::fromLatin1(kNotInRepository) : QString());
  if (primary_->lineEdit())
    primary_->lineEdit()->setStyleSheet(
        missing ? QStringLiteral("color: darkred; font-style: italic;") : QString());
}

void CDlgNodePropertyForms::KeepStoredPrimary() {
  // A stored primary form that is no longer an application form stays offered,
  // so that OK does not drop it; it is marked as missing from the repository.
  if (storedPrimary_.empty() || velk::FindForm(Lists().forms, storedPrimary_)) return;
  primary_->addItem(ToQ(storedPrimary_));
  const int index = primary_->count() - 1;
  primary_->setItemData(index, QColor(Qt::darkRed), Qt::ForegroundRole);
  primary_->setItemData(index, QString::fromLatin1(kNotInRepository), Qt::ToolTipRole);
}

QMenu* CDlgNodePropertyForms::CreateContextMenu(QListWidget* list, QWidget* parent) {
  current_ = list;
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Add Forms"), this, &CDlgNodePropertyForms::AddForms);
  menu->addAction(QStringLiteral("&Delete Forms"), this, &CDlgNodePropertyForms::DeleteForms)
      ->setEnabled(list->count() > 0);
  return menu;
}

void CDlgNodePropertyForms::AddForms() {
  if (!current_) return;
  CDlgAddNewForms dialog(UserInterface(),
                         velk::AddFormsCandidates(ComboTexts(primary_), ChosenIndex(primary_)),
                         current_, window());
  dialog.exec();
  RefillPrimary();
}

void CDlgNodePropertyForms::DeleteForms() {
  if (!current_) return;
  RemoveSelected(current_);
  RefillPrimary();
}

void CDlgNodePropertyForms::Apply(velk::NodeAttributes& attributes) {
  velk::FormsSelection selection;
  const int chosen = ChosenIndex(primary_);
  if (chosen >= 0) selection.primary = FromQ(primary_->itemText(chosen));
  selection.secondary = ListTexts(secondary_);
  selection.allAdditional = all_->isChecked();
  selection.additional = ListTexts(additional_);
  velk::ApplyFormsSelection(selection, attributes);
}
