#include "dialogs/ui/performerpage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/services.h"
#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/elementlist.h"
#include "dialogs/ui/teamgroup.h"

namespace {

QGroupBox* LabelledGroup(const QString& title, const QString& label, QComboBox* combo) {
  auto* group = new QGroupBox(title);
  auto* form = new QFormLayout(group);
  form->addRow(label, combo);
  return group;
}

}  // namespace

CDlgNodePropertyPerformer::CDlgNodePropertyPerformer(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::Performer),
      type_(NewComboBox("performerType", false)),
      person_(NewComboBox("person", true)),
      workgroupGroup_(new CTeamGroup(
          UserInterface(),
          {QStringLiteral("Properties of Type Workgroup"), QStringLiteral("Name of workgroup:"),
           QStringLiteral("Controlled workgoup with member count of"),
           QStringLiteral("workgroup")})),
      unitGroup_(new CTeamGroup(
          UserInterface(),
          {QStringLiteral("Properties of Type Unit"), QStringLiteral("Name of unit:"),
           QStringLiteral("Controlled unit with member count of"), QStringLiteral("unit")})),
      role_(NewComboBox("role", true)),
      simple_(new QRadioButton(QStringLiteral("Simple"))),
      parameterOption_(new QRadioButton(QStringLiteral("Parameter"))),
      fieldOption_(new QRadioButton(QStringLiteral("Field"))),
      parameter_(NewComboBox("parameter", true)),
      form_(NewComboBox("form", false)),
      field_(NewComboBox("field", true)),
      readers_(new CElementList(context.document.UserInterface(), context.lists,
                                QStringLiteral("&Add Item"), QStringLiteral("&Delete Items"),
                                CElementList::DeleteEnabled::WhileNotEmpty)) {
  for (const std::string& item : velk::PerformerTypeItems()) type_->addItem(ToQ(item));
  readers_->setObjectName(QStringLiteral("readers"));
  simple_->setObjectName(QStringLiteral("simple"));
  parameterOption_->setObjectName(QStringLiteral("parameterOption"));
  fieldOption_->setObjectName(QStringLiteral("fieldOption"));

  auto* typeGroup = new QGroupBox(QStringLiteral("Type of Performer"));
  (new QVBoxLayout(typeGroup))->addWidget(type_);
  auto* leftColumn = new QWidget;
  auto* left = new QVBoxLayout(leftColumn);
  left->setContentsMargins(0, 0, 0, 0);
  left->addWidget(typeGroup);
  int width = 0;
  for (QGroupBox* group : {BuildPersonGroup(), static_cast<QGroupBox*>(workgroupGroup_),
                           static_cast<QGroupBox*>(unitGroup_), BuildRoleGroup(),
                           BuildParameterGroup(), BuildFieldGroup()}) {
    left->addWidget(group);
    width = std::max(width, group->sizeHint().width());
  }
  left->addStretch();
  // The groups take turns in one place; the column is as wide as the widest.
  leftColumn->setMinimumWidth(width);

  auto* access = new QGroupBox(QStringLiteral("Access"));
  (new QVBoxLayout(access))->addWidget(readers_);
  readers_->setMinimumWidth(260);  // a full "Name/Unit/Organisation" without scrolling

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(leftColumn, 1);
  layout->addWidget(access, 1);

  connect(type_, &QComboBox::currentIndexChanged, this, &CDlgNodePropertyPerformer::ShowTypeGroup);
  for (QRadioButton* option : {simple_, parameterOption_, fieldOption_})
    connect(option, &QRadioButton::toggled, this,
            &CDlgNodePropertyPerformer::ShowRoleArgumentGroup);
  connect(role_, &QComboBox::activated, this,
          [this] { FillParameters(FromQ(role_->currentText())); });
  connect(form_, &QComboBox::activated, this, [this] { FillFields(FromQ(form_->currentText())); });
  ShowTypeGroup();
}

QGroupBox* CDlgNodePropertyPerformer::BuildPersonGroup() {
  personGroup_ = LabelledGroup(QStringLiteral("Properties of Type Person"),
                               QStringLiteral("Name of person:"), person_);
  return personGroup_;
}

QGroupBox* CDlgNodePropertyPerformer::BuildRoleGroup() {
  roleGroup_ = new QGroupBox(QStringLiteral("Properties of Type Role"));
  auto* form = new QFormLayout(roleGroup_);
  form->addRow(QStringLiteral("Name of role:"), role_);
  auto* options = new QHBoxLayout;
  for (QRadioButton* option : {simple_, parameterOption_, fieldOption_}) options->addWidget(option);
  options->addStretch();
  form->addRow(options);
  return roleGroup_;
}

QGroupBox* CDlgNodePropertyPerformer::BuildParameterGroup() {
  parameterGroup_ = LabelledGroup(QStringLiteral("Properties Of Parameter"),
                                  QStringLiteral("Value Of Property:"), parameter_);
  return parameterGroup_;
}

QGroupBox* CDlgNodePropertyPerformer::BuildFieldGroup() {
  fieldGroup_ = new QGroupBox(QStringLiteral("Properties Of Field"));
  auto* form = new QFormLayout(fieldGroup_);
  form->addRow(QStringLiteral("Form:"), form_);
  form->addRow(QStringLiteral("Field:"), field_);
  return fieldGroup_;
}

