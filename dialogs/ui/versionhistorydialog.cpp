#include "dialogs/ui/versionhistorydialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "repository/vocabulary.h"

CDlgVersionHistory::CDlgVersionHistory(const std::string& workflowName,
                                       std::vector<velk::StoredVersion> versions, QWidget* parent)
    : QDialog(parent),
      versions_(std::move(versions)),
      list_(new QTreeWidget(this)),
      open_(new QPushButton(QStringLiteral("&Open Read-Only"), this)),
      compare_(new QPushButton(QStringLiteral("&Compare"), this)) {
  const QString name = QString::fromStdString(workflowName);
  setWindowTitle(QStringLiteral("Version History of \"%1\"").arg(name));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("Stored versions of \"%1\", newest first. Select one to open it, or two to "
                     "compare them.")
          .arg(name),
      this));
  list_->setHeaderLabels({QStringLiteral("Version"), QStringLiteral("Status"),
                          QStringLiteral("Last saved by"), QStringLiteral("When")});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setAccessibleName(QStringLiteral("Stored versions"));
  for (const velk::StoredVersion& v : versions_)
    list_->addTopLevelItem(new QTreeWidgetItem(
        QStringList{QString::number(v.header.version),
                    QString::fromStdString(WorkflowStatusToWord(v.header.status)),
                    QString::fromStdString(v.savedBy), QString::fromStdString(v.savedAt)}));
  for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(open_, QDialogButtonBox::ActionRole);
  buttons->addButton(compare_, QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(open_, &QPushButton::clicked, this, [this] { Choose(Choice::Open); });
  connect(compare_, &QPushButton::clicked, this, [this] { Choose(Choice::Compare); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CDlgVersionHistory::UpdateButtons);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { Choose(Choice::Open); });
  if (!versions_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
  UpdateButtons();
  resize(560, 320);
}

std::vector<int> CDlgVersionHistory::SelectedRows() const {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : list_->selectedItems())
    rows.push_back(list_->indexOfTopLevelItem(item));
  std::ranges::sort(rows);
  return rows;
}

void CDlgVersionHistory::UpdateButtons() {
  const std::size_t selected = SelectedRows().size();
  open_->setEnabled(selected == 1);
  compare_->setEnabled(selected == 2);
}

void CDlgVersionHistory::Choose(Choice choice) {
  const std::vector<int> rows = SelectedRows();
  if (rows.size() != (choice == Choice::Open ? 1u : 2u)) return;
  chosen_.clear();
  // The list is newest first: the lower row is the older version.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    chosen_.push_back(versions_[static_cast<std::size_t>(*row)]);
  choice_ = choice;
  accept();
}
