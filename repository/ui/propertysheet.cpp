#include "repository/ui/propertysheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertyPage::CPropertyPage(QString caption, QWidget* parent)
    : QWidget(parent), caption_(std::move(caption)) {}

void CPropertyPage::EnsureInitialised() {
  if (initialised_) return;
  initialised_ = true;
  OnInitPage();
  modified_ = false;  // filling the controls is no change
}

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent),
      tabs_(new QTabWidget),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      layout_(new QVBoxLayout(this)) {
  setWindowTitle(caption);
  layout_->addWidget(tabs_, 1);
  layout_->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CPropertySheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CPropertySheet::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &CPropertySheet::OnTabChanged);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  pages_.push_back(page);
  tabs_->addTab(page, page->Caption());
}

CPropertyPage* CPropertySheet::PageAt(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[static_cast<std::size_t>(index)];
}

void CPropertySheet::showEvent(QShowEvent* event) {
  if (CPropertyPage* page = ActivePage()) page->EnsureInitialised();
  QDialog::showEvent(event);
}

bool CPropertySheet::SetActivePage(int index) {
  if (index == active_) return true;
  CPropertyPage* left = ActivePage();
  if (left && left->IsInitialised() && !left->OnKillActive()) return false;
  ShowPage(index);
  return true;
}

void CPropertySheet::ShowPage(int index) {
  if (!PageAt(index)) return;
  PageAt(index)->EnsureInitialised();
  active_ = index;
  switching_ = true;
  tabs_->setCurrentIndex(index);
  switching_ = false;
}

void CPropertySheet::OnTabChanged(int index) {
  if (switching_) return;
  // The page being left stays in view while it is checked.
  switching_ = true;
  tabs_->setCurrentIndex(active_);
  switching_ = false;
  SetActivePage(index);
}

bool CPropertySheet::CanClose() {
  CPropertyPage* page = ActivePage();
  return !page || !page->IsInitialised() || page->OnKillActive();
}

void CPropertySheet::accept() {
  if (!CanClose()) return;
  for (CPropertyPage* page : pages_)
    if (page->IsInitialised()) page->OnOK();
  OnCommit();
  QDialog::accept();
}
