#pragma once
// "External Subscribed Workflow": the GRI leaf a subscribed workflow is
// connected to, and the task it refers to. It only shows.

#include "dialogs/ui/nodepropertypage.h"

class CGriInfo;
class QLabel;

class CDlgNodePropertyExtAbo : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyExtAbo(const NodeSheetContext& context);

 protected:
  void OnInitPage() override;

 private:
  CGriInfo* info_;
  QLabel* taskName_;
};
