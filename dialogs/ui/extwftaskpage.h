#pragma once
// "External Performer": the external organisation performing an external WWW step.
// The page is in the sheet so that the tabs stand in their order; it shows and
// changes nothing yet.

#include "dialogs/ui/nodepropertypage.h"

class CDlgNodePropertyExtWFTask : public CNodePropertyPage {
 public:
  explicit CDlgNodePropertyExtWFTask(const NodeSheetContext& context)
      : CNodePropertyPage(context, velk::NodePage::ExtWFTask) {}
};
