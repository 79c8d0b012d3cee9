#include "extdir/extdiritem.h"

#include "extdir/extdirdata.h"
#include "extdir/extdirtree.h"
#include "repository/identity.h"

namespace velk {

ExtDirFieldEntry SplitFieldEntry(std::string_view text) {
  ExtDirFieldEntry entry;
  const std::size_t first = text.find('/');
  entry.name = text.substr(0, first);
  if (first == std::string_view::npos) return entry;
  text.remove_prefix(first + 1);
  const std::size_t second = text.find('/');
  entry.type = text.substr(0, second);
  if (second != std::string_view::npos) entry.description = text.substr(second + 1);
  return entry;
}

std::string JoinFieldEntry(const ExtDirFieldEntry& entry) {
  return entry.name + "/" + entry.type + "/" + entry.description;
}

std::vector<ExtDirFieldEntry> SplitFieldEntries(const std::vector<std::string>& texts) {
  std::vector<ExtDirFieldEntry> entries;
  entries.reserve(texts.size());
  for (const std::string& text : texts)
    if (!text.empty()) entries.push_back(SplitFieldEntry(text));
  return entries;
}

std::vector<std::string> JoinFieldEntries(const std::vector<ExtDirFieldEntry>& entries) {
  std::vector<std::string> texts;
  for (const ExtDirFieldEntry& entry : entries) texts.push_back(JoinFieldEntry(entry));
  return texts;
}

CExtDirItem::CExtDirItem(CExtDirData& data) : data_(&data) {}

CExtDirItem::~CExtDirItem() {
  // An item destroyed while shown takes its node along, so no node names a dead item.
  if (treeNode && view) view->Remove(*treeNode);
}

void CExtDirItem::SetModified() {
  modified = true;
}

const char* CExtDirItem::GetClassName() const {
  switch (Kind()) {
    case ExtDirKind::GRIOrg:
      return "CExtDirItemGRIOrg";
    case ExtDirKind::GRIProcView:
      return "CExtDirItemGRIProcView";
    case ExtDirKind::GRIFolder:
      return "CExtDirItemGRIFolder";
    case ExtDirKind::GRILeaf:
      return "CExtDirItemGRILeaf";
    case ExtDirKind::ExtRegOrg:
      return "CExtDirItemExtRegOrg";
    case ExtDirKind::EIDMOrg:
      return "CExtDirItemEIDMOrg";
    case ExtDirKind::EIDM:
      return "CExtDirItemEIDM";
    case ExtDirKind::CM:
      return "CExtDirItemCM";
    case ExtDirKind::Item:
      break;
  }
  return "CExtDirItem";
}

void CExtDirItem::InsertIntoTree(CExtDirTreeNode*, CExtDirTree&) {}

void CExtDirItem::UpdateTreeText() {}

ExtDirMenu CExtDirItem::ContextMenu() const {
  return {};
}

void CExtDirItem::OnDoubleClick() {}

bool CExtDirItem::Save(LNDatabase&) {
  return true;
}

bool CExtDirItem::AcceptsDrop() const {
  return false;
}

void CExtDirItem::NewChild() {}

void CExtDirItem::Delete() {}

std::string CExtDirItem::Label() const {
  return {};
}

void CExtDirItem::InsertNode(CExtDirTreeNode* parent, CExtDirTree& tree, const std::string& text,
                             int image) {
  view = &tree;
  treeNode = &tree.Insert(parent, text, image, this);
}

void CExtDirItem::SetNodeText(const std::string& text, int image) {
  if (treeNode && view) view->SetText(*treeNode, text, image);
}

void CExtDirItem::RemoveNode() {
  if (treeNode && view) view->Remove(*treeNode);
  treeNode = nullptr;
  view = nullptr;
}

void CExtDirItem::DeleteChildren() {
  if (!treeNode) return;
  // Each Delete removes its own node, so take the items first.
  std::vector<CExtDirItem*> children;
  for (const auto& child : treeNode->Children())
    if (child->Item()) children.push_back(child->Item());
  for (CExtDirItem* child : children) child->Delete();
}

}  // namespace velk
