#include "dialogs/ui/cmpage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/services.h"
#include "dialogs/ui/cmtemplatedialog.h"
#include "dialogs/ui/dialoglists.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "repository/vocabulary.h"

namespace {

constexpr int kAdhoc = 2;

QListWidget* NewList(const char* name, bool sorted) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(name));
  list->setSortingEnabled(sorted);
  return list;
}

QPushButton* NewButton(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(QLatin1String(name));
  return button;
}

QWidget* Titled(const char* title, QWidget* widget) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QString::fromLatin1(title)));
  layout->addWidget(widget);
  return box;
}

void Tell(velk::Services& services, const char* text) {
  services.messageBox(text, velk::MsgIcon::None, velk::MsgButtons::Ok);
}

void SelectRow(QListWidget* list, int row) {
  if (list->count() == 0 || row < 0) return;
  list->setCurrentRow(std::min(row, list->count() - 1));
}

}  // namespace

CDlgNodePropertyCM::CDlgNodePropertyCM(const NodeSheetContext& context, int direction)
    : CNodePropertyPage(context, direction == 1 ? velk::NodePage::ContentManagementOut
                                                : velk::NodePage::ContentManagementIn),
      direction_(direction),
      type_(NewComboBox("contentManagementType", true, 12)),
      blocks_(NewList("contentBlocks", false)),
      contents_(NewList("contentFields", true)),
      description_(new QLabel),
      needed_(NewList("neededFields", true)),
      reset_(NewButton("Reset", "reset")),
      connect_(NewButton("Connect", "connect")),
      disconnect_(NewButton("Disconnect", "disconnect")),
      template_(NewButton("Apply Template", "applyTemplate")) {
  description_->setObjectName(QStringLiteral("fieldDescription"));
  description_->setWordWrap(true);
  for (const std::string& word : ContentManagementKindWords()) type_->addItem(ToQ(word));
  auto* typeRow = new QFormLayout;
  typeRow->addRow(QStringLiteral("Content Management Type"), type_);
  auto* internal = new QGroupBox(QStringLiteral("Internal Workflow"));
  auto* internalRow = new QHBoxLayout(internal);
  internalRow->addWidget(Titled("Content Blocks", blocks_));
  internalRow->addWidget(Titled("Content Fields", contents_));
  auto* external = new QGroupBox(QStringLiteral("External Workflow"));
  auto* externalColumn = new QVBoxLayout(external);
  externalColumn->addWidget(Titled("Field Description", description_));
  externalColumn->addWidget(Titled("Needed Fields", needed_), 1);
  auto* lists = new QHBoxLayout;
  lists->addWidget(internal, 2);
  lists->addWidget(external, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {reset_, connect_, disconnect_, template_}) buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(typeRow);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);

  connect(blocks_, &QListWidget::currentRowChanged, this, [this] {
    FillContents();
    UpdateButtons();
  });
  connect(contents_, &QListWidget::currentRowChanged, this, &CDlgNodePropertyCM::UpdateButtons);
  connect(needed_, &QListWidget::currentRowChanged, this, [this] {
    UpdateButtons();
    ShowNeededDescription();
  });
  connect(type_, &QComboBox::currentIndexChanged, this, &CDlgNodePropertyCM::ApplyTypeRule);
  connect(reset_, &QPushButton::clicked, this, &CDlgNodePropertyCM::Reset);
  connect(connect_, &QPushButton::clicked, this, &CDlgNodePropertyCM::Connect);
  connect(disconnect_, &QPushButton::clicked, this, &CDlgNodePropertyCM::Disconnect);
  connect(template_, &QPushButton::clicked, this, &CDlgNodePropertyCM::ApplyTemplate);
}

const std::vector<std::string>& CDlgNodePropertyCM::StoredList() const {
  return direction_ == 1 ? NodeValues().outContentManagement : NodeValues().inContentManagement;
}

void CDlgNodePropertyCM::OnInitPage() {
  const int code =
      direction_ == 1 ? NodeValues().outContentManagementType : NodeValues().inContentManagementType;
  {
    const QSignalBlocker quiet(type_);
    type_->setCurrentIndex(type_->findText(ToQ(ContentManagementKindToWord(code))));
  }
  state_.ReadStored(StoredList());
  state_.AddFormFields(velk::ContentFormNames(context_.node), Lists().forms);
  FillBlocks();
  LoadNeededFields();
  UpdateButtons();
  ApplyTypeRule();
}

void CDlgNodePropertyCM::LoadNeededFields() {
  state_.ClearNeededFields();
  const std::string& griId = NodeValues().griId;
  if (griId.empty()) {
    for (QWidget* w : std::initializer_list<QWidget*>{type_, blocks_, contents_, needed_})
      w->setEnabled(false);
  } else if (velk::CExtDirData* directory = ExternalDirectory()) {
    state_.SetNeededFields(velk::LoadNeededFields(*directory, griId, direction_), StoredList());
  } else {
    // Without a directory the leaf cannot be found either.
    velk::ReportMissingGriLeaf(UserInterface(), griId);
  }
  FillNeeded();
}

