#pragma once
// Tabbed property sheets: a page reads its values the first time it is shown,
// checks them when it is left (a page whose check fails stays in front), and
// writes them when the sheet closes with OK. Pages never shown write nothing;
// Cancel writes nothing.

#include <QDialog>
#include <QWidget>
#include <vector>

class QDialogButtonBox;
class QTabWidget;
class QVBoxLayout;

class CPropertyPage : public QWidget {
  Q_OBJECT
 public:
  explicit CPropertyPage(QString caption, QWidget* parent = nullptr);

  const QString& Caption() const { return caption_; }
  bool IsInitialised() const { return initialised_; }
  // Reads the values unless the page has done so already.
  void EnsureInitialised();

  // Leaving the page, and OK while it is in front: false keeps it in front (the
  // check has told the user why).
  virtual bool OnKillActive() { return true; }
  // OK, for every page that was shown.
  virtual void OnOK() {}

  // Changes made since the values were last taken over.
  bool IsModified() const { return modified_; }
  void SetModified(bool modified = true) { modified_ = modified; }

 protected:
  virtual void OnInitPage() {}

 private:
  QString caption_;
  bool initialised_ = false;
  bool modified_ = false;
};

class CPropertySheet : public QDialog {
  Q_OBJECT
 public:
  explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr);

  // The sheet takes the page; tabs follow the order of adding.
  void AddPage(CPropertyPage* page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  CPropertyPage* PageAt(int index) const;
  CPropertyPage* ActivePage() const { return PageAt(active_); }
  int ActiveIndex() const { return active_; }
  // Brings the page to the front after the page in front passed its check;
  // false when it did not.
  bool SetActivePage(int index);
  QTabWidget* Tabs() const { return tabs_; }
  QDialogButtonBox* Buttons() const { return buttons_; }

  // Checks (CanClose), then the OK step of every page shown, then OnCommit.
  void accept() override;

 protected:
  // Before the pages' OK steps; false keeps the sheet open. Default: the check
  // of the page in front.
  virtual bool CanClose();
  // After the pages' OK steps.
  virtual void OnCommit() {}
  // Brings a page to the front without checking the page in front.
  void ShowPage(int index);
  QVBoxLayout* Layout() const { return layout_; }
  void showEvent(QShowEvent* event) override;

 private:
  void OnTabChanged(int index);

  QTabWidget* tabs_;
  QDialogButtonBox* buttons_;
  QVBoxLayout* layout_;
  std::vector<CPropertyPage*> pages_;
  int active_ = 0;
  bool switching_ = false;
};
