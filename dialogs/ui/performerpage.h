#pragma once
// "Performer": who performs the task (a person, workgroup, unit or role with its
// argument) and who may read it.

#include "dialogs/performer.h"
#include "dialogs/ui/nodepropertypage.h"

class CElementList;
class CTeamGroup;
class QComboBox;
class QGroupBox;
class QRadioButton;

class CDlgNodePropertyPerformer : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyPerformer(const NodeSheetContext& context);

  bool Validate() override;
  void Apply(velk::NodeAttributes& attributes) override;

  CElementList* Readers() const { return readers_; }

 protected:
  void OnInitPage() override;

 private:
  QGroupBox* BuildPersonGroup();
  QGroupBox* BuildRoleGroup();
  QGroupBox* BuildParameterGroup();
  QGroupBox* BuildFieldGroup();
  void FillLists();
  void ShowStoredPerformer();
  void ShowRole(const std::string& role, const std::string& argument);
  // The four groups occupy one place: only that of the chosen type is shown.
  void ShowTypeGroup();
  void ShowRoleArgumentGroup();
  void FillParameters(const std::string& role);
  void FillFields(const std::string& form);
  velk::RoleArgumentForm RoleForm() const;

  QComboBox* type_;
  QComboBox* person_;
  QGroupBox* personGroup_;
  CTeamGroup* workgroupGroup_;
  CTeamGroup* unitGroup_;
  QGroupBox* roleGroup_;
  QComboBox* role_;
  QRadioButton* simple_;
  QRadioButton* parameterOption_;
  QRadioButton* fieldOption_;
  QGroupBox* parameterGroup_;
  QComboBox* parameter_;
  QGroupBox* fieldGroup_;
  QComboBox* form_;
  QComboBox* field_;
  CElementList* readers_;
};