void CDlgNodePropertyCM::FillBlocks() {
  const QSignalBlocker quiet(blocks_);
  blocks_->clear();
  for (const velk::ContentBlock& block : state_.Blocks())
    blocks_->addItem(ToQ(velk::ContentManagementState::BlockLabel(block)));
}

std::string CDlgNodePropertyCM::SelectedBlock() const {
  const QListWidgetItem* item = blocks_->currentItem();
  return item ? velk::ContentManagementState::BlockNameOfLabel(FromQ(item->text()))
              : std::string();
}

void CDlgNodePropertyCM::FillContents() {
  const QSignalBlocker quiet(contents_);
  contents_->clear();
  for (const std::string& entry : state_.ContentEntries(SelectedBlock()))
    contents_->addItem(ToQ(entry));
}

void CDlgNodePropertyCM::FillNeeded() {
  const QSignalBlocker quiet(needed_);
  needed_->clear();
  for (const std::string& name : state_.NeededNames()) needed_->addItem(ToQ(name));
}

void CDlgNodePropertyCM::Refill(int block, int content, int needed) {
  FillBlocks();
  SelectRow(blocks_, block);
  FillContents();
  SelectRow(contents_, content);
  FillNeeded();
  SelectRow(needed_, needed);
  UpdateButtons();
  ShowNeededDescription();
}

void CDlgNodePropertyCM::UpdateButtons() {
  const QListWidgetItem* content = contents_->currentItem();
  const bool connected = content && velk::IsConnection(FromQ(content->text()));
  connect_->setEnabled(content && !connected && needed_->currentItem());
  disconnect_->setEnabled(connected);
}

void CDlgNodePropertyCM::ShowNeededDescription() {
  const QListWidgetItem* item = needed_->currentItem();
  description_->setText(item ? ToQ(state_.NeededDescription(FromQ(item->text()))) : QString());
}

void CDlgNodePropertyCM::Connect() {
  const QListWidgetItem* content = contents_->currentItem();
  const QListWidgetItem* needed = needed_->currentItem();
  if (!content || !needed) {
    Tell(UserInterface(),
         "Select a field in Content Fields and\nin Needed Fields to connect a GRI entry.");
    return;
  }
  const std::string field = FromQ(content->text());
  if (velk::IsConnection(field)) {
    Tell(UserInterface(),
         "The selected Content Field is already connected!\nPlease select another!");
    return;
  }
  const int rows[] = {blocks_->currentRow(), contents_->currentRow(), needed_->currentRow()};
  state_.Connect(SelectedBlock(), field, FromQ(needed->text()));
  Refill(rows[0], rows[1], rows[2]);
}

void CDlgNodePropertyCM::Disconnect() {
  const QListWidgetItem* content = contents_->currentItem();
  if (!content || !velk::IsConnection(FromQ(content->text()))) {
    Tell(UserInterface(),
         "The selected Content Field is not connected!\nPlease select another field!");
    return;
  }
  const int rows[] = {blocks_->currentRow(), contents_->currentRow(), needed_->currentRow()};
  state_.Disconnect(SelectedBlock(), FromQ(content->text()));
  Refill(rows[0], rows[1], rows[2]);
}

void CDlgNodePropertyCM::Reset() {
  state_.Reset();
  const int block = blocks_->currentRow();
  contents_->clear();
  FillBlocks();
  SelectRow(blocks_, block);
  FillNeeded();
  UpdateButtons();
}

void CDlgNodePropertyCM::ApplyTypeRule() {
  const bool adhoc = type_->currentIndex() == kAdhoc;
  if (adhoc) Reset();
  blocks_->setEnabled(!adhoc);
  contents_->setEnabled(!adhoc);
  needed_->setEnabled(!adhoc);
}

void CDlgNodePropertyCM::ApplyTemplate() {
  velk::CExtDirData* directory = ExternalDirectory();
  if (!directory) return;
  const auto templates = velk::ContentManagementTemplates(*directory);
  CDlgSelectCMTemplate dialog(templates, window());
  if (dialog.exec() != QDialog::Accepted || !dialog.Chosen()) return;
  for (const std::string& entry : dialog.Chosen()->ContentManagement)
    state_.ApplyTemplateEntry(entry);
  Refill(blocks_->currentRow(), contents_->currentRow(), needed_->currentRow());
}

void CDlgNodePropertyCM::Apply(velk::NodeAttributes& attributes) {
  int& code = direction_ == 1 ? attributes.outContentManagementType
                              : attributes.inContentManagementType;
  WordToContentManagementKind(FromQ(type_->currentText()), code);
  (direction_ == 1 ? attributes.outContentManagement : attributes.inContentManagement) =
      state_.Stored();
}
