#include "dialogs/ui/basicspage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "dialogs/integercheck.h"
#include "dialogs/ui/dialoglists.h"

namespace {

QGroupBox* Group(const QString& title, QWidget* content) {
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(content);
  return group;
}

}  // namespace

CDlgNodePropertyBasics::CDlgNodePropertyBasics(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::Basics),
      name_(new QLineEdit),
      taskId_(new QLabel),
      description_(new QPlainTextEdit),
      operational_(new QGroupBox(QStringLiteral("Operational Settings"))),
      durationLabel_(new QLabel(QStringLiteral("Duration"))),
      duration_(new QLineEdit),
      unitLabel_(new QLabel(QStringLiteral("Duration-Unit"))),
      unit_(new QComboBox) {
  name_->setObjectName(QStringLiteral("name"));
  taskId_->setObjectName(QStringLiteral("taskId"));
  taskId_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  description_->setObjectName(QStringLiteral("description"));
  duration_->setObjectName(QStringLiteral("duration"));
  unit_->setObjectName(QStringLiteral("durationUnit"));
  // The position in this list is the stored unit code, so it is never sorted.
  unit_->addItems({QStringLiteral("Hour(s)"), QStringLiteral("Day(s)"), QStringLiteral("Week(s)")});
  durationLabel_->setBuddy(duration_);
  unitLabel_->setBuddy(unit_);

  auto* top = new QHBoxLayout;
  top->addWidget(Group(QStringLiteral("Name"), name_), 3);
  top->addWidget(Group(QStringLiteral("Task ID"), taskId_), 1);

  auto* settings = new QFormLayout(operational_);
  settings->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  duration_->setMaximumWidth(
      duration_->fontMetrics().horizontalAdvance(QStringLiteral("99999999")));
  settings->addRow(durationLabel_, duration_);
  settings->addRow(unitLabel_, unit_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(Group(QStringLiteral("Description of Task"), description_), 1);
  layout->addWidget(operational_);
}

void CDlgNodePropertyBasics::OnInitPage() {
  const velk::NodeAttributes& node = NodeValues();
  name_->setText(ToQ(node.name));
  taskId_->setText(ToQ(context_.node.CodeText()));
  description_->setPlainText(ToQ(node.freeText));
  duration_->setText(QString::number(node.duration));
  unit_->setCurrentIndex(
      node.durationUnit >= 0 && node.durationUnit < unit_->count() ? node.durationUnit : -1);
  // A cluster has no duration of its own.
  if (context_.node.Kind() == velk::NodeKind::IWC) {
    for (QWidget* w : std::initializer_list<QWidget*>{operational_, duration_, unit_,
                                                      durationLabel_, unitLabel_})
      w->setEnabled(false);
  }
}

bool CDlgNodePropertyBasics::Validate() {
  const std::optional<int> value =
      velk::TakeInteger(UserInterface(), FromQ(duration_->text()), 0, kMaxDuration);
  if (!value) {
    duration_->setFocus();
    duration_->selectAll();
    return false;
  }
  return true;
}

void CDlgNodePropertyBasics::Apply(velk::NodeAttributes& attributes) {
  attributes.name = FromQ(name_->text());
  attributes.freeText = FromQ(description_->toPlainText());
  // Validate has passed, so the text holds the duration.
  attributes.duration = velk::ParseInteger(FromQ(duration_->text())).value_or(attributes.duration);
  // A damaged unit code selects nothing; it is kept rather than replaced by -1.
  if (unit_->currentIndex() >= 0) attributes.durationUnit = unit_->currentIndex();
}
