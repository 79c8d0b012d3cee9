#pragma once
// "GRI Info": the GRI leaf an In task is published as, with "View ExtDir" to
// open the leaf's property sheet. It only shows.

#include "dialogs/ui/griinfo.h"
#include "dialogs/ui/nodepropertypage.h"

class QPushButton;

class CDlgNodePropertyIn : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyIn(const NodeSheetContext& context);

  QPushButton* ViewButton() const { return view_; }
  void ViewExtDir();

 protected:
  void OnInitPage() override;

 private:
  CGriInfo* info_;
  QPushButton* view_;
  GriLeafFound found_;
};
