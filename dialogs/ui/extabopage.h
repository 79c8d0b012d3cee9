#pragma once
// "External Subscribed Workflow": the GRI leaf a subscribed workflow is connected to.
// The page is in the sheet so that the tabs stand in their order; it shows and
// changes nothing yet.

#include "dialogs/ui/nodepropertypage.h"

class CDlgNodePropertyExtAbo : public CNodePropertyPage {
 public:
  explicit CDlgNodePropertyExtAbo(const NodeSheetContext& context)
      : CNodePropertyPage(context, velk::NodePage::ExtAbo) {}
};
