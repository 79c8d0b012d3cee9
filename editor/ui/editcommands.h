#pragma once
// The editing commands of a workflow view: tool choice, delete, clipboard, select
// all, properties, sub-workflows, task types, start and end, and the reload of
// the repositories.

#include "app/ui/commands.h"
#include "editor/ui/layoutcommands.h"

class CWorkflowView;

// Commands reached only through the views' context menus.
namespace editcmd {
enum : int {
  InternalTask = 33101,
  InTask,
  OutTask,
  DefineStart,
  DefineEnd,
  CentralDesign,
  DistributedDesign,
  DisconnectReference,
};
// Menu text of one of the commands above; nullptr for another id.
const char* MenuText(int id);
}  // namespace editcmd

class CEditCommands : public CommandTarget {
 public:
  explicit CEditCommands(CWorkflowView& view) : view_(view), layout_(view) {}

  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

 private:
  bool ToolCommand(int id);
  bool ClipboardCommand(int id);
  bool NodeCommand(int id);
  void Delete();
  void Paste();
  void OpenSubWorkflow();
  void ReloadRepository();
  void UpdateNodeCommand(int id, CmdUI& ui) const;

  CWorkflowView& view_;
  CLayoutCommands layout_;
};
