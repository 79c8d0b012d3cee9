#include "dialogs/ui/teamgroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

#include "dialogs/integercheck.h"
#include "dialogs/ui/dialoglists.h"

CTeamGroup::CTeamGroup(velk::Services& services, const Texts& texts, QWidget* parent)
    : QGroupBox(texts.title, parent),
      services_(services),
      name_(NewComboBox("", true)),
      normal_(new QRadioButton(QStringLiteral("Normal workgroup"))),
      withManager_(new QRadioButton(QStringLiteral("Workgroup with team manager"))),
      withCount_(new QRadioButton(texts.countOption)),
      manager_(NewComboBox("", false)),
      count_(new QLineEdit) {
  name_->setObjectName(texts.objectPrefix + QStringLiteral("Name"));
  normal_->setObjectName(texts.objectPrefix + QStringLiteral("Normal"));
  withManager_->setObjectName(texts.objectPrefix + QStringLiteral("WithManager"));
  withCount_->setObjectName(texts.objectPrefix + QStringLiteral("WithCount"));
  manager_->setObjectName(texts.objectPrefix + QStringLiteral("Manager"));
  count_->setObjectName(texts.objectPrefix + QStringLiteral("Count"));
  count_->setMaximumWidth(80);

  auto* label = new QLabel(texts.nameLabel);
  label->setBuddy(name_);
  // The team manager's list stands under its option, indented like the option's text.
  const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                     style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(name_, 0, 1, 1, 2);
  grid->addWidget(normal_, 1, 0, 1, 3);
  grid->addWidget(withManager_, 2, 0, 1, 3);
  auto* managerRow = new QHBoxLayout;
  managerRow->addSpacing(indent);
  managerRow->addWidget(manager_, 1);
  grid->addLayout(managerRow, 3, 0, 1, 3);
  grid->addWidget(withCount_, 4, 0, 1, 2);
  grid->addWidget(count_, 4, 2);
  grid->setColumnStretch(1, 1);

  normal_->setChecked(true);
  count_->setText(QStringLiteral("0"));
  UpdateEnables();
  for (QRadioButton* option : {normal_, withManager_, withCount_})
    connect(option, &QRadioButton::toggled, this, &CTeamGroup::UpdateEnables);
}

void CTeamGroup::Fill(const std::vector<std::string>& names,
                      const std::vector<std::string>& persons) {
  AddAll(name_, names, true);
  AddAll(manager_, persons, false);
  name_->setCurrentIndex(-1);
  manager_->setCurrentIndex(-1);
}

void CTeamGroup::ShowTeam(const std::string& name, const std::string& manager, int quantity) {
  SelectOrAdd(name_, name, true);
  switch (velk::TeamModeOf(manager, quantity)) {
    case velk::TeamMode::Manager:
      SelectOrAdd(manager_, manager, false);
      withManager_->setChecked(true);
      break;
    case velk::TeamMode::Count:
      count_->setText(QString::asprintf("%i", quantity));
      withCount_->setChecked(true);
      break;
    case velk::TeamMode::Normal:
      normal_->setChecked(true);
      break;
  }
}

velk::TeamMode CTeamGroup::Mode() const {
  if (withManager_->isChecked()) return velk::TeamMode::Manager;
  return withCount_->isChecked() ? velk::TeamMode::Count : velk::TeamMode::Normal;
}

void CTeamGroup::UpdateEnables() {
  manager_->setEnabled(withManager_->isChecked());
  count_->setEnabled(withCount_->isChecked());
}

bool CTeamGroup::ValidateCount() {
  if (velk::TakeInteger(services_, FromQ(count_->text()), 0, velk::kMaxTeamQuantity)) return true;
  count_->setFocus();
  count_->selectAll();
  return false;
}

velk::TeamChoice CTeamGroup::Choice() const {
  return {FromQ(name_->currentText()), Mode(), FromQ(manager_->currentText()),
          velk::ParseInteger(FromQ(count_->text())).value_or(0)};
}
