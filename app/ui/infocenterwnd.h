#pragma once
// PLACEHOLDER Info Center window until the real one lands: lists the entries of
// the Info Center by category. The main frame needs only create, show, hide,
// refresh and placement access, which the real window keeps.

#include <QDialog>

class QTreeWidget;
class QPlainTextEdit;

class CInfoCenterWnd : public QDialog {
  Q_OBJECT
 public:
  explicit CInfoCenterWnd(QWidget* parent = nullptr);

  // Fills the tree from the Info Center's entries.
  void Refresh();
  QTreeWidget* Tree() const { return tree_; }

 signals:
  // The user closed the window (it is hidden, not destroyed).
  void closedByUser();

 public slots:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowDescription();
  QTreeWidget* tree_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
};
