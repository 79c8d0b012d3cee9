#pragma once
// "GRI Info": the GRI leaf an In task is published as.
// The page is in the sheet so that the tabs stand in their order; it shows and
// changes nothing yet.

#include "dialogs/ui/nodepropertypage.h"

class CDlgNodePropertyIn : public CNodePropertyPage {
 public:
  explicit CDlgNodePropertyIn(const NodeSheetContext& context)
      : CNodePropertyPage(context, velk::NodePage::In) {}
};
