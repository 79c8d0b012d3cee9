#include "editor/ui/undocommands.h"
#include "editor/ui/editor.h"

#include "app/ui/commandtable.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"

std::string CommandStepName(int id) {
  const CommandInfo* info = FindCommand(id);
  if (!info) return {};
  std::string name;
  for (const char* c = info->menuText; *c && *c != '\t'; ++c)
    if (*c != '&') name += *c;
  while (!name.empty() && name.back() == '.') name.pop_back();
  return name;
}

bool RunUndoCommand(CWorkflowView& view, int id) {
  if (id != cmd::EditUndo && id != cmd::EditRedo) return false;
  CWorkflowDoc* doc = view.Document();
  if (!doc) return true;
  // The step may remove the level this view shows: its window closes and lets go
  // of the document, which goes with the level.
  CEditor& editor = view.Editor();
  const std::shared_ptr<velk::UndoHistory> history = doc->Session().SharedHistory();
  const bool done = id == cmd::EditUndo ? history->Undo() : history->Redo();
  if (done && history->Owner()) editor.UpdateAllViews(*history->Owner());
  return true;
}

bool UpdateUndoCommand(const CWorkflowView& view, int id, CmdUI& ui) {
  if (id != cmd::EditUndo && id != cmd::EditRedo) return false;
  const bool undo = id == cmd::EditUndo;
  const CWorkflowDoc* doc = view.Document();
  const std::string step = !doc   ? std::string()
                           : undo ? doc->Session().History().UndoName()
                                  : doc->Session().History().RedoName();
  ui.enabled = !step.empty();
  QString text = undo ? QStringLiteral("&Undo") : QStringLiteral("&Redo");
  if (!step.empty()) text += QLatin1Char(' ') + QString::fromStdString(step);
  ui.text = text;  // the action shows its shortcut itself
  return true;
}
