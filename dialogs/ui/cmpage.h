#pragma once
// Content management: connects the fields of the task's forms with the needed
// fields of its GRI leaf. Direction 1 edits the node's "out" content-management
// fields, direction 0 its "in" fields.
// The page is in the sheet so that the tabs stand in their order; it shows and
// changes nothing yet.

#include "dialogs/ui/nodepropertypage.h"

class CDlgNodePropertyCM : public CNodePropertyPage {
 public:
  CDlgNodePropertyCM(const NodeSheetContext& context, int direction)
      : CNodePropertyPage(context, direction == 1 ? velk::NodePage::ContentManagementOut
                                                  : velk::NodePage::ContentManagementIn),
        direction_(direction) {}

  int Direction() const { return direction_; }

 private:
  int direction_;
};
