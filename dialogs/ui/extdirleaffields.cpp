#include "dialogs/ui/extdirleaffields.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/ui/dialoglists.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "repository/noteserror.h"

namespace {

const QString kNone = QStringLiteral("<none>");
const QColor kCatalogueBackground(192, 192, 192);

QTreeWidget* NewFieldList(const char* name) {
  auto* list = new QTreeWidget;
  list->setObjectName(QLatin1String(name));
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                         QStringLiteral("Description")});
  list->setColumnWidth(0, 100);
  list->setColumnWidth(1, 50);
  list->setColumnWidth(2, 180);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  return list;
}

void AddRow(QTreeWidget* list, const velk::ExtDirFieldEntry& field) {
  list->addTopLevelItem(
      new QTreeWidgetItem({ToQ(field.name), ToQ(field.type), ToQ(field.description)}));
}

velk::ExtDirFieldEntry RowOf(const QTreeWidgetItem* row) {
  return {FromQ(row->text(0)), FromQ(row->text(1)), FromQ(row->text(2))};
}

bool ShowsOwnFields(const QComboBox* type) {
  return type->currentText() == kNone;
}

}  // namespace

CDlgExtDirLeafFields::CDlgExtDirLeafFields(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree),
      inputType_(NewComboBox("inputDocumentType", false)),
      inputList_(NewFieldList("inputFields")),
      outputType_(NewComboBox("outputDocumentType", false)),
      outputList_(NewFieldList("outputFields")) {
  auto* layout = new QVBoxLayout(this);
  struct Side {
    const char* title;
    QComboBox* type;
    QTreeWidget* list;
  };
  for (const Side& side : {Side{"Input Fields", inputType_, inputList_},
                           Side{"Output Fields", outputType_, outputList_}}) {
    QComboBox* type = side.type;
    QTreeWidget* list = side.list;
    auto* group = new QGroupBox(QString::fromLatin1(side.title));
    auto* box = new QVBoxLayout(group);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Document Type:"), type);
    box->addLayout(form);
    box->addWidget(list);
    layout->addWidget(group);
    connect(type, &QComboBox::currentIndexChanged, this,
            [this, type, list] { FillList(type, list); });
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
      if (QMenu* menu = CreateContextMenu(list, this)) {
        menu->exec(list->viewport()->mapToGlobal(at));
        menu->deleteLater();
      }
    });
  }
}

void CDlgExtDirLeafFields::OnInitPage() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  for (QComboBox* type : {inputType_, outputType_}) {
    const QSignalBlocker quiet(type);
    type->addItem(kNone);
    for (const velk::DocumentTypeRecord& record : leaf.Data().DocumentTypes())
      if (!record.Name.empty()) type->addItem(ToQ(record.Name));
  }
  ShowSide(inputType_, inputList_, leaf.InputDocTypeID);
  ShowSide(outputType_, outputList_, leaf.OutputDocTypeID);
}

void CDlgExtDirLeafFields::ShowSide(QComboBox* type, QTreeWidget* list, const std::string& typeId) {
  const QSignalBlocker quiet(type);
  if (typeId.empty()) {
    type->setCurrentIndex(0);
  } else if (const velk::DocumentTypeRecord* record = item_.Data().FindDocumentType(typeId)) {
    type->setCurrentIndex(type->findText(ToQ(record->Name)));
  } else {
    ShowErrorMessage(item_.Data().UserInterface(),
                     "The Document Type ID " + typeId +
                         " was not found in External Directory.\nPlease inform your database "
                         "administrator!");
    // The unknown ID stays chosen, so applying keeps it.
    type->addItem(ToQ(typeId));
    type->setCurrentIndex(type->count() - 1);
  }
  FillList(type, list);
}

