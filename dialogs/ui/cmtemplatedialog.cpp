#include "dialogs/ui/cmtemplatedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/contentmanagement.h"
#include "dialogs/ui/dialoglists.h"
#include "extdir/extdiritems.h"

CDlgSelectCMTemplate::CDlgSelectCMTemplate(std::vector<const velk::CExtDirItemCM*> templates,
                                           QWidget* parent)
    : QDialog(parent),
      templates_(std::move(templates)),
      name_(NewComboBox("templateName", true, 30)),
      description_(new QLabel),
      fields_(new QListWidget) {
  setWindowTitle(QStringLiteral("Select Content Management Template"));
  description_->setObjectName(QStringLiteral("templateDescription"));
  description_->setWordWrap(true);
  fields_->setObjectName(QStringLiteral("connectedFields"));
  for (const velk::CExtDirItemCM* t : templates_) AddSorted(name_, t->ContentManagementName);
  auto* group = new QGroupBox(QStringLiteral("Template"));
  auto* form = new QFormLayout(group);
  form->addRow(QStringLiteral("Name:"), name_);
  form->addRow(QStringLiteral("Description:"), description_);
  auto* connected = new QGroupBox(QStringLiteral("Connected Fields"));
  (new QVBoxLayout(connected))->addWidget(fields_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(connected, 1);
  layout->addWidget(buttons);
  connect(name_, &QComboBox::currentIndexChanged, this, &CDlgSelectCMTemplate::ShowTemplate);
  // The second entry is selected; with one template nothing is.
  name_->setCurrentIndex(name_->count() > 1 ? 1 : -1);
}

const velk::CExtDirItemCM* CDlgSelectCMTemplate::Named(const QString& name) const {
  for (const velk::CExtDirItemCM* t : templates_)
    if (ToQ(t->ContentManagementName) == name) return t;
  return nullptr;
}

void CDlgSelectCMTemplate::ShowTemplate() {
  fields_->clear();
  description_->clear();
  const velk::CExtDirItemCM* shown = Named(name_->currentText());
  if (!shown) return;
  description_->setText(ToQ(shown->FreeText));
  for (const std::string& entry : shown->ContentManagement)
    fields_->addItem(ToQ(velk::SwapConnection(entry)));
}

void CDlgSelectCMTemplate::accept() {
  chosen_ = name_->currentText().isEmpty() ? nullptr : Named(name_->currentText());
  QDialog::accept();
}
