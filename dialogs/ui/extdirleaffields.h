#pragma once
// "Fields": the input and output fields of a leaf, either its own entries or
// those of a document type of the catalogue.

#include <QDialog>
#include <vector>

#include "dialogs/ui/extdirpage.h"
#include "extdir/extdiritem.h"

class QComboBox;
class QMenu;
class QTreeWidget;

class CDlgExtDirLeafFields : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirLeafFields(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void Apply() override;

  QTreeWidget* FieldList(bool input) const { return input ? inputList_ : outputList_; }
  QComboBox* DocumentType(bool input) const { return input ? inputType_ : outputType_; }
  // The context menu of a list; none for a list showing a document type.
  QMenu* CreateContextMenu(QTreeWidget* list, QWidget* parent);
  void InsertField(QTreeWidget* list);
  void DeleteFields(QTreeWidget* list);
  void EditField(QTreeWidget* list);

 protected:
  void OnInitPage() override;

 private:
  void ShowSide(QComboBox* type, QTreeWidget* list, const std::string& typeId);
  void FillList(QComboBox* type, QTreeWidget* list);
  void ApplySide(QComboBox* type, QTreeWidget* list, std::string& typeId,
                 std::vector<velk::ExtDirFieldEntry>& fields);

  QComboBox* inputType_;
  QTreeWidget* inputList_;
  QComboBox* outputType_;
  QTreeWidget* outputList_;
};

// "Edit Field Properties": one field row's name, description and type.
class CDlgEditFieldProperties : public QDialog {
  Q_OBJECT
 public:
  CDlgEditFieldProperties(const velk::ExtDirFieldEntry& field, QWidget* parent);
  velk::ExtDirFieldEntry Field() const;

 private:
  QLineEdit* name_;
  QLineEdit* description_;
  QComboBox* type_;
};
