#include "dialogs/ui/extdirpage.h"

CExtDirPage::CExtDirPage(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : item_(item), tree_(tree) {}

void CExtDirPage::EnsureInitialised() {
  if (initialised_) return;
  initialised_ = true;
  OnInitPage();
}

QLabel* NewValueText(const char* objectName) {
  auto* label = new QLabel;
  label->setObjectName(QLatin1String(objectName));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(160);
  return label;
}

QLineEdit* NewLineEdit(const char* objectName) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QLatin1String(objectName));
  return edit;
}
