#include "dialogs/ui/workflowchooserdialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ui/guiservices.h"
#include "dialogs/ui/chooserimages.h"

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The group "Current Process Definition Database" showing the database's name.
QGroupBox* DatabaseGroup(QLabel* name) {
  auto* group = new QGroupBox(QStringLiteral("Current Process Definition Database"));
  name->setObjectName(QStringLiteral("database"));
  name->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(name);
  return group;
}

QIcon BlankIcon() {
  QPixmap blank(kChooserImageSize);
  blank.fill(Qt::transparent);
  return QIcon(blank);
}

QDialogButtonBox* Buttons(QDialog* dialog) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  UseAbbrechen(box);
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

}  // namespace

// ---- Load workflow ----

CDlgLoadWorkflow::CDlgLoadWorkflow(velk::CProcessDefDb& repository, QWidget* parent)
    : QDialog(parent),
      chooser_(repository),
      database_(new QLabel),
      filter_(new QComboBox),
      tree_(new QTreeWidget) {
  setWindowTitle(QStringLiteral("Load workflow"));
  filter_->setObjectName(QStringLiteral("filter"));
  for (const std::string& text : velk::ChooserFilterTexts()) filter_->addItem(Q(text));
  tree_->setObjectName(QStringLiteral("workflows"));
  tree_->setHeaderHidden(true);
  tree_->setIconSize(kChooserImageSize);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setMinimumSize(380, 260);

  auto* choose = new QGroupBox(QStringLiteral("Please choose a workflow or module"));
  auto* chooseLayout = new QVBoxLayout(choose);
  chooseLayout->addWidget(filter_);
  chooseLayout->addWidget(tree_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DatabaseGroup(database_));
  layout->addWidget(choose, 1);
  layout->addWidget(Buttons(this));

  chooser_.Open();
  database_->setText(Q(chooser_.DatabaseName()));
  filter_->setCurrentIndex(static_cast<int>(velk::ChooserFilter::All));
  FillTree();
  connect(filter_, &QComboBox::currentIndexChanged, this, [this](int position) {
    chooser_.SetFilter(static_cast<velk::ChooserFilter>(position));
    FillTree();
  });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (item && item->parent()) accept();
  });
}

void CDlgLoadWorkflow::FillTree() {
  tree_->clear();
  for (const velk::ChooserCategory& category : chooser_.Tree()) {
    auto* root = new QTreeWidgetItem(tree_, {Q(category.name)});
    root->setIcon(0, ChooserCategoryIcon());
    for (const velk::ChooserVersion& version : category.versions) {
      auto* item = new QTreeWidgetItem(root, {Q(version.text)});
      item->setIcon(0, ChooserVersionIcon(version.image));
    }
    root->setExpanded(true);
  }
}

void CDlgLoadWorkflow::accept() {
  QTreeWidgetItem* item = tree_->currentItem();
  std::optional<std::string> text;
  if (item && item->isSelected() && item->parent()) text = item->text(0).toStdString();
  switch (chooser_.Accept(text, chosen_)) {
    case velk::LoadWorkflowChooser::Outcome::Chosen:
      QDialog::accept();
      break;
    case velk::LoadWorkflowChooser::Outcome::Gone:
      FillTree();  // the version is no longer stored: show what is
      break;
    case velk::LoadWorkflowChooser::Outcome::NothingChosen:
      break;
  }
}

// ---- Save Workflow as ----

CDlgSaveWorkflowAs::CDlgSaveWorkflowAs(velk::Services& services, velk::CWorkflowDoc* doc,
                                       QWidget* parent)
    : QDialog(parent),
      chooser_(services, doc),
      database_(new QLabel),
      name_(new QLineEdit),
      versions_(new QListWidget) {
  setWindowTitle(QStringLiteral("Save Workflow as"));
  name_->setObjectName(QStringLiteral("name"));
  versions_->setObjectName(QStringLiteral("versions"));
  versions_->setSelectionMode(QAbstractItemView::SingleSelection);
  versions_->setIconSize(kChooserImageSize);
  versions_->setMinimumSize(380, 200);

  auto* save = new QGroupBox(QStringLiteral("Save Workflow as"));
  auto* saveLayout = new QVBoxLayout(save);
  saveLayout->addWidget(name_);
  saveLayout->addWidget(versions_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DatabaseGroup(database_));
  layout->addWidget(save, 1);
  layout->addWidget(Buttons(this));

  if (!chooser_.Open()) return;
  database_->setText(Q(chooser_.DatabaseName()));
  for (const velk::SaveWorkflowAsChooser::Entry& entry : chooser_.Entries()) {
    auto* item = new QListWidgetItem(Q(entry.text), versions_);
    // Only Design, Active and Freeze have an icon of their own; the others keep
    // the place free so that the names line up.
    item->setIcon(entry.icon >= 0 ? ChooserVersionIcon(entry.icon + 2) : BlankIcon());
  }
  name_->setText(Q(chooser_.Name()));
  connect(versions_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    chooser_.Select(static_cast<std::size_t>(row));
    name_->setText(Q(chooser_.Name()));
  });
}

void CDlgSaveWorkflowAs::accept() {
  chooser_.SetName(name_->text().toStdString());
  chooser_.Accept();
  QDialog::accept();
}
