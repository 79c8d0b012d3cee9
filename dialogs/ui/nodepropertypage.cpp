#include "dialogs/ui/nodepropertypage.h"

#include "extdir/extdirlookup.h"

CNodePropertyPage::CNodePropertyPage(const NodeSheetContext& context, velk::NodePage page)
    : context_(context), page_(page) {}

void CNodePropertyPage::EnsureInitialised() {
  if (initialised_) return;
  initialised_ = true;
  OnInitPage();
}

velk::CExtDirData* CNodePropertyPage::ExternalDirectory() const {
  return context_.externalDirectory.DirectoryOf(context_.document.Top().Databases());
}
