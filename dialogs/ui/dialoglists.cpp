#include "dialogs/ui/dialoglists.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <algorithm>

#include "dialogs/listtexts.h"
#include "dialogs/ui/dialogicons.h"

bool CSortedListItem::operator<(const QListWidgetItem& other) const {
  return velk::LessNoCase(FromQ(text()), FromQ(other.text()));
}

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}
std::string FromQ(const QString& text) {
  return text.toStdString();
}

QComboBox* NewComboBox(const char* objectName, bool editable, int minimumCharacters) {
  auto* combo = new QComboBox;
  combo->setObjectName(QLatin1String(objectName));
  combo->setEditable(editable);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMinimumContentsLength(minimumCharacters);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

int AddSorted(QComboBox* combo, const std::string& text) {
  const int index = static_cast<int>(velk::SortedPosition(ComboTexts(combo), text));
  combo->insertItem(index, ToQ(text));
  return index;
}

void AddAll(QComboBox* combo, const std::vector<std::string>& texts, bool sorted) {
  if (!sorted) {
    for (const std::string& text : texts) combo->addItem(ToQ(text));
    return;
  }
  std::vector<std::string> all = ComboTexts(combo);
  all.insert(all.end(), texts.begin(), texts.end());
  velk::SortNoCase(all);
  combo->clear();
  for (const std::string& text : all) combo->addItem(ToQ(text));
}

void SelectOrAdd(QComboBox* combo, const std::string& name, bool sorted) {
  if (name.empty()) return;
  int index = velk::FindNoCase(ComboTexts(combo), name);
  if (index < 0) {
    if (sorted) {
      index = AddSorted(combo, name);
    } else {
      combo->addItem(ToQ(name));
      index = combo->count() - 1;
    }
  }
  combo->setCurrentIndex(index);
}

std::vector<std::string> ComboTexts(const QComboBox* combo) {
  std::vector<std::string> texts;
  for (int i = 0; i < combo->count(); ++i) texts.push_back(FromQ(combo->itemText(i)));
  return texts;
}

int ChosenIndex(const QComboBox* combo) {
  const int current = combo->currentIndex();
  if (!combo->isEditable()) return current;
  if (current >= 0 && combo->itemText(current) == combo->currentText()) return current;
  return velk::FindExact(ComboTexts(combo), FromQ(combo->currentText()));
}

std::vector<std::string> ListTexts(const QListWidget* list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(FromQ(list->item(i)->text()));
  return texts;
}

std::vector<int> SelectedRows(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

void RemoveSelected(QListWidget* list) {
  const std::vector<int> rows = SelectedRows(list);
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) delete list->takeItem(*it);
}

QListWidgetItem* AddListItem(QListWidget* list, const std::string& text, const QIcon& icon) {
  auto* item = new CSortedListItem(icon, ToQ(text));
  list->addItem(item);
  return item;
}

QListWidgetItem* InsertElement(QListWidget* list, int row, const velk::TransferEntry& entry) {
  auto* item = new CSortedListItem(ElementIcon(entry.kind), ToQ(entry.name));
  item->setData(Qt::UserRole, entry.kind);
  list->insertItem(row, item);
  return item;
}

velk::TransferEntries ElementEntries(const QListWidget* list) {
  velk::TransferEntries entries;
  for (int i = 0; i < list->count(); ++i)
    entries.push_back({FromQ(list->item(i)->text()), list->item(i)->data(Qt::UserRole).toInt()});
  return entries;
}

void ShowElements(QListWidget* list, const velk::TransferEntries& entries) {
  list->clear();
  for (const velk::TransferEntry& entry : entries) InsertElement(list, list->count(), entry);
}

void SetListContextMenu(QListWidget* list, std::function<QMenu*()> create) {
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(list, &QWidget::customContextMenuRequested, list,
                   [list, create](const QPoint& pos) {
                     QMenu* menu = create();
                     menu->exec(list->viewport()->mapToGlobal(pos));
                     delete menu;
                   });
}
