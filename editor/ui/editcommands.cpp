#include "editor/ui/editcommands.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>

#include "repository/databasecache.h"
#include "common/services.h"
#include "editor/insertarrow.h"
#include "editor/nodemenus.h"
#include "editor/pasteplace.h"
#include "editor/ui/editor.h"
#include "editor/ui/edittool.h"
#include "editor/ui/selecttool.h"
#include "model/nodeclipboard.h"
#include "model/subworkflows.h"
#include "model/workflowdoc.h"

using velk::CNode;
using velk::NodeKind;
using velk::ToolId;

namespace {

constexpr std::array<std::pair<int, ToolId>, 8> kToolCommands = {{
    {cmd::ToolSelect, ToolId::Select},
    {cmd::ToolInternalTask, ToolId::InsertInternalTask},
    {cmd::ToolInternalCluster, ToolId::InsertInternalCluster},
    {cmd::ToolCentralCluster, ToolId::InsertCentralCluster},
    {cmd::ToolExtSubscribed, ToolId::InsertSubscribed},
    {cmd::ToolExtWfTask, ToolId::InsertExtWfTask},
    {cmd::ToolExtSubWorkflow, ToolId::InsertExtSubWorkflow},
    {cmd::ToolArrow, ToolId::ArrowNoSource},
}};

std::optional<ToolId> ToolOfCommand(int id) {
  for (auto [command, tool] : kToolCommands)
    if (command == id) return tool;
  return std::nullopt;
}

bool IsTaskKind(NodeKind kind) {
  return kind == NodeKind::Intern || kind == NodeKind::In || kind == NodeKind::Out;
}

}  // namespace

const char* editcmd::MenuText(int id) {
  switch (id) {
    case InternalTask:
      return "&Internal Task";
    case InTask:
      return "In Task";
    case OutTask:
      return "Out Task";
    case DefineStart:
      return "Define as workflow start";
    case DefineEnd:
      return "Define as workflow end";
    case CentralDesign:
      return "&central design and replication";
    case DistributedDesign:
      return "&distributed design and replication";
    case DisconnectReference:
      return "D&isconnect ESW Reference";
    default:
      return nullptr;
  }
}

bool CEditCommands::OnCommand(int id) {
  if (!view_.Document()) return false;
  return ToolCommand(id) || ClipboardCommand(id) || NodeCommand(id) || layout_.OnCommand(id);
}

bool CEditCommands::ToolCommand(int id) {
  const std::optional<ToolId> tool = ToolOfCommand(id);
  if (!tool) return false;
  view_.Editor().Tools().Choose(*tool, view_.Editor().ShiftHeld(), &view_);
  if (*tool == ToolId::ArrowNoSource)
    view_.Editor().UserInterface().showStatusText(velk::ArrowToolPrompt(ToolId::ArrowNoSource));
  else if (*tool == ToolId::Select)
    view_.Editor().UserInterface().showStatusText({});
  return true;
}

bool CEditCommands::ClipboardCommand(int id) {
  CWorkflowDoc& doc = *view_.Document();
  switch (id) {
    case cmd::EditDelete:
      Delete();
      return true;
    case cmd::EditCopy:
      view_.Editor().Clipboard().Copy(doc);
      return true;
    case cmd::EditCut:
      view_.Editor().Clipboard().Copy(doc);
      Delete();
      return true;
    case cmd::EditPaste:
      Paste();
      return true;
    case cmd::EditSelectAll:
      doc.Session().SelectAllNodes();
      view_.InvalidateAll();
      return true;
    default:
      return false;
  }
}

void CEditCommands::Delete() {
  CWorkflowDoc& doc = *view_.Document();
  const std::size_t nodes = doc.NodeCount();
  const std::size_t arrows = doc.AllArrows().size();
  std::vector<CNode*> spared;
  for (CNode* cluster : doc.Session().SelectionNeedingConfirmation())
    if (view_.Editor().UserInterface().messageBox(
            "The internal workflow cluster is not empty.\nDelete all subworkflow tasks?",
            velk::MsgIcon::Question, velk::MsgButtons::OkCancel) != velk::MsgResult::Ok)
      spared.push_back(cluster);
  doc.Session().DeleteSelection(spared);
  if (doc.NodeCount() != nodes || doc.AllArrows().size() != arrows) doc.Session().SetModified();
  view_.Editor().UpdateAllViews(doc);
}

void CEditCommands::Paste() {
  CWorkflowDoc& doc = *view_.Document();
  const velk::NodeClipboard& clipboard = view_.Editor().Clipboard();
  if (!clipboard.IsFilled()) return;
  std::vector<velk::Rect> copies, level;
  for (const CNode* node : clipboard.Nodes()) copies.push_back(node->GetRect());
  for (const CNode* node : doc.LevelNodes()) level.push_back(node->GetRect());
  const velk::Point offset =
      velk::PasteOffset(copies, level, view_.MenuPoint(), ViewGrid(view_));
  const std::vector<CNode*> pasted = clipboard.Paste(doc, offset);
  // Selected, the copies move together with the first drag.
  doc.Session().DeselectAll();
  for (CNode* node : pasted) doc.Session().SelectNode(*node, true);
  doc.Session().SetModified();
  view_.Editor().UpdateAllViews(doc);
}

