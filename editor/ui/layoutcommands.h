#pragma once
// The layout commands of a workflow view: the six alignments, the grid,
// "Autoarrange Nodes", "Arrange as layers" and "&Group nodes as Cluster".

#include "app/ui/commands.h"

class CWorkflowView;

class CLayoutCommands : public CommandTarget {
 public:
  explicit CLayoutCommands(CWorkflowView& view) : view_(view) {}

  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

 private:
  bool ArrangeAsLayers();

  CWorkflowView& view_;
};