void CDlgExtDirLeafFields::FillList(QComboBox* type, QTreeWidget* list) {
  if (type->currentText().isEmpty()) type->setCurrentIndex(0);
  list->clear();
  const bool own = ShowsOwnFields(type);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, own ? QColor(Qt::white) : kCatalogueBackground);
  list->setPalette(palette);
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  if (own) {
    for (const velk::ExtDirFieldEntry& field : list == inputList_ ? leaf.InputFields
                                                                  : leaf.OutputFields)
      AddRow(list, field);
    return;
  }
  for (const velk::DocumentTypeRecord& record : leaf.Data().DocumentTypes()) {
    if (ToQ(record.Name) != type->currentText()) continue;
    for (const std::string& blockId : record.ContentBlockIDList)
      if (const velk::ContentBlockRecord* block = leaf.Data().FindContentBlock(blockId))
        for (const velk::ExtDirFieldEntry& field : block->ContentFieldList) AddRow(list, field);
    break;
  }
}

QMenu* CDlgExtDirLeafFields::CreateContextMenu(QTreeWidget* list, QWidget* parent) {
  QComboBox* type = list == inputList_ ? inputType_ : outputType_;
  if (!ShowsOwnFields(type)) return nullptr;
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Insert"), this, [this, list] { InsertField(list); });
  menu->addAction(QStringLiteral("&Delete"), this, [this, list] { DeleteFields(list); })
      ->setEnabled(list->topLevelItemCount() > 0);
  menu->addAction(QStringLiteral("Properties"), this, [this, list] { EditField(list); });
  return menu;
}

void CDlgExtDirLeafFields::InsertField(QTreeWidget* list) {
  AddRow(list, {"New Field", "Text", "No description"});
}

void CDlgExtDirLeafFields::DeleteFields(QTreeWidget* list) {
  qDeleteAll(list->selectedItems());
}

void CDlgExtDirLeafFields::EditField(QTreeWidget* list) {
  QTreeWidgetItem* first = nullptr;
  for (int i = 0; i < list->topLevelItemCount() && !first; ++i)
    if (list->topLevelItem(i)->isSelected()) first = list->topLevelItem(i);
  if (!first) return;
  CDlgEditFieldProperties dialog(RowOf(first), window());
  if (dialog.exec() != QDialog::Accepted) return;
  const velk::ExtDirFieldEntry field = dialog.Field();
  first->setText(0, ToQ(field.name));
  first->setText(1, ToQ(field.type));
  first->setText(2, ToQ(field.description));
}

void CDlgExtDirLeafFields::ApplySide(QComboBox* type, QTreeWidget* list, std::string& typeId,
                                     std::vector<velk::ExtDirFieldEntry>& fields) {
  if (ShowsOwnFields(type)) {
    typeId.clear();
  } else {
    for (const velk::DocumentTypeRecord& record : item_.Data().DocumentTypes()) {
      if (ToQ(record.Name) == type->currentText()) {
        typeId = record.DocumentTypeID;
        break;
      }
    }
  }
  fields.clear();
  if (!typeId.empty()) return;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const velk::ExtDirFieldEntry field = RowOf(list->topLevelItem(i));
    if (!field.name.empty() || !field.type.empty() || !field.description.empty())
      fields.push_back(field);
  }
}

void CDlgExtDirLeafFields::Apply() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  ApplySide(inputType_, inputList_, leaf.InputDocTypeID, leaf.InputFields);
  ApplySide(outputType_, outputList_, leaf.OutputDocTypeID, leaf.OutputFields);
  leaf.SetModified();
}

CDlgEditFieldProperties::CDlgEditFieldProperties(const velk::ExtDirFieldEntry& field,
                                                 QWidget* parent)
    : QDialog(parent),
      name_(NewLineEdit("name")),
      description_(NewLineEdit("description")),
      type_(NewComboBox("fieldType", false)) {
  setWindowTitle(QStringLiteral("Edit Field Properties"));
  type_->addItems({QStringLiteral("Text"), QStringLiteral("Number")});
  name_->setText(ToQ(field.name));
  description_->setText(ToQ(field.description));
  type_->setCurrentIndex(type_->findText(ToQ(field.type)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Name:"), name_);
  form->addRow(QStringLiteral("Description:"), description_);
  form->addRow(QStringLiteral("Fieldtype:"), type_);
  form->addRow(buttons);
}

velk::ExtDirFieldEntry CDlgEditFieldProperties::Field() const {
  const int chosen = type_->currentIndex();
  return {FromQ(name_->text()), chosen == 0 ? "Text" : chosen == 1 ? "Number" : "",
          FromQ(description_->text())};
}
