#pragma once
// "Activities": the activities to be done in the task, edited in place.

#include "dialogs/ui/nodepropertypage.h"

class QCheckBox;
class QListWidget;
class QMenu;

class CDlgNodePropertyActivities : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyActivities(const NodeSheetContext& context);

  void Apply(velk::NodeAttributes& attributes) override;

  QListWidget* List() const { return list_; }
  QMenu* CreateContextMenu(QWidget* parent);
  // "&Add Activity": a new entry whose label the user edits at once.
  void AddActivity();
  void DeleteActivities();

 protected:
  void OnInitPage() override;

 private:
  QCheckBox* enforce_;
  QListWidget* list_;
};
