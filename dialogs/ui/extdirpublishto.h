#pragma once
// "Publish To" and "Reference Workflows" of a leaf.

#include "dialogs/ui/extdirpage.h"

class QComboBox;
class QListWidget;
class QMenu;

// Who may see a published leaf: everybody, the web, or the listed organisations.
class CDlgExtDirPublishTo : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirPublishTo(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void Apply() override;

  QListWidget* Organisations() const { return list_; }
  QMenu* CreateContextMenu(QWidget* parent);
  void AddOrganisation();
  void DeleteOrganisations();

 protected:
  void OnInitPage() override;

 private:
  QComboBox* mode_;
  QListWidget* list_;
};

// The workflows referring to a leaf; nothing is listed and nothing changes.
class CDlgExtDirLeafReference : public CExtDirPage {
  Q_OBJECT
 public:
  CDlgExtDirLeafReference(velk::CExtDirItem& item, velk::CExtDirTree* tree);

 protected:
  void OnInitPage() override {}
};
