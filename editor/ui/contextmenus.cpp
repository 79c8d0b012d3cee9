#include "editor/ui/contextmenus.h"

#include <QAction>
#include <QMenu>
#include <initializer_list>

#include "app/ui/commandtable.h"
#include "editor/ui/editcommands.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowview.h"

using velk::ContextMenu;

namespace {

constexpr int kSeparator = 0;

QString CommandText(int id) {
  if (const char* text = editcmd::MenuText(id)) return QString::fromUtf8(text);
  const CommandInfo* info = FindCommand(id);
  return info ? QString::fromUtf8(info->menuText) : QString();
}

void AddEntries(CWorkflowView& view, QMenu& menu, std::initializer_list<int> ids) {
  for (int id : ids) {
    if (id == kSeparator) {
      menu.addSeparator();
      continue;
    }
    if (!IsCommandBuilt(id)) continue;
    QAction* action = menu.addAction(CommandText(id));
    action->setData(id);
    CmdUI ui;
    const bool handled = view.OnUpdateCommand(id, ui);
    action->setEnabled(handled && ui.enabled);
    action->setCheckable(ui.checked);
    action->setChecked(ui.checked);
  }
}

QMenu* AddSubmenu(QMenu& menu, const char* title) {
  return menu.addMenu(QString::fromUtf8(title));
}

// Entries for the selected nodes that every node menu ends with.
void AddSelectionEntries(CWorkflowView& view, QMenu& menu) {
  AddEntries(
      view, menu,
      {kSeparator, cmd::EditCut, cmd::EditCopy, cmd::EditDelete, kSeparator, cmd::Properties});
}

}  // namespace

std::unique_ptr<QMenu> BuildContextMenu(CWorkflowView& view, ContextMenu which) {
  auto menu = std::make_unique<QMenu>(&view);
  QMenu& m = *menu;
  switch (which) {
    case ContextMenu::Arrow:
      AddEntries(view, m, {cmd::EditDelete, cmd::Properties});
      break;
    case ContextMenu::TaskType:
      AddEntries(view, *AddSubmenu(m, "Task &Type"),
                 {editcmd::InternalTask, editcmd::InTask, editcmd::OutTask, kSeparator,
                  editcmd::DefineStart, editcmd::DefineEnd});
      AddSelectionEntries(view, m);
      break;
    case ContextMenu::SubWorkflowType:
      AddEntries(view, *AddSubmenu(m, "Sub-Workflow &Type"),
                 {editcmd::CentralDesign, editcmd::DistributedDesign});
      AddEntries(view, m, {cmd::OpenSubWorkflow});
      AddSelectionEntries(view, m);
      break;
    case ContextMenu::Cluster:
      AddEntries(view, m, {cmd::OpenSubWorkflow});
      AddSelectionEntries(view, m);
      break;
    case ContextMenu::Subscribed:
      AddEntries(view, m, {editcmd::DisconnectReference});
      AddSelectionEntries(view, m);
      break;
    case ContextMenu::General:
      AddEntries(
          view, *AddSubmenu(m, "&Align Nodes to ..."),
          {cmd::AlignMenuLeft, cmd::AlignMenuRight, cmd::AlignMenuTop, cmd::AlignMenuBottom,
           cmd::AlignMenuCenterHorz, cmd::AlignMenuCenterVert, kSeparator, cmd::AlignMenuGrid});
      AddEntries(view, m, {cmd::AutoArrange, cmd::ArrangeLayers, cmd::GroupAsCluster});
      AddEntries(view, m,
                 {kSeparator, cmd::EditCut, cmd::EditCopy, cmd::EditPaste, cmd::EditDelete,
                  kSeparator, cmd::EditSelectAll});
      break;
  }
  // Submenus whose commands are not in the program yet are left out.
  for (QAction* a : m.actions())
    if (a->menu() && a->menu()->isEmpty()) m.removeAction(a);
  return menu;
}

void ShowContextMenu(CWorkflowView& view, ContextMenu which, QPoint globalPos) {
  std::unique_ptr<QMenu> menu = BuildContextMenu(view, which);
  const EditorCollaborators& parts = view.Editor().Parts();
  QAction* chosen = parts.execMenu(*menu, globalPos);
  if (chosen && chosen->isEnabled() && chosen->data().isValid())
    view.OnCommand(chosen->data().toInt());
  parts.commandStateChanged();
}
