#pragma once
// A list of organisation elements (persons, workgroups, units, roles) with their
// kind icons, edited through a context menu: the add entry runs the "Access
// Control List" picker, the delete entry removes the selected entries after
// asking. The task's readers use it, so do the workflow's designers and editors.

#include <QListWidget>

#include "common/services.h"
#include "dialogs/repositorylists.h"
#include "dialogs/transferlists.h"

class QMenu;

class CElementList : public QListWidget {
  Q_OBJECT
 public:
  enum class DeleteEnabled { WhileNotEmpty, WhileSelected };

  // Asks through `services` before deleting.
  CElementList(velk::Services& services, const velk::RepositoryLists& lists, QString addText,
               QString deleteText, DeleteEnabled rule, QWidget* parent = nullptr);

  // Shows the names, each with the icon of its kind (kind lookup).
  void SetNames(const std::vector<std::string>& names);
  std::vector<std::string> Names() const;

  // The context menu, built as a right click shows it.
  QMenu* CreateContextMenu(QWidget* parent);
  // "Add": runs the picker with this list as its target.
  void AddItems();
  // "Delete": asks about the selected entries and removes them on Yes; with
  // none selected nothing happens.
  void DeleteSelectedItems();

 private:
  velk::Services& services_;
  const velk::RepositoryLists& lists_;
  QString addText_;
  QString deleteText_;
  DeleteEnabled rule_;
};
