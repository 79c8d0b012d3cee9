#pragma once
// The pages of "Modeler Settings" and "Workflow Databases": the internal and the
// external databases (path and server of three databases each, and "Browse"),
// and "Basics" (organisation name, grid, arrows, automatic arrangement).

#include <map>

#include "repository/databasepages.h"
#include "repository/ui/propertysheet.h"

class CDlgDatabaseSheet;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CDlgSettingsDatabasePage : public CPropertyPage {
  Q_OBJECT
 public:
  CDlgSettingsDatabasePage(velk::DatabasePage which, QString caption, CDlgDatabaseSheet& sheet);

  velk::DatabasePage Which() const { return which_; }
  QLineEdit* PathEdit(velk::DatabaseKind kind) const;
  QLineEdit* ServerEdit(velk::DatabaseKind kind) const;
  QPushButton* BrowseButton() const { return browse_; }
  // A line above the fields (the workflow sheet says what it changes).
  void SetNote(const QString& text);

  // The fields as shown ("Local" for the local machine); kinds of the other
  // page keep what `fields` held.
  void ReadFields(velk::DatabaseLocations& fields) const;
  void WriteField(velk::DatabaseKind kind, const velk::DatabaseLocation& shown);

  // Probes the databases; when all are accepted, takes them over.
  bool OnKillActive() override;
  // Writes the page's databases to "Default Settings".
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  struct Field {
    QLineEdit* path;
    QLineEdit* server;
  };
  const Field& FieldOf(velk::DatabaseKind kind) const;

  velk::DatabasePage which_;
  CDlgDatabaseSheet& sheet_;
  std::map<velk::DatabaseKind, Field> fields_;
  QLabel* note_;
  QPushButton* browse_;
};

class CDlgSettingsPropInternalDB : public CDlgSettingsDatabasePage {
  Q_OBJECT
 public:
  explicit CDlgSettingsPropInternalDB(CDlgDatabaseSheet& sheet);
};

class CDlgSettingsPropExternalDB : public CDlgSettingsDatabasePage {
  Q_OBJECT
 public:
  explicit CDlgSettingsPropExternalDB(CDlgDatabaseSheet& sheet);
};

// "Basics".
class CDlgSettingsPropAutoSave : public CPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgSettingsPropAutoSave(CDlgDatabaseSheet& sheet);

  QLineEdit* OrgNameEdit() const { return orgName_; }
  QLineEdit* GridSizeEdit() const { return gridSize_; }
  QComboBox* ArrowSizeList() const { return arrowSize_; }
  QCheckBox* MagneticBox() const { return magnetic_; }
  QCheckBox* VisibleBox() const { return visible_; }
  QComboBox* FactorList() const { return factor_; }

  // A grid size outside 1 to 250 is refused; otherwise the values are taken over.
  bool OnKillActive() override;
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  CDlgDatabaseSheet& sheet_;
  QLineEdit* orgName_;
  QLineEdit* gridSize_;
  QComboBox* arrowSize_;
  QCheckBox* magnetic_;
  QCheckBox* visible_;
  QComboBox* factor_;
};
