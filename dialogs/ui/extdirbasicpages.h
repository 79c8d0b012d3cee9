#pragma once
// The "Basics" pages of the editable External Directory items: process view
// headers, organisations, folders and leafs.

#include "dialogs/ui/extdirpage.h"

class QCheckBox;
class QComboBox;

class CDlgExtDirHeader : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirHeader(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void Apply() override;

 protected:
  void OnInitPage() override;

 private:
  QLabel* orgName_;
  QLabel* headerId_;
  QLineEdit* procView_;
  QLineEdit* gateway_;
};

// Renaming an organisation renames it in every process view below it.
class CDlgExtDirOrg : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirOrg(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void Apply() override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* orgName_;
  QLineEdit* gateway_;
};

class CDlgExtDirFolder : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirFolder(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void Apply() override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* name_;
};

class CDlgExtDirLeafBasics : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirLeafBasics(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  bool Validate() override;
  void Apply() override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* name_;
  QLineEdit* description_;
  QLabel* canonical_;
  QLabel* leafId_;
  QComboBox* status_;
  QLineEdit* version_;
  QLineEdit* validUntil_;
  QCheckBox* tracking_;
  QLineEdit* duration_;
  QComboBox* unit_;
  QLineEdit* formatServer_;
};
