#pragma once
// The base of the External Directory item sheet's pages, and the small widgets
// they share. A page reads its item the first time the sheet shows it and
// changes the item only when the sheet closes with OK.

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace velk {
class CExtDirItem;
class CExtDirTree;
}  // namespace velk

class CExtDirPage : public QWidget {
  Q_OBJECT
 public:
  CExtDirPage(velk::CExtDirItem& item, velk::CExtDirTree* tree);

  bool IsInitialised() const { return initialised_; }
  void EnsureInitialised();
  // A failed check has told the user; the page stays in front.
  virtual bool Validate() { return true; }
  // Writes the controls into the item (OK, pages shown at least once).
  virtual void Apply() {}

 protected:
  virtual void OnInitPage() = 0;

  velk::CExtDirItem& item_;
  velk::CExtDirTree* tree_;

 private:
  bool initialised_ = false;
};

// A read-only value beside its label.
QLabel* NewValueText(const char* objectName);
QLineEdit* NewLineEdit(const char* objectName);
