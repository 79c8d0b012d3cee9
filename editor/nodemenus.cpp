#include "editor/nodemenus.h"

#include "model/workflowdoc.h"

namespace velk {

ContextMenu ChooseContextMenu(const CWorkflowDoc& doc, bool arrowHit, bool nodeHit) {
  if (arrowHit) return ContextMenu::Arrow;
  if (!nodeHit || doc.Session().SelectedNodes().size() != 1) return ContextMenu::General;
  switch (doc.Session().SelectedNodes().front()->Kind()) {
    case NodeKind::Intern:
    case NodeKind::In:
    case NodeKind::Out:
      return ContextMenu::TaskType;
    case NodeKind::ICDR:
    case NodeKind::CDDR:
      return ContextMenu::SubWorkflowType;
    case NodeKind::IWC:
      return ContextMenu::Cluster;
    case NodeKind::Extern:
      return ContextMenu::Subscribed;
    default:
      return ContextMenu::General;
  }
}

TaskTypeState TaskTypeStateOf(const CWorkflowDoc& doc, const CNode& node) {
  TaskTypeState s;
  const bool intern = node.Kind() == NodeKind::Intern;
  const bool isStart = doc.StartNode() == &node;
  const bool isEnd = doc.EndNode() == &node;
  s.internalChecked = intern && !isStart && !isEnd;
  s.startChecked = intern && isStart;
  s.endChecked = intern && isEnd;
  s.inChecked = node.Kind() == NodeKind::In;
  s.outChecked = node.Kind() == NodeKind::Out;
  s.inOutEnabled = doc.Level() <= 1;
  return s;
}

}  // namespace velk
