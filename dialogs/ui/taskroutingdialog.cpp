#include "dialogs/ui/taskroutingdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/guiservices.h"
#include "dialogs/taskrouting.h"
#include "dialogs/ui/dialoglists.h"

CDlgTaskRouting::CDlgTaskRouting(velk::CWorkflowDoc& document, velk::CArrow& arrow,
                                 velk::RepositoryLists lists, QWidget* parent)
    : QDialog(parent),
      document_(document),
      arrow_(arrow),
      lists_(std::move(lists)),
      description_(new QLineEdit),
      formula_(new QPlainTextEdit),
      conditionGroup_(new QGroupBox(QStringLiteral("Condition"))),
      database_(new QLabel(QStringLiteral("none"))),
      // Application form names carry their alias ("Order|GF_Order"): room for it.
      form_(NewComboBox("form", false, 26)),
      field_(NewComboBox("field", false, 16)),
      operator_(NewComboBox("operator", false, 4)) {
  setWindowTitle(QStringLiteral("Task routing"));
  description_->setObjectName(QStringLiteral("description"));
  formula_->setObjectName(QStringLiteral("formula"));
  (new QVBoxLayout(conditionGroup_))->addWidget(formula_);

  auto* descriptionRow = new QFormLayout;
  descriptionRow->addRow(QStringLiteral("Description"), description_);
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildOptions());
  middle->addWidget(conditionGroup_, 1);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  UseAbbrechen(box);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(descriptionRow);
  layout->addLayout(middle, 1);
  layout->addWidget(BuildBuilder());
  layout->addWidget(box);

  description_->setText(ToQ(arrow.Condition()));
  formula_->setPlainText(ToQ(arrow.Formula()));
  Option(velk::RoutingOptionOf(arrow.Kind()))->setChecked(true);
  UpdateEnables();
  if (lists_.hasApplicationDatabase) database_->setText(ToQ(lists_.applicationDatabaseTitle));
  FillForms();
}

QGroupBox* CDlgTaskRouting::BuildOptions() {
  auto* group = new QGroupBox(QStringLiteral("Routing options"));
  auto* layout = new QVBoxLayout(group);
  const std::vector<std::string>& texts = velk::RoutingOptionTexts();
  for (std::size_t i = 0; i < options_.size(); ++i) {
    options_[i] = new QRadioButton(ToQ(texts[i]));
    layout->addWidget(options_[i]);
    connect(options_[i], &QRadioButton::toggled, this, &CDlgTaskRouting::UpdateEnables);
  }
  layout->addStretch();
  return group;
}

QGroupBox* CDlgTaskRouting::BuildBuilder() {
  builderGroup_ = new QGroupBox(QStringLiteral("Condition builder"));
  for (const std::string& op : velk::RoutingOperators()) operator_->addItem(ToQ(op));
  operator_->setCurrentIndex(-1);
  auto* grid = new QGridLayout(builderGroup_);
  // The title follows its label directly rather than aligning with a column below.
  auto* databaseRow = new QHBoxLayout;
  databaseRow->addWidget(new QLabel(QStringLiteral("Current application database:")));
  databaseRow->addWidget(database_, 1);
  grid->addLayout(databaseRow, 0, 0, 1, 6);
  const std::pair<const char*, QComboBox*> rows[] = {
      {"Form", form_}, {"Field", field_}, {"Operator", operator_}};
  int column = 0;
  for (const auto& [text, combo] : rows) {
    auto* label = new QLabel(QLatin1String(text));
    label->setBuddy(combo);
    grid->addWidget(label, 1, column++);
    grid->addWidget(combo, 1, column++);
  }
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(3, 2);
  grid->setColumnStretch(5, 1);

  connect(form_, &QComboBox::activated, this, &CDlgTaskRouting::OnFormChosen);
  connect(field_, &QComboBox::activated, this, [this] { AppendItem(field_); });
  connect(operator_, &QComboBox::activated, this, [this] { AppendItem(operator_); });
  return builderGroup_;
}

int CDlgTaskRouting::CheckedOption() const {
  for (std::size_t i = 0; i < options_.size(); ++i)
    if (options_[i]->isChecked()) return static_cast<int>(i);
  return 0;
}

void CDlgTaskRouting::UpdateEnables() {
  const velk::RoutingEnables enables = velk::RoutingEnablesFor(CheckedOption());
  conditionGroup_->setEnabled(enables.formula);
  builderGroup_->setEnabled(enables.formula);
  description_->setEnabled(enables.description);
}

void CDlgTaskRouting::FillForms() {
  if (const std::optional<std::vector<std::string>> names =
          velk::RoutingFormNames(document_.UserInterface(), lists_))
    AddAll(form_, *names, true);
  form_->setCurrentIndex(-1);
}

void CDlgTaskRouting::OnFormChosen() {
  const std::string form = FromQ(form_->currentText());
  if (form.empty()) return;
  field_->clear();
  AddAll(field_, velk::RoutingFieldNames(document_.UserInterface(), lists_, form), true);
  field_->setCurrentIndex(-1);
}

void CDlgTaskRouting::AppendItem(const QComboBox* combo) {
  formula_->setPlainText(
      ToQ(velk::AppendToFormula(FromQ(formula_->toPlainText()), FromQ(combo->currentText()))));
}

void CDlgTaskRouting::accept() {
  const std::optional<velk::ArrowRouting> routing =
      velk::TakeRouting(document_.UserInterface(), CheckedOption(), FromQ(description_->text()),
                        FromQ(formula_->toPlainText()));
  if (!routing) return;
  document_.SetArrowRouting(arrow_, *routing);
  QDialog::accept();
}