bool CEditCommands::NodeCommand(int id) {
  CWorkflowDoc& doc = *view_.Document();
  switch (id) {
    case cmd::Properties:
      OpenSelectionProperties(view_, /*openCluster=*/false);
      return true;
    case cmd::OpenSubWorkflow:
      OpenSubWorkflow();
      return true;
    case cmd::ReloadRepository:
      ReloadRepository();
      return true;
    default:
      break;
  }
  if (!editcmd::MenuText(id)) return false;
  if (doc.Session().SelectedNodes().empty()) return true;
  CNode& node = *doc.Session().SelectedNodes().front();
  bool changed = true;
  switch (id) {
    case editcmd::InternalTask:
      doc.MakeInternalTask(node);
      break;
    case editcmd::InTask:
      changed = doc.MakeInTask(node);
      break;
    case editcmd::OutTask:
      changed = doc.MakeOutTask(node);
      break;
    case editcmd::DefineStart:
      doc.DefineAsWorkflowStart(node);
      break;
    case editcmd::DefineEnd:
      doc.DefineAsWorkflowEnd(node);
      break;
    case editcmd::CentralDesign:
      doc.SetSubWorkflowKind(node, NodeKind::ICDR);
      break;
    case editcmd::DistributedDesign:
      doc.SetSubWorkflowKind(node, NodeKind::CDDR);
      break;
    case editcmd::DisconnectReference:
      doc.DisconnectReference(node);
      break;
    default:
      changed = false;
  }
  if (changed) doc.Session().SetModified();
  view_.Editor().UpdateAllViews(doc);
  return true;
}

void CEditCommands::OpenSubWorkflow() {
  CWorkflowDoc& doc = *view_.Document();
  if (doc.Session().SelectedNodes().empty()) return;
  CNode& node = *doc.Session().SelectedNodes().front();
  if (node.IsClusterNode() || velk::HasSubWorkflow(node.Kind()))
    view_.Editor().Parts().openClusterWindow(doc, node);
}

void CEditCommands::ReloadRepository() {
  velk::WaitCursor wait(view_.Editor().UserInterface());
  const velk::WorkflowDatabases& databases = view_.Document()->Databases();
  view_.Editor().Parts().reloadRepository(databases);
}

bool CEditCommands::OnUpdateCommand(int id, CmdUI& ui) {
  const CWorkflowDoc* doc = view_.Document();
  if (!doc) return false;
  if (layout_.OnUpdateCommand(id, ui)) return true;
  if (const std::optional<ToolId> tool = ToolOfCommand(id)) {
    const velk::ToolButtonState state = view_.Editor().Tools().State().ButtonState(*tool);
    ui.checked = state.checked;
    ui.indeterminate = state.indeterminate;
    return true;
  }
  const bool anySelected =
      !doc->Session().SelectedNodes().empty() || !doc->Session().SelectedArrows().empty();
  switch (id) {
    case cmd::EditDelete:
    case cmd::EditCopy:
    case cmd::EditCut:
      ui.enabled = anySelected;
      return true;
    case cmd::EditPaste:
      ui.enabled = view_.Editor().Clipboard().IsFilled();
      return true;
    case cmd::EditSelectAll:
    case cmd::ReloadRepository:
      return true;
    default:
      break;
  }
  if (id != cmd::Properties && id != cmd::OpenSubWorkflow && !editcmd::MenuText(id)) return false;
  UpdateNodeCommand(id, ui);
  return true;
}

void CEditCommands::UpdateNodeCommand(int id, CmdUI& ui) const {
  const CWorkflowDoc& doc = *view_.Document();
  const CNode* node =
      doc.Session().SelectedNodes().empty() ? nullptr : doc.Session().SelectedNodes().front();
  ui.enabled = node != nullptr;
  if (id == cmd::Properties) {
    ui.enabled = node || !doc.Session().SelectedArrows().empty();
    return;
  }
  if (!node) return;
  const NodeKind kind = node->Kind();
  const bool subWorkflow = kind == NodeKind::ICDR || kind == NodeKind::CDDR;
  if (id == cmd::OpenSubWorkflow) {
    ui.enabled = node->IsClusterNode() || subWorkflow;
  } else if (id == editcmd::CentralDesign || id == editcmd::DistributedDesign) {
    ui.enabled = subWorkflow;
    ui.checked = kind == (id == editcmd::CentralDesign ? NodeKind::ICDR : NodeKind::CDDR);
  } else if (id == editcmd::DisconnectReference) {
    ui.enabled = kind == NodeKind::Extern;
  } else {
    const velk::TaskTypeState s = velk::TaskTypeStateOf(doc, *node);
    ui.enabled = IsTaskKind(kind);
    switch (id) {
      case editcmd::InternalTask:
        ui.checked = s.internalChecked;
        break;
      case editcmd::DefineStart:
        ui.checked = s.startChecked;
        break;
      case editcmd::DefineEnd:
        ui.checked = s.endChecked;
        break;
      case editcmd::InTask:
        ui.checked = s.inChecked;
        ui.enabled = ui.enabled && s.inOutEnabled;
        break;
      case editcmd::OutTask:
        ui.checked = s.outChecked;
        ui.enabled = ui.enabled && s.inOutEnabled;
        break;
      default:
        break;
    }
  }
}
