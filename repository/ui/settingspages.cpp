#include "repository/ui/settingspages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/integercheck.h"
#include "repository/databasechoice.h"
#include "repository/settingsbasics.h"
#include "repository/ui/settingssheet.h"

namespace {

using velk::DatabaseKind;

struct FieldDesign {
  DatabaseKind kind;
  const char* title;
  int pathId;
  int serverId;
};

// The fields in the order the page shows them, with their dialog item ids.
const std::vector<FieldDesign>& FieldsOf(velk::DatabasePage which) {
  static const std::vector<FieldDesign> internal = {
      {DatabaseKind::ApplicationEnvironment, "Application Environment Database", 1028, 1002},
      {DatabaseKind::ProcessDefinitions, "Process Definitions Database", 1032, 1004},
      {DatabaseKind::Infrastructure, "Infrastructure Database", 1036, 1007}};
  static const std::vector<FieldDesign> external = {
      {DatabaseKind::Gateway, "Gateway Database", 1051, 1010},
      {DatabaseKind::ExternalDirectory, "External Directory Database", 1056, 1012},
      {DatabaseKind::Tracking, "Tracking Database", 1059, 1014}};
  return which == velk::DatabasePage::Internal ? internal : external;
}

QLineEdit* NewEdit(int id) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QStringLiteral("edit%1").arg(id));
  edit->setMinimumWidth(320);
  return edit;
}

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}
std::string FromQ(const QString& text) {
  return text.toStdString();
}

void FillList(QComboBox* list, const std::vector<std::string>& texts) {
  for (const std::string& text : texts) list->addItem(ToQ(text));
}

}  // namespace

