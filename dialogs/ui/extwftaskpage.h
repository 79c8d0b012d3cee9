#pragma once
// "External Performer": the registered external organisation performing an
// external WWW step, with what the External Directory knows of it.

#include "dialogs/ui/nodepropertypage.h"

class QComboBox;
class QLabel;

class CDlgNodePropertyExtWFTask : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyExtWFTask(const NodeSheetContext& context);

  void Apply(velk::NodeAttributes& attributes) override;
  void ApplyToDocument() override;

  QComboBox* Performer() const { return performer_; }
  // The details of the organisation the drop-down names, or none.
  void ShowDetails();

 protected:
  void OnInitPage() override;

 private:
  QComboBox* performer_;
  std::string member_;  // what Apply stored, for the picture
};
