#include "dialogs/ui/eidmpage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

#include "dialogs/integercheck.h"
#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/extdirpage.h"
#include "dialogs/ui/extdirsheet.h"
#include "extdir/extdirdata.h"

namespace {

// A stored text selects the first entry beginning with it (ignoring case) and
// is shown unchanged when none does.
void ShowStored(QComboBox* combo, const std::string& stored) {
  const QString text = ToQ(stored);
  combo->setCurrentIndex(-1);
  if (!text.isEmpty())
    for (int i = 0; i < combo->count(); ++i)
      if (combo->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
        combo->setCurrentIndex(i);
        return;
      }
  combo->setEditText(text);
}

}  // namespace

CDlgNodePropertyEIDM::CDlgNodePropertyEIDM(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::EIDM),
      input_(NewComboBox("input", true, 30)),
      output_(NewComboBox("output", true, 30)),
      format_(NewComboBox("format", true)),
      requiredDate_(NewLineEdit("requiredDate")),
      duration_(NewLineEdit("expectedDuration")),
      unit_(NewComboBox("expectedDurationUnit", false, 8)),
      view_(new QPushButton(QStringLiteral("&View Ext.Dir."))) {
  view_->setObjectName(QStringLiteral("viewExtDir"));
  format_->addItems({QStringLiteral("Notes"), QStringLiteral("WWW"), QStringLiteral("XML")});
  unit_->addItems({QStringLiteral("Hours"), QStringLiteral("Days"), QStringLiteral("Weeks"),
                   QStringLiteral("Months")});
  auto* forms = new QGroupBox(QStringLiteral("Forms"));
  auto* formRows = new QFormLayout(forms);
  formRows->addRow(QStringLiteral("Input"), input_);
  formRows->addRow(QStringLiteral("Output"), output_);
  auto* duration = new QHBoxLayout;
  duration->addWidget(duration_);
  duration->addWidget(unit_);
  auto* rows = new QFormLayout;
  rows->addRow(QStringLiteral("Format"), format_);
  rows->addRow(QStringLiteral("Request must be fulfilled until:"), requiredDate_);
  rows->addRow(QStringLiteral("Expected duration:"), duration);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(view_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(forms);
  layout->addLayout(rows);
  layout->addLayout(buttons);
  layout->addStretch();
  connect(view_, &QPushButton::clicked, this, &CDlgNodePropertyEIDM::ViewExtDir);
}

void CDlgNodePropertyEIDM::OnInitPage() {
  const velk::NodeAttributes& node = NodeValues();
  for (QComboBox* combo : {input_, output_})
    for (const velk::FormRecord& form : Lists().forms) AddSorted(combo, form.name);
  ShowStored(input_, node.extClusterInput);
  ShowStored(output_, node.extClusterOutput);
  ShowStored(format_, node.extClusterFormat);
  requiredDate_->setText(ToQ(node.extClusterRequiredDate));
  duration_->setText(QString::number(node.extClusterExpectedDuration));
  const int unit = node.extClusterExpectedDurationUnit;
  unit_->setCurrentIndex(unit >= 0 && unit < unit_->count() ? unit : -1);
  velk::CExtDirData* directory = ExternalDirectory();
  view_->setEnabled(directory && directory->FindItemById(node.extClusterSpecId));
}

bool CDlgNodePropertyEIDM::Validate() {
  if (velk::TakeInteger(UserInterface(), FromQ(duration_->text()), INT_MIN, INT_MAX)) return true;
  duration_->setFocus();
  return false;
}

void CDlgNodePropertyEIDM::Apply(velk::NodeAttributes& attributes) {
  attributes.extClusterInput = FromQ(input_->currentText());
  attributes.extClusterOutput = FromQ(output_->currentText());
  attributes.extClusterFormat = FromQ(format_->currentText());
  attributes.extClusterRequiredDate = FromQ(requiredDate_->text());
  attributes.extClusterExpectedDuration = velk::ParseInteger(FromQ(duration_->text()))
                                              .value_or(attributes.extClusterExpectedDuration);
  attributes.extClusterExpectedDurationUnit = unit_->currentIndex();
}

void CDlgNodePropertyEIDM::ViewExtDir() {
  velk::CExtDirData* directory = ExternalDirectory();
  if (!directory) return;
  if (velk::CExtDirItem* item = directory->FindItemById(NodeValues().extClusterSpecId))
    ShowExtDirItemProperties(window(), *item, nullptr);
}
