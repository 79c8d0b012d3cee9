#include "dialogs/ui/selectresource.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/guiservices.h"
#include "dialogs/tasklistpages.h"
#include "dialogs/ui/dialoglists.h"

CDlgSelectResource::CDlgSelectResource(const std::vector<std::string>& resources,
                                       const std::vector<std::string>& taskResources,
                                       QWidget* parent)
    : QDialog(parent), resource_(NewComboBox("resource", true, 24)) {
  setWindowTitle(QStringLiteral("Select Resource"));
  AddAll(resource_, velk::SelectResourceChoices(resources, taskResources), false);
  resource_->setCurrentIndex(resource_->count() > 0 ? 0 : -1);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  UseAbbrechen(box);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(resource_);
  layout->addWidget(box);
}

void CDlgSelectResource::accept() {
  chosen_ = FromQ(resource_->currentText());
  QDialog::accept();
}
