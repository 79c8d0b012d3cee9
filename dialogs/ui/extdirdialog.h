#pragma once
// "Item Properties" as a dialog: the pages the item's class calls for, in tab
// order, and the title of that class. OK writes every page that was shown.

#include <QDialog>
#include <vector>

#include "dialogs/ui/extdirpage.h"
#include "dialogs/ui/lazytabs.h"

class QTabWidget;

class CDlgExtDir : public QDialog {
  Q_OBJECT
 public:
  CDlgExtDir(const QString& caption, velk::CExtDirItem& item, velk::CExtDirTree* tree,
             QWidget* parent = nullptr);
  ~CDlgExtDir() override;

  QTabWidget* Tabs() const { return tabs_; }
  CExtDirPage* PageAt(int index) const;
  bool HasPages() const { return !pages_.empty(); }

  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void AddPages(velk::CExtDirItem& item, velk::CExtDirTree* tree);
  void OnTabChanged(int index);

  QTabWidget* tabs_;
  std::vector<CExtDirPage*> pages_;  // in tab order, owned by the tabs
  LazyTabState tabState_;
};