CDlgSettingsDatabasePage::CDlgSettingsDatabasePage(velk::DatabasePage which, QString caption,
                                                   CDlgDatabaseSheet& sheet)
    : CPropertyPage(std::move(caption)),
      which_(which),
      sheet_(sheet),
      note_(new QLabel),
      browse_(new QPushButton(QStringLiteral("Browse"))) {
  auto* layout = new QVBoxLayout(this);
  note_->setWordWrap(true);
  note_->hide();
  layout->addWidget(note_);
  for (const FieldDesign& design : FieldsOf(which)) {
    auto* group = new QGroupBox(QString::fromLatin1(design.title));
    auto* form = new QFormLayout(group);
    Field field{NewEdit(design.pathId), NewEdit(design.serverId)};
    form->addRow(QStringLiteral("Path:"), field.path);
    form->addRow(QStringLiteral("Server:"), field.server);
    for (QLineEdit* edit : {field.path, field.server})
      connect(edit, &QLineEdit::textChanged, this, [this] { SetModified(); });
    fields_[design.kind] = field;
    layout->addWidget(group);
  }
  browse_->setObjectName(QStringLiteral("button1000"));
  browse_->setToolTip(QStringLiteral("Choose databases; each goes into the field of its kind"));
  connect(browse_, &QPushButton::clicked, this, [this] { sheet_.Browse(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(browse_);
  layout->addLayout(buttons);
  layout->addStretch(1);
}

const CDlgSettingsDatabasePage::Field& CDlgSettingsDatabasePage::FieldOf(DatabaseKind kind) const {
  return fields_.at(kind);
}

QLineEdit* CDlgSettingsDatabasePage::PathEdit(DatabaseKind kind) const {
  auto it = fields_.find(kind);
  return it == fields_.end() ? nullptr : it->second.path;
}

QLineEdit* CDlgSettingsDatabasePage::ServerEdit(DatabaseKind kind) const {
  auto it = fields_.find(kind);
  return it == fields_.end() ? nullptr : it->second.server;
}

void CDlgSettingsDatabasePage::SetNote(const QString& text) {
  note_->setText(text);
  note_->setVisible(!text.isEmpty());
}

void CDlgSettingsDatabasePage::ReadFields(velk::DatabaseLocations& fields) const {
  for (const auto& [kind, field] : fields_)
    fields[kind] = {FromQ(field.path->text()), FromQ(field.server->text())};
}

void CDlgSettingsDatabasePage::WriteField(DatabaseKind kind, const velk::DatabaseLocation& shown) {
  const Field& field = FieldOf(kind);
  field.path->setText(ToQ(shown.fileName));
  field.server->setText(ToQ(shown.server));
}

void CDlgSettingsDatabasePage::OnInitPage() {
  for (const auto& [kind, field] : fields_) {
    const velk::DatabaseLocation& at = sheet_.Shown()[kind];
    WriteField(kind, {at.fileName, velk::ServerDisplayText(at.server)});
  }
}

bool CDlgSettingsDatabasePage::OnKillActive() {
  velk::DatabaseLocations fields;
  ReadFields(fields);
  if (!velk::CheckDatabasePage(sheet_.Context().services, which_, fields,
                               sheet_.Context().detectKind))
    return false;
  velk::TakeOverDatabasePage(which_, fields, sheet_.Working().databases);
  SetModified(false);
  return true;
}

void CDlgSettingsDatabasePage::OnOK() {
  for (DatabaseKind kind : velk::DatabasesOfPage(which_))
    sheet_.Working().saveDatabase(sheet_.Context().store, kind);
}

CDlgSettingsPropInternalDB::CDlgSettingsPropInternalDB(CDlgDatabaseSheet& sheet)
    : CDlgSettingsDatabasePage(velk::DatabasePage::Internal, QStringLiteral("Internal databases"),
                               sheet) {}

CDlgSettingsPropExternalDB::CDlgSettingsPropExternalDB(CDlgDatabaseSheet& sheet)
    : CDlgSettingsDatabasePage(velk::DatabasePage::External, QStringLiteral("External databases"),
                               sheet) {}

CDlgSettingsPropAutoSave::CDlgSettingsPropAutoSave(CDlgDatabaseSheet& sheet)
    : CPropertyPage(QStringLiteral("Basics")),
      sheet_(sheet),
      orgName_(NewEdit(1114)),
      gridSize_(NewEdit(1045)),
      arrowSize_(new QComboBox),
      magnetic_(new QCheckBox(QStringLiteral("Grid is magnetic"))),
      visible_(new QCheckBox(QStringLiteral("Grid is visible"))),
      factor_(new QComboBox) {
  gridSize_->setMinimumWidth(0);
  gridSize_->setMaximumWidth(80);
  arrowSize_->setObjectName(QStringLiteral("list1286"));
  factor_->setObjectName(QStringLiteral("list1288"));
  magnetic_->setObjectName(QStringLiteral("check1049"));
  visible_->setObjectName(QStringLiteral("check1052"));
  FillList(arrowSize_, velk::ArrowSizeTexts());
  FillList(factor_, velk::AutoArrangeFactorTexts());
  auto* factorRow = new QHBoxLayout;
  factorRow->addWidget(factor_);
  factorRow->addWidget(new QLabel(QStringLiteral("x Gridsize")));
  factorRow->addStretch(1);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Name of Organization"), orgName_);
  form->addRow(QStringLiteral("Gridsize:"), gridSize_);
  form->addRow(QStringLiteral("Arrowsize:"), arrowSize_);
  form->addRow(QString(), magnetic_);
  form->addRow(QString(), visible_);
  form->addRow(QStringLiteral("Auto-Arrange Factor:"), factorRow);
}

void CDlgSettingsPropAutoSave::OnInitPage() {
  const velk::ModelerSettings& s = sheet_.Working();
  orgName_->setText(ToQ(s.orgName));
  gridSize_->setText(QString::number(s.gridSize));
  arrowSize_->setCurrentIndex(velk::ArrowSizeEntry(s.arrowSize));
  magnetic_->setChecked(s.gridMagnetic);
  visible_->setChecked(s.gridVisible);
  factor_->setCurrentIndex(velk::AutoArrangeFactorEntry(s.autoArrangeFactor));
}

bool CDlgSettingsPropAutoSave::OnKillActive() {
  const std::optional<int> grid = velk::TakeInteger(
      sheet_.Context().services, FromQ(gridSize_->text()), velk::kMinGridSize, velk::kMaxGridSize);
  if (!grid) {
    gridSize_->setFocus();
    gridSize_->selectAll();
    return false;
  }
  velk::ModelerSettings& s = sheet_.Working();
  s.orgName = FromQ(orgName_->text());
  s.gridSize = *grid;
  s.arrowSize = arrowSize_->currentIndex();
  s.gridMagnetic = magnetic_->isChecked();
  s.gridVisible = visible_->isChecked();
  s.autoArrangeFactor = velk::AutoArrangeFactorOfEntry(factor_->currentIndex());
  return true;
}

void CDlgSettingsPropAutoSave::OnOK() {
  sheet_.Working().saveBasics(sheet_.Context().store);
}
