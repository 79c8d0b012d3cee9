#include "extdir/extdirdrops.h"

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "model/node.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

bool TakesLeafs(const CExtDirItem& target) {
  return (target.Kind() == ExtDirKind::GRIProcView || target.Kind() == ExtDirKind::GRIFolder) &&
         target.treeNode && target.view && target.AcceptsDrop();
}

// The process view the target is, or lies in.
const CExtDirItemGRIProcView* ProcessViewOf(const CExtDirItem& target) {
  for (const CExtDirTreeNode* node = target.treeNode; node; node = node->Parent())
    if (auto* header = dynamic_cast<const CExtDirItemGRIProcView*>(node->Item())) return header;
  return nullptr;
}

// Appends the leaf below the target and shows it there.
void PlaceLeaf(CExtDirItemGRILeaf& leaf, CExtDirItem& target) {
  // A leaf belongs to the process view it was dropped into; with the dragged
  // leaf's header it would turn up under that header once read again.
  if (const auto* header = ProcessViewOf(target)) leaf.HeaderID = header->ID;
  CExtDirTree& tree = *target.view;
  CExtDirTreeNode* node = target.treeNode;
  leaf.InsertIntoTree(node, tree);
  tree.Expand(*node);
}

}  // namespace

ExtDirDropEffect QueryExtDirDrop(const CExtDirItem& target, const ExtDirDragFormats& formats,
                                 bool ctrl) {
  if (target.Kind() == ExtDirKind::EIDMOrg)
    return formats.subflowByUs && target.AcceptsDrop() ? ExtDirDropEffect::Move
                                                       : ExtDirDropEffect::None;
  if ((formats.leaf || formats.inTask) && TakesLeafs(target))
    return ctrl ? ExtDirDropEffect::Copy : ExtDirDropEffect::Move;
  return ExtDirDropEffect::None;
}

CExtDirItemGRILeaf* DropLeafCopy(CExtDirItem& target, const CExtDirItemGRILeaf& dragged) {
  if (!TakesLeafs(target)) return nullptr;
  auto& leaf = target.Data().Append<CExtDirItemGRILeaf>();
  leaf.CopyValuesFrom(dragged);
  PlaceLeaf(leaf, target);
  leaf.SetModified();  // written by the next save, as any changed leaf
  return &leaf;
}

CExtDirItemGRILeaf* PublishTaskAsLeaf(CExtDirItem& target, CNode& task) {
  if (!TakesLeafs(target) || !task.Document()) return nullptr;
  auto& leaf = target.Data().Append<CExtDirItemGRILeaf>();
  leaf.LeafName = task.Name();
  leaf.displayName = task.Name();
  leaf.Status = 0;
  leaf.publishedTask = &task;
  PlaceLeaf(leaf, target);
  // Marked, so that when it cannot be stored now the next save writes it.
  leaf.SetModified();
  if (!target.Data().SaveItem(leaf) || leaf.ID.empty()) return nullptr;
  CWorkflowDoc& workflow = task.Document()->Top();
  CNode* start = workflow.StartNode() ? workflow.StartNode() : &task;
  NodeAttributes a = start->Attributes();
  a.griId = leaf.ID;
  workflow.SetNodeAttributes(*start, std::move(a));
  workflow.SetNodePicture(*start, NodePicture::InPublished);
  workflow.Session().SetModified();
  return &leaf;
}

void ReleasePublishedTasks(CExtDirData& data, const CWorkflowDoc& closing) {
  for (CExtDirItemGRILeaf* leaf : data.ItemsOf<CExtDirItemGRILeaf>()) {
    if (!leaf->publishedTask || !closing.ContainsNode(leaf->publishedTask)) continue;
    leaf->workflowId = closing.Top().Header().workflowId;
    leaf->publishedTask = nullptr;
  }
}

void ForgetPublishedTasks(CExtDirData& data, const std::function<bool(const CNode*)>& alive) {
  for (CExtDirItemGRILeaf* leaf : data.ItemsOf<CExtDirItemGRILeaf>())
    if (leaf->publishedTask && !alive(leaf->publishedTask)) leaf->publishedTask = nullptr;
}

}  // namespace velk
