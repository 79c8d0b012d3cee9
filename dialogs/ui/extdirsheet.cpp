#include "dialogs/ui/extdirsheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/ui/extdirbasicpages.h"
#include "dialogs/ui/extdirdialog.h"
#include "dialogs/ui/extdirinfopages.h"
#include "dialogs/ui/extdirleaffields.h"
#include "dialogs/ui/extdirpublishto.h"
#include "extdir/extdiritems.h"

namespace {

using velk::ExtDirKind;

const char* TitleOf(const velk::CExtDirItem& item) {
  switch (item.Kind()) {
    case ExtDirKind::GRIProcView:
      return "Process View Header Properties";
    case ExtDirKind::GRIOrg:
      return "Organization Header Properties";
    case ExtDirKind::GRIFolder:
      return "Folder Properties";
    case ExtDirKind::GRILeaf:
      return "Published Item Properties";
    case ExtDirKind::ExtRegOrg:
      return "External registered Organization Properties";
    case ExtDirKind::EIDM:
      return "External Sub-Workflow Properties";
    case ExtDirKind::EIDMOrg:
      return "External Sub-Workflow Organization";
    case ExtDirKind::Item:
    case ExtDirKind::CM:
      break;
  }
  return nullptr;
}

}  // namespace

CDlgExtDir::CDlgExtDir(const QString& caption, velk::CExtDirItem& item, velk::CExtDirTree* tree,
                       QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget) {
  const char* title = TitleOf(item);
  setWindowTitle(title ? QString::fromLatin1(title) : caption);
  setMinimumWidth(440);  // the one-page sheets would otherwise squeeze their edits
  AddPages(item, tree);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* box = new QVBoxLayout(this);
  box->addWidget(tabs_, 1);
  box->addWidget(buttons);
  connect(tabs_, &QTabWidget::currentChanged, this, &CDlgExtDir::OnTabChanged);
}

void CDlgExtDir::AddPages(velk::CExtDirItem& item, velk::CExtDirTree* tree) {
  auto add = [this](CExtDirPage* page, const char* caption) {
    tabs_->addTab(page, QString::fromLatin1(caption));
    pages_.push_back(page);
  };
  switch (item.Kind()) {
    case ExtDirKind::GRIProcView:
      add(new CDlgExtDirHeader(item, tree), "Basics");
      break;
    case ExtDirKind::GRIOrg:
      add(new CDlgExtDirOrg(item, tree), "Basics");
      break;
    case ExtDirKind::GRIFolder:
      add(new CDlgExtDirFolder(item, tree), "Basics");
      break;
    case ExtDirKind::GRILeaf:
      add(new CDlgExtDirLeafBasics(item, tree), "Basics");
      add(new CDlgExtDirLeafFields(item, tree), "Fields");
      add(new CDlgExtDirPublishTo(item, tree), "Publish To");
      if (static_cast<velk::CExtDirItemGRILeaf&>(item).IsPublished())
        add(new CDlgExtDirLeafReference(item, tree), "Reference Workflows");
      break;
    case ExtDirKind::ExtRegOrg:
      add(new CDlgExtDirPerson(item, tree), "Basics");
      break;
    case ExtDirKind::EIDM:
      add(new CDlgExtDirEIDMBasics(item, tree), "Basics");
      add(new CDlgExtDirEIDMMaster(item, tree), "Master Organization");
      add(new CDlgExtDirEIDMSub(item, tree), "Sub Organization");
      break;
    case ExtDirKind::EIDMOrg:
      add(new CDlgExtDirEIDMOrg(item, tree), "EIDM Organization");
      break;
    case ExtDirKind::Item:
    case ExtDirKind::CM:
      break;
  }
}

CDlgExtDir::~CDlgExtDir() {
  // The pages go with the tabs; no page may be read while they do.
  disconnect(tabs_, nullptr, this, nullptr);
}

CExtDirPage* CDlgExtDir::PageAt(int index) const {
  return index >= 0 && index < static_cast<int>(pages_.size())
             ? pages_[static_cast<std::size_t>(index)]
             : nullptr;
}

void CDlgExtDir::showEvent(QShowEvent* event) {
  if (CExtDirPage* page = PageAt(tabs_->currentIndex())) page->EnsureInitialised();
  QDialog::showEvent(event);
}

void CDlgExtDir::OnTabChanged(int index) {
  OnLazyTabChanged(*tabs_, tabState_, index, [this](int i) { return PageAt(i); });
}

void CDlgExtDir::accept() {
  for (CExtDirPage* page : pages_)
    if (page->IsInitialised() && !page->Validate()) {
      tabs_->setCurrentWidget(page);
      return;
    }
  for (CExtDirPage* page : pages_)
    if (page->IsInitialised()) page->Apply();
  QDialog::accept();
}

bool HasExtDirItemProperties(const velk::CExtDirItem& item) {
  return TitleOf(item) != nullptr;
}

bool ShowExtDirItemProperties(QWidget* parent, velk::CExtDirItem& item, velk::CExtDirTree* tree) {
  if (!HasExtDirItemProperties(item)) return false;
  CDlgExtDir sheet(QStringLiteral("Item Properties"), item, tree, parent);
  return sheet.exec() == QDialog::Accepted;
}
