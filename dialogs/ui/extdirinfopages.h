#pragma once
// The read-only pages of the External Directory item sheet: registered persons,
// EIDM requests and EIDM organisations.

#include <string>
#include <utility>
#include <vector>

#include "dialogs/ui/extdirpage.h"

class QFormLayout;
class QListWidget;

// Rows of label and value; the subclass names the values when the page is shown.
class CExtDirInfoPage : public CExtDirPage {
  Q_OBJECT
 public:
  using CExtDirPage::CExtDirPage;

 protected:
  // A group of value rows: (label, object name of the value).
  QFormLayout* AddGroup(const char* title, std::vector<std::pair<const char*, const char*>> rows);
  void Show(const char* objectName, const std::string& value);
  // A disabled list of names with the person icon.
  QListWidget* AddNameList(QFormLayout* form, const char* label, const char* objectName);
  void ShowNames(QListWidget* list, const std::vector<std::string>& names);
};

class CDlgExtDirPerson : public CExtDirInfoPage {
  Q_OBJECT
 public:
  CDlgExtDirPerson(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override;
};

class CDlgExtDirEIDMBasics : public CExtDirInfoPage {
  Q_OBJECT
 public:
  CDlgExtDirEIDMBasics(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override;
};

class CDlgExtDirEIDMMaster : public CExtDirInfoPage {
  Q_OBJECT
 public:
  CDlgExtDirEIDMMaster(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override;
};

class CDlgExtDirEIDMSub : public CExtDirInfoPage {
  Q_OBJECT
 public:
  CDlgExtDirEIDMSub(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override;

 private:
  QListWidget* responsible_;
};

class CDlgExtDirEIDMOrg : public CExtDirInfoPage {
  Q_OBJECT
 public:
  CDlgExtDirEIDMOrg(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override;

 private:
  QListWidget* responsible_;
};
