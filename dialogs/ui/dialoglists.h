#pragma once
// List and drop-down helpers of the property dialogs: sorted insertion without
// regard to case, select-or-add of stored names, texts and selections as the
// headless rules want them, and element lists whose entries carry their kind.

#include <QIcon>
#include <QListWidgetItem>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/transferlists.h"

class QComboBox;
class QListWidget;
class QMenu;

// A list item that sorts without regard to case, as the lists of the program do.
class CSortedListItem : public QListWidgetItem {
 public:
  using QListWidgetItem::QListWidgetItem;
  bool operator<(const QListWidgetItem& other) const override;
};

QString ToQ(const std::string& text);
std::string FromQ(const QString& text);

// A drop-down as the dialogs use them: editable ones never add typed text to
// their list, and long entries do not widen the dialog.
QComboBox* NewComboBox(const char* objectName, bool editable, int minimumCharacters = 18);

// Adds at the sorted position; returns the index.
int AddSorted(QComboBox* combo, const std::string& text);
void AddAll(QComboBox* combo, const std::vector<std::string>& texts, bool sorted);
// Selects the entry equal to `name` ignoring case, adding the name first when
// there is none. An empty name selects nothing.
void SelectOrAdd(QComboBox* combo, const std::string& name, bool sorted);
std::vector<std::string> ComboTexts(const QComboBox* combo);
// The entry the user chose: the current entry while its text is shown, else the
// first entry showing exactly the typed text; -1 for none.
int ChosenIndex(const QComboBox* combo);

std::vector<std::string> ListTexts(const QListWidget* list);
// The selected rows, ascending.
std::vector<int> SelectedRows(const QListWidget* list);
void RemoveSelected(QListWidget* list);
// A list item that sorts like the list's others; the list sorts on insertion
// when sorting is enabled.
QListWidgetItem* AddListItem(QListWidget* list, const std::string& text, const QIcon& icon);

// Element lists: each entry shows its kind's icon and keeps the kind.
QListWidgetItem* InsertElement(QListWidget* list, int row, const velk::TransferEntry& entry);
velk::TransferEntries ElementEntries(const QListWidget* list);
void ShowElements(QListWidget* list, const velk::TransferEntries& entries);

// A right click on the list opens the menu `create` builds (parented to the list).
void SetListContextMenu(QListWidget* list, std::function<QMenu*()> create);
