#include "dialogs/ui/nodepropertypage.h"

CNodePropertyPage::CNodePropertyPage(const NodeSheetContext& context, velk::NodePage page)
    : context_(context), page_(page) {}

void CNodePropertyPage::EnsureInitialised() {
  if (initialised_) return;
  initialised_ = true;
  OnInitPage();
}
