#pragma once
// The group of a workgroup or unit performer on the "Performer" page: its name,
// and whether the team is normal, has a team manager or a member count.

#include <QGroupBox>

#include "common/services.h"
#include "dialogs/performer.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

class CTeamGroup : public QGroupBox {
  Q_OBJECT
 public:
  struct Texts {
    QString title;
    QString nameLabel;
    QString countOption;
    QString objectPrefix;  // object names of the controls: prefix + "Name", ...
  };
  // The count check reports through `services`.
  CTeamGroup(velk::Services& services, const Texts& texts, QWidget* parent = nullptr);

  // Fills the name list (sorted) and the team-manager list (repository order).
  void Fill(const std::vector<std::string>& names, const std::vector<std::string>& persons);
  // Shows a stored team: its name, and the manager or the count when there is one.
  void ShowTeam(const std::string& name, const std::string& manager, int quantity);
  velk::TeamMode Mode() const;

  // The count must be an integer within 0 to 9999; says so when it is not.
  bool ValidateCount();
  velk::TeamChoice Choice() const;

 private:
  void UpdateEnables();

  velk::Services& services_;
  QComboBox* name_;
  QRadioButton* normal_;
  QRadioButton* withManager_;
  QRadioButton* withCount_;
  QComboBox* manager_;
  QLineEdit* count_;
};
