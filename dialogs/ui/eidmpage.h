#pragma once
// "Ordered Sub-Workflow": forms, format and dates of an ordered external sub-workflow.
// The page is in the sheet so that the tabs stand in their order; it shows and
// changes nothing yet.

#include "dialogs/ui/nodepropertypage.h"

class CDlgNodePropertyEIDM : public CNodePropertyPage {
 public:
  explicit CDlgNodePropertyEIDM(const NodeSheetContext& context)
      : CNodePropertyPage(context, velk::NodePage::EIDM) {}
};
