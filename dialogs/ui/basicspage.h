#pragma once
// "Basics": name, task id, description, duration and its unit of every task.

#include "dialogs/ui/nodepropertypage.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class CDlgNodePropertyBasics : public CNodePropertyPage {
  Q_OBJECT
 public:
  static constexpr int kMaxDuration = 9999;

  explicit CDlgNodePropertyBasics(const NodeSheetContext& context);

  bool Validate() override;
  void Apply(velk::NodeAttributes& attributes) override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* name_;
  QLabel* taskId_;
  QPlainTextEdit* description_;
  QGroupBox* operational_;
  QLabel* durationLabel_;
  QLineEdit* duration_;
  QLabel* unitLabel_;
  QComboBox* unit_;
};
