#include "extdir/extdirtree.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "repository/identity.h"
#include "repository/repositorydb.h"

namespace velk {

const char* SectionLabel(ExtDirSection section) {
  switch (section) {
    case ExtDirSection::PublishedByUs:
      return "Workflows Published By Us (Internal)";
    case ExtDirSection::OfferedByPartners:
      return "Workflows Offered By Partners (External)";
    case ExtDirSection::RegisteredOrganisations:
      return "External Registered Organisations";
    case ExtDirSection::OrderedSubWorkflows:
      return "Ordered Sub-Workflows";
    case ExtDirSection::OrderedByUs:
      return "Ordered By Us";
    case ExtDirSection::OrderedByPartners:
      return "Ordered By Partners";
  }
  return "";
}

CExtDirTree::CExtDirTree(CExtDirData& data) : data_(&data) {
  data.AttachTree(this);
  Build();
}

CExtDirTree::~CExtDirTree() {
  observer_ = nullptr;
  Clear();
  data_->DetachTree(this);
}

CExtDirTreeNode& CExtDirTree::Section(ExtDirSection section) const {
  CExtDirTreeNode* node = sections_[static_cast<int>(section)];
  if (!node) throw std::logic_error("the External Directory tree is not built");
  return *node;
}

void CExtDirTree::Build() {
  Clear();
  using S = ExtDirSection;
  using namespace extdirimages;
  for (auto [section, image] : {std::pair{S::PublishedByUs, kPublishedSection},
                                {S::OfferedByPartners, kOfferedSection},
                                {S::RegisteredOrganisations, kRegisteredSection},
                                {S::OrderedSubWorkflows, kOrderedSection}})
    sections_[static_cast<int>(section)] = &Insert(nullptr, SectionLabel(section), image, nullptr);
  CExtDirTreeNode* ordered = sections_[static_cast<int>(S::OrderedSubWorkflows)];
  sections_[static_cast<int>(S::OrderedByUs)] =
      &Insert(ordered, SectionLabel(S::OrderedByUs), kPublishedSection, nullptr);
  sections_[static_cast<int>(S::OrderedByPartners)] =
      &Insert(ordered, SectionLabel(S::OrderedByPartners), kOfferedSection, nullptr);
  // Placing an item may append organisations and folders, so walk copies.
  for (auto* header : data_->ItemsOf<CExtDirItemGRIProcView>())
    header->InsertIntoTree(
        &Section(header->IsPublished() ? S::PublishedByUs : S::OfferedByPartners), *this);
  for (auto* person : data_->ItemsOf<CExtDirItemExtRegOrg>())
    person->InsertIntoTree(&Section(S::RegisteredOrganisations), *this);
  // Each request goes below the first organisation of its side and name.
  std::map<std::pair<bool, std::string>, CExtDirTreeNode*> organisations;
  for (auto* org : data_->ItemsOf<CExtDirItemEIDMOrg>()) {
    org->InsertIntoTree(nullptr, *this);
    if (org->treeNode)
      organisations.emplace(std::pair(org->orderedByUs, org->ExtOrganization), org->treeNode);
  }
  for (auto* request : data_->ItemsOf<CExtDirItemEIDM>()) {
    const bool byUs = request->orderedByUs;
    const auto org =
        organisations.find(std::pair(byUs, byUs ? request->ExtClusterOrg : request->MasterOrg));
    request->InsertIntoTree(org != organisations.end()
                                ? org->second
                                : &Section(byUs ? S::OrderedByUs : S::OrderedByPartners),
                            *this);
  }
}

void CExtDirTree::Forget(CExtDirTreeNode& node, std::vector<const CExtDirItem*>* made) {
  for (const auto& child : node.children_) Forget(*child, made);
  if (CExtDirItem* item = node.item_; item && item->treeNode == &node) {
    item->treeNode = nullptr;
    item->view = nullptr;
    if (made &&
        (dynamic_cast<CExtDirItemGRIOrg*>(item) || dynamic_cast<CExtDirItemGRIFolder*>(item)))
      made->push_back(item);
  }
}

// The organisations and folders go with their nodes: the next tree makes them
// anew, so that opening and closing the window leaves the data set as it was.
void CExtDirTree::Clear() {
  std::vector<const CExtDirItem*> made;
  for (const auto& root : roots_) Forget(*root, &made);
  roots_.clear();
  std::fill(std::begin(sections_), std::end(sections_), nullptr);
  data_->RemoveItems(made);
  if (observer_) observer_->TreeCleared();
}

void CExtDirTree::Close() {
  Clear();
  for (auto* header : data_->ItemsOf<CExtDirItemGRIProcView>()) header->leafsLoaded = false;
  data_->ForgetLeafs();
}

CExtDirTreeNode& CExtDirTree::Insert(CExtDirTreeNode* parent, const std::string& text, int image,
                                     CExtDirItem* item) {
  auto& siblings = parent ? parent->children_ : roots_;
  siblings.push_back(std::unique_ptr<CExtDirTreeNode>(
      new CExtDirTreeNode(text.substr(0, 255), image, item, parent)));
  CExtDirTreeNode& node = *siblings.back();
  if (parent && parent->byLabel_ && item) (*parent->byLabel_)[item->Label()].push_back(&node);
  if (observer_) observer_->NodeInserted(node);
  return node;
}

void CExtDirTree::SetText(CExtDirTreeNode& node, const std::string& text, int image) {
  if (node.parent_) node.parent_->byLabel_.reset();  // the item's label may have changed
  node.text_ = text.substr(0, 255);
  node.image_ = image;
  if (observer_) observer_->NodeChanged(node);
}

void CExtDirTree::Remove(CExtDirTreeNode& node) {
  if (observer_) observer_->NodeRemoving(node);
  Forget(node, nullptr);  // organisations and folders are removed by their owners
  auto& siblings = node.parent_ ? node.parent_->children_ : roots_;
  if (node.parent_) node.parent_->byLabel_.reset();
  for (auto& section : sections_)
    if (section == &node) section = nullptr;
  std::erase_if(siblings, [&node](const auto& child) { return child.get() == &node; });
}

void CExtDirTree::Expand(CExtDirTreeNode& node, bool expand) {
  if (node.expanded_ == expand) return;
  node.expanded_ = expand;
  if (observer_) observer_->NodeExpanded(node, expand);
}

void CExtDirTree::ExpandBranch(CExtDirTreeNode& node) {
  Expand(node);
  for (const auto& child : node.children_) ExpandBranch(*child);
}

void CExtDirTree::ExpandAll(bool loadLeafs) {
  using S = ExtDirSection;
  const S sections[] = {S::RegisteredOrganisations, S::OfferedByPartners, S::PublishedByUs,
                        S::OrderedSubWorkflows};
  if (loadLeafs) {
    // Every process view's leafs in one pass over the store, then the walk.
    std::vector<CExtDirItemGRIProcView*> headers;
    for (const auto& header : data_->ItemsOf<CExtDirItemGRIProcView>())
      if (header->view == this && header->treeNode) headers.push_back(header);
    CExtDirItemGRIProcView::LoadLeafs(*data_, headers);
  }
  for (S section : sections) ExpandBranch(Section(section));
}

void CExtDirTree::CollapseAll() {
  struct Walk {
    CExtDirTree& tree;
    void operator()(CExtDirTreeNode& node) {
      for (const auto& child : node.Children()) (*this)(*child);
      tree.Expand(node, false);
    }
  } walk{*this};
  for (const auto& root : roots_) walk(*root);
}

CExtDirTreeNode* CExtDirTree::FindChild(CExtDirTreeNode* parent, ExtDirKind kind,
                                        const std::string& label) const {
  if (!parent) return nullptr;  // the roots are the sections, which have no items
  if (!parent->byLabel_) {
    parent->byLabel_ = std::make_unique<CExtDirTreeNode::ChildIndex>();
    for (const auto& child : parent->children_)
      if (child->item_) (*parent->byLabel_)[child->item_->Label()].push_back(child.get());
  }
  const auto found = parent->byLabel_->find(label);
  if (found == parent->byLabel_->end()) return nullptr;
  for (CExtDirTreeNode* child : found->second)
    if (child->item_->Kind() == kind) return child;
  return nullptr;
}

bool CExtDirTree::FitsDepth(Services& services, const std::string& name, const char* what) {
  const auto levels = std::count(name.begin(), name.end(), '/');
  if (levels <= kMaxFolderDepth) return true;
  constexpr std::size_t kShown = 80;
  const std::string shown = name.size() > kShown ? name.substr(0, kShown) + "..." : name;
  Report(services, kExtDirLoadCategory, std::string(what) + ": Showing Document",
         "The name \"" + shown + "\" has " + std::to_string(levels) +
             " levels of folders, more than the " + std::to_string(kMaxFolderDepth) +
             " the tree shows, so it is not shown. Please inform your database administrator!",
         Severity::Error);
  return false;
}

// Only folders are matched: a leaf that happens to bear a folder's name must not
// receive the folder's contents.
CExtDirItem& CExtDirTree::FindOrCreateFolder(std::string path, CExtDirTreeNode* parent) {
  while (true) {
    std::string rest = path;
    const std::string first = SplitFirstToken(rest, '/');
    CExtDirTreeNode* found = FindChild(parent, ExtDirKind::GRIFolder, first);
    if (!found) return CExtDirItemGRIFolder::Create(*data_, path, parent, *this);
    if (rest.empty()) return *found->item_;
    parent = found;
    path = rest;
  }
}

namespace {

void PrintNode(const CExtDirTreeNode& node, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += node.Text() + " [" + std::to_string(node.Image()) + "]\n";
  for (const auto& child : node.Children()) PrintNode(*child, depth + 1, out);
}

}  // namespace

std::string CExtDirTree::Print() const {
  std::string out;
  for (const auto& root : roots_) PrintNode(*root, 0, out);
  return out;
}

}  // namespace velk
