#pragma once
// "Modeler Information Center": the program's log. A tree with one item per
// category and the category's entries below it, each with its severity picture and
// the time it was added; the selected entry's text under "Description:". The
// window is hidden, never destroyed, when the user closes it.

#include <QDialog>
#include <QEvent>
#include <QSet>
#include <optional>
#include <vector>

#include "common/infocenter.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CInfoCenterWnd : public QDialog {
  Q_OBJECT
 public:
  // The private message the window sends its owner (the main frame) when the user
  // closes it; the owner hides the window.
  static constexpr QEvent::Type kHideMessage = static_cast<QEvent::Type>(35000);
  enum Column { MessageColumn, TimeColumn };
  enum Role {
    SeverityRole = Qt::UserRole,  // int: the entry's severity, or the highest of a category
    EntryRole,                    // int: index into Shown(); -1 for a category item
  };

  // Shows the entries of `center`. `owner` receives kHideMessage; without an owner
  // the window hides itself.
  explicit CInfoCenterWnd(const velk::InfoCenter& center, QWidget* owner = nullptr);

  // Brings the tree up to the Info Center's entries. New entries are appended and
  // the newest new error is selected; any other change rebuilds the tree, keeping
  // the selected entry and the collapsed categories.
  void Refresh();
  // "&Reset": rebuilds the tree from the stored entries with every category
  // expanded and the newest error, if any, selected.
  void Reset();

  QTreeWidget* Tree() const { return tree_; }
  QPlainTextEdit* Description() const { return description_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* ResetButton() const { return reset_; }
  QLabel* Summary() const { return summary_; }

  // The entries in the tree, in the Info Center's order.
  const std::vector<velk::InfoEntry>& Shown() const { return shown_; }
  // The entry behind `item`; nullptr for a category item.
  const velk::InfoEntry* EntryOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* CategoryItem(const std::string& category) const;
  // The selected entry or category as plain text, for the clipboard.
  QString SelectionText() const;

 public slots:
  // "&OK" and "&Abbrechen" (and Escape) both close the window.
  void accept() override;
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void RequestHide();
  // What a rebuild keeps: the collapsed categories and the selected entry or category.
  struct ViewState {
    QSet<QString> collapsed;
    std::optional<velk::InfoEntry> entry;
    QString category;
  };
  ViewState CaptureView() const;
  void Rebuild(const ViewState& view);
  // Adds shown_[index] to the tree; returns its item.
  QTreeWidgetItem* AddItem(int index);
  QTreeWidgetItem* EnsureCategoryItem(const std::string& category);
  void StyleTimeColumn(QTreeWidgetItem* item) const;
  void UpdateCategoryItem(QTreeWidgetItem* category, const velk::InfoEntry& latest);
  void SelectNewestError(int from);
  void ShowDescription();
  void UpdateSummary();
  void CopySelection() const;

  const velk::InfoCenter& center_;
  std::vector<velk::InfoEntry> shown_;
  QTreeWidget* tree_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* reset_ = nullptr;
};
