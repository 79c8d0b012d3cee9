// "Basics", "Design Information" and "Tracking" of the workflow settings sheet.
#include "dialogs/ui/wfpropertypages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/services.h"
#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/unsignededit.h"
#include "dialogs/workflowsettings.h"
#include "repository/vocabulary.h"

namespace {

// A value the sheet shows but does not change; it must not look like an edit.
QLineEdit* ShownOnly() {
  auto* edit = new QLineEdit;
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::ClickFocus);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
  return edit;
}

constexpr const char* kDatabaseLines[] = {
    "App. Env. Database:", "Process Def. Database:", "Infrastructure Database:",
    "External Directory:", "Tracking Database:",     "Gateway Database:"};

}  // namespace

CWFPropertyPage::CWFPropertyPage(QString caption, const WorkflowSheetContext& context)
    : CPropertyPage(std::move(caption)), context_(context) {}

// ---- Basics ----

CDlgWFPropertyBasics::CDlgWFPropertyBasics(const WorkflowSheetContext& context)
    : CWFPropertyPage(QStringLiteral("Basics"), context),
      name_(new QLineEdit),
      category_(new QLineEdit),
      version_(ShownOnly()),
      workflowId_(ShownOnly()),
      databases_(new QPushButton(QStringLiteral("Databases"))) {
  auto* identification = new QGroupBox(QStringLiteral("Workflow Identification"));
  auto* idForm = new QFormLayout(identification);
  idForm->addRow(QStringLiteral("Type:"), name_);
  idForm->addRow(QStringLiteral("Category:"), category_);
  idForm->addRow(QStringLiteral("Version:"), version_);
  idForm->addRow(QStringLiteral("Workflow ID:"), workflowId_);

  auto* databases = new QGroupBox(QStringLiteral("Databases"));
  auto* dbForm = new QFormLayout(databases);
  for (const char* label : kDatabaseLines) {
    QLineEdit* line = ShownOnly();
    line->setMinimumWidth(300);
    databaseLines_.push_back(line);
    dbForm->addRow(QString::fromLatin1(label), line);
  }
  databases_->setToolTip(QStringLiteral("Change the default databases of new workflows"));
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(databases_);
  dbForm->addRow(buttonRow);
  connect(databases_, &QPushButton::clicked, this, [this] {
    if (context_.runDatabases) context_.runDatabases(window());
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(identification);
  layout->addWidget(databases);
  layout->addStretch(1);
}

void CDlgWFPropertyBasics::OnInitPage() {
  const velk::WorkflowHeader& h = Header();
  name_->setText(ToQ(h.name));
  version_->setText(QString::number(h.version));
  workflowId_->setText(ToQ(h.workflowId));
  const bool hasCategory = velk::WorkflowHasCategory(h.workflowType);
  category_->setEnabled(hasCategory);
  category_->setText(hasCategory ? ToQ(h.category) : QString());
  const auto paths = velk::WorkflowDatabasePaths(context_.document.Databases());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    databaseLines_[i]->setText(ToQ(paths[i]));
    databaseLines_[i]->setCursorPosition(0);
  }
}

void CDlgWFPropertyBasics::OnOK() {
  Header().name = FromQ(name_->text());
  Header().category = FromQ(category_->text());
}

// ---- Design Information ----

CDlgWFPropertyInitiator::CDlgWFPropertyInitiator(const WorkflowSheetContext& context)
    : CWFPropertyPage(QStringLiteral("Design Information"), context),
      validFrom_(new QLineEdit),
      validUntil_(new QLineEdit),
      freeText_(new QPlainTextEdit) {
  auto* valid = new QGroupBox(QStringLiteral("Valid"));
  auto* validForm = new QFormLayout(valid);
  validForm->addRow(QStringLiteral("Valid From:"), validFrom_);
  validForm->addRow(QStringLiteral("Valid Until:"), validUntil_);

  auto* status = new QGroupBox(QStringLiteral("Status"));
  auto* statusBox = new QVBoxLayout(status);
  auto* group = new QButtonGroup(this);
  for (const char* text : velk::StatusRadioTexts()) {
    auto* button = new QRadioButton(QString::fromLatin1(text));
    group->addButton(button);
    statusBox->addWidget(button);
    status_.push_back(button);
  }

  auto* description = new QGroupBox(QStringLiteral("Workflow Type Description"));
  auto* descriptionBox = new QVBoxLayout(description);
  descriptionBox->addWidget(freeText_);

  auto* top = new QHBoxLayout;
  top->addWidget(valid, 1);
  top->addWidget(status, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(description, 1);
}

QRadioButton* CDlgWFPropertyInitiator::StatusButton(int status) const {
  return status >= 0 && status < velk::kStatusCount ? status_[static_cast<std::size_t>(status)]
                                                    : nullptr;
}

void CDlgWFPropertyInitiator::OnInitPage() {
  const velk::WorkflowHeader& h = Header();
  validFrom_->setText(ToQ(h.validFrom));
  validUntil_->setText(ToQ(h.validUntil));
  freeText_->setPlainText(ToQ(h.freeText));
  if (const std::optional<int> radio = velk::StatusRadioOf(static_cast<int>(h.status)))
    status_[static_cast<std::size_t>(*radio)]->setChecked(true);
}

void CDlgWFPropertyInitiator::OnOK() {
  velk::WorkflowHeader& h = Header();
  h.validFrom = FromQ(validFrom_->text());
  h.validUntil = FromQ(validUntil_->text());
  h.freeText = FromQ(freeText_->toPlainText());
  std::array<bool, velk::kStatusCount> checked{};
  for (std::size_t i = 0; i < checked.size(); ++i) checked[i] = status_[i]->isChecked();
  if (const auto chosen = velk::StatusFromRadios(checked)) h.status = *chosen;
}

// ---- Tracking ----

CDlgWFPropertyTracking::CDlgWFPropertyTracking(const WorkflowSheetContext& context)
    : CWFPropertyPage(QStringLiteral("Tracking"), context),
      type_(new QComboBox),
      mix_(new CUnsignedEdit),
      mail_(new QLineEdit),
      frequency_(new CUnsignedEdit),
      rate_(new CUnsignedEdit),
      external_(new QCheckBox(QStringLiteral("Track external nodes"))) {
  type_->setEditable(true);
  type_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& word : TrackingModeWords()) type_->addItem(ToQ(word));

  auto* type = new QGroupBox(QStringLiteral("Type"));
  auto* typeForm = new QFormLayout(type);
  typeForm->addRow(QStringLiteral("Tracking Type:"), type_);
  typeForm->addRow(QStringLiteral("Mix:"), mix_);

  auto* flags = new QGroupBox(QStringLiteral("Flags"));
  auto* flagsForm = new QFormLayout(flags);
  flagsForm->addRow(QStringLiteral("E-Mail Adress:"), mail_);
  flagsForm->addRow(QStringLiteral("Track Frequency:"), frequency_);
  flagsForm->addRow(QStringLiteral("Track Rate:"), rate_);
  flagsForm->addRow(external_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(type);
  layout->addWidget(flags);
  layout->addStretch(1);
}

void CDlgWFPropertyTracking::OnInitPage() {
  const velk::WorkflowHeader& h = Header();
  type_->setCurrentText(ToQ(velk::TrackingTypeText(h.trackingType)));
  mix_->SetValue(h.trackingMix);
  mail_->setText(ToQ(h.trackingMail));
  frequency_->SetValue(h.trackingFrequency);
  rate_->SetValue(h.trackingRate);
  external_->setChecked(h.trackingExternal);
}

bool CDlgWFPropertyTracking::OnKillActive() {
  for (CUnsignedEdit* edit : {mix_, frequency_, rate_}) {
    if (edit->Value()) continue;
    context_.document.UserInterface().messageBox(velk::kPositiveIntegerPrompt,
                                                 velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
    edit->setFocus();
    edit->selectAll();
    return false;
  }
  return true;
}

void CDlgWFPropertyTracking::OnOK() {
  velk::WorkflowHeader& h = Header();
  h.trackingType = velk::TrackingTypeCode(FromQ(type_->currentText()));
  h.trackingMix = mix_->Value().value_or(h.trackingMix);
  h.trackingMail = FromQ(mail_->text());
  h.trackingFrequency = frequency_->Value().value_or(h.trackingFrequency);
  h.trackingRate = rate_->Value().value_or(h.trackingRate);
  h.trackingExternal = external_->isChecked();
}