void CDlgNodePropertyPerformer::OnInitPage() {
  FillLists();
  simple_->setChecked(true);
  type_->setCurrentIndex(-1);
  ShowStoredPerformer();
  ShowTypeGroup();
  readers_->SetNames(NodeValues().readers);
}

void CDlgNodePropertyPerformer::FillLists() {
  const velk::RepositoryLists& lists = Lists();
  AddAll(person_, lists.persons, true);
  workgroupGroup_->Fill(lists.workgroups, lists.persons);
  unitGroup_->Fill(lists.units, lists.persons);
  AddAll(role_, velk::ElementsOfKind(lists, velk::ElementKind::Role), true);
  AddAll(form_, velk::FormNames(lists.forms), true);
  for (QComboBox* combo : {person_, role_, form_}) combo->setCurrentIndex(-1);
}

void CDlgNodePropertyPerformer::ShowStoredPerformer() {
  const velk::NodeAttributes& node = NodeValues();
  const std::optional<int> position = velk::PositionOfPerformerType(node.performerType);
  if (!position) {
    UserInterface().messageBox(velk::kUnknownPerformerTypeText, velk::MsgIcon::Exclamation,
                               velk::MsgButtons::Ok);
    return;
  }
  type_->setCurrentIndex(*position);
  switch (*position) {
    case velk::kPersonPosition:
      SelectOrAdd(person_, node.member, true);
      break;
    case velk::kWorkgroupPosition:
      workgroupGroup_->ShowTeam(node.member, node.teamManager, node.teamQuantity);
      break;
    case velk::kUnitPosition:
      unitGroup_->ShowTeam(node.member, node.teamManager, node.teamQuantity);
      break;
    default:
      ShowRole(node.member, node.roleArgument);
      break;
  }
}

void CDlgNodePropertyPerformer::ShowRole(const std::string& role, const std::string& argument) {
  SelectOrAdd(role_, role, true);
  FillParameters(role);
  const velk::RoleArgument parsed = velk::ParseRoleArgument(argument);
  switch (parsed.form) {
    case velk::RoleArgumentForm::Simple:
      simple_->setChecked(true);
      break;
    case velk::RoleArgumentForm::Parameter:
      parameterOption_->setChecked(true);
      SelectOrAdd(parameter_, parsed.value, false);
      break;
    case velk::RoleArgumentForm::Field: {
      fieldOption_->setChecked(true);
      if (parsed.value.empty()) break;
      if (const velk::FormRecord* form = velk::FindFormWithField(Lists().forms, parsed.value)) {
        SelectOrAdd(form_, form->name, true);
        FillFields(form->name);
        SelectOrAdd(field_, parsed.value, true);
      } else {
        // A field no form has any more is still shown, so that OK keeps it.
        field_->setEditText(ToQ(parsed.value));
      }
      break;
    }
  }
}

void CDlgNodePropertyPerformer::ShowTypeGroup() {
  const int position = type_->currentIndex();
  personGroup_->setVisible(position == velk::kPersonPosition);
  workgroupGroup_->setVisible(position == velk::kWorkgroupPosition);
  unitGroup_->setVisible(position == velk::kUnitPosition);
  roleGroup_->setVisible(position == velk::kRolePosition);
  ShowRoleArgumentGroup();
}

void CDlgNodePropertyPerformer::ShowRoleArgumentGroup() {
  const bool role = type_->currentIndex() == velk::kRolePosition;
  parameterGroup_->setVisible(role && parameterOption_->isChecked());
  fieldGroup_->setVisible(role && fieldOption_->isChecked());
}

void CDlgNodePropertyPerformer::FillParameters(const std::string& role) {
  parameter_->clear();
  if (role.empty()) return;
  AddAll(parameter_, velk::RoleParameters(Lists().roles, role), false);
  parameter_->setCurrentIndex(-1);
}

void CDlgNodePropertyPerformer::FillFields(const std::string& form) {
  field_->clear();
  if (form.empty()) return;
  if (const velk::FormRecord* record = velk::FindForm(Lists().forms, form))
    AddAll(field_, record->fields, true);
  field_->setCurrentIndex(-1);
}

velk::RoleArgumentForm CDlgNodePropertyPerformer::RoleForm() const {
  if (parameterOption_->isChecked()) return velk::RoleArgumentForm::Parameter;
  return fieldOption_->isChecked() ? velk::RoleArgumentForm::Field : velk::RoleArgumentForm::Simple;
}

bool CDlgNodePropertyPerformer::Validate() {
  return workgroupGroup_->ValidateCount() && unitGroup_->ValidateCount();
}

void CDlgNodePropertyPerformer::Apply(velk::NodeAttributes& attributes) {
  velk::PerformerChoice choice;
  choice.typePosition = type_->currentIndex();
  choice.person = FromQ(person_->currentText());
  choice.workgroup = workgroupGroup_->Choice();
  choice.unit = unitGroup_->Choice();
  choice.role = FromQ(role_->currentText());
  const velk::RoleArgumentForm form = RoleForm();
  const QComboBox* value = form == velk::RoleArgumentForm::Field ? field_ : parameter_;
  choice.roleArgument = {form, FromQ(value->currentText())};
  choice.readers = readers_->Names();
  velk::ApplyPerformerChoice(choice, attributes);
}
