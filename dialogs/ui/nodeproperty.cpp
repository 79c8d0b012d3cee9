#include "dialogs/ui/nodeproperty.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/services.h"
#include "dialogs/ui/dialoglists.h"

CDlgNodeProperty::CDlgNodeProperty(const QString& caption, velk::CWorkflowDoc& document,
                                   velk::CNode& node, velk::RepositoryLists lists,
                                   const velk::CExtDirLookup& externalDirectory, QWidget* parent)
    : QDialog(parent),
      lists_(std::move(lists)),
      context_{document, node, lists_, externalDirectory},
      basics_(context_),
      performer_(context_),
      resources_(context_),
      forms_(context_),
      activities_(context_),
      extWFTask_(context_),
      extAbo_(context_),
      eidm_(context_),
      in_(context_),
      outgoingCM_(context_, 1),
      incomingCM_(context_, 0),
      tabs_(new QTabWidget) {
  const velk::NodeSheetLayout layout =
      velk::LayoutForNodeKind(static_cast<int>(node.Kind()), FromQ(caption));
  setWindowTitle(ToQ(layout.title));
  // Every tab stays readable: the sheet grows to the width of its tab row.
  tabs_->setUsesScrollButtons(false);
  for (std::size_t i = 0; i < layout.pages.size(); ++i) {
    CNodePropertyPage& page = PageOf(layout.pages[i]);
    tabs_->addTab(&page, ToQ(layout.captions[i]));
    shown_.push_back(&page);
  }
  // The pages are members; they leave the tabs before the dialog deletes its children.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* box = new QVBoxLayout(this);
  box->addWidget(tabs_, 1);
  box->addWidget(buttons);
  connect(tabs_, &QTabWidget::currentChanged, this, &CDlgNodeProperty::OnTabChanged);
}

CDlgNodeProperty::~CDlgNodeProperty() {
  // Taking the pages out changes the current tab; no page may be read then.
  disconnect(tabs_, nullptr, this, nullptr);
  // Members go before the tab widget: take them out of it first.
  for (CNodePropertyPage* page : shown_) page->setParent(nullptr);
}

CNodePropertyPage* CDlgNodeProperty::PageAt(int index) const {
  return index >= 0 && index < static_cast<int>(shown_.size())
             ? shown_[static_cast<std::size_t>(index)]
             : nullptr;
}

CNodePropertyPage& CDlgNodeProperty::PageOf(velk::NodePage page) {
  using P = velk::NodePage;
  switch (page) {
    case P::Basics:
      break;
    case P::Performer:
      return performer_;
    case P::Forms:
      return forms_;
    case P::Activities:
      return activities_;
    case P::Resources:
      return resources_;
    case P::ExtWFTask:
      return extWFTask_;
    case P::ExtAbo:
      return extAbo_;
    case P::EIDM:
      return eidm_;
    case P::In:
      return in_;
    case P::ContentManagementOut:
      return outgoingCM_;
    case P::ContentManagementIn:
      return incomingCM_;
  }
  return basics_;
}

void CDlgNodeProperty::showEvent(QShowEvent* event) {
  if (CNodePropertyPage* page = PageAt(tabs_->currentIndex())) page->EnsureInitialised();
  QDialog::showEvent(event);
}

void CDlgNodeProperty::OnTabChanged(int index) {
  OnLazyTabChanged(*tabs_, tabState_, index, [this](int i) { return PageAt(i); });
}

void CDlgNodeProperty::accept() {
  CNodePropertyPage* current = PageAt(tabs_->currentIndex());
  if (current && current->IsInitialised() && !current->Validate()) return;
  velk::NodeAttributes attributes = context_.node.Attributes();
  for (CNodePropertyPage* page : shown_)
    if (page->IsInitialised()) page->Apply(attributes);
  context_.document.SetNodeAttributes(context_.node, std::move(attributes));
  for (CNodePropertyPage* page : shown_)
    if (page->IsInitialised()) page->ApplyToDocument();
  QDialog::accept();
}

void CDlgNodeProperty::done(int result) {
  // What the pages wrote into the status line belongs to the sheet.
  context_.document.UserInterface().showStatusText({});
  QDialog::done(result);
}
