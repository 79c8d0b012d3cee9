#pragma once
// "Ordered Sub-Workflow": forms, format, dates and expected duration of an
// ordered external sub-workflow, and the External Directory item specifying it.

#include "dialogs/ui/nodepropertypage.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgNodePropertyEIDM : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyEIDM(const NodeSheetContext& context);

  bool Validate() override;
  void Apply(velk::NodeAttributes& attributes) override;

  QPushButton* ViewButton() const { return view_; }
  void ViewExtDir();

 protected:
  void OnInitPage() override;

 private:
  QComboBox* input_;
  QComboBox* output_;
  QComboBox* format_;
  QLineEdit* requiredDate_;
  QLineEdit* duration_;
  QComboBox* unit_;
  QPushButton* view_;
};
