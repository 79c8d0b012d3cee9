#pragma once
// "Resources": the resources the task uses.

#include "dialogs/ui/nodepropertypage.h"

class QListWidget;
class QMenu;

class CDlgNodePropertyResources : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyResources(const NodeSheetContext& context);

  void Apply(velk::NodeAttributes& attributes) override;

  QListWidget* List() const { return list_; }
  QMenu* CreateContextMenu(QWidget* parent);
  // "&Add Resource": runs "Select Resource" and adds the chosen name.
  void AddResource();
  // "&Delete Resources": removes the selected entries without asking.
  void DeleteResources();

 protected:
  void OnInitPage() override;

 private:
  QListWidget* list_;
};
