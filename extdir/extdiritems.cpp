// Where each kind of item goes in the tree and what it does there.

#include "extdir/extdiritems.h"

#include <unordered_map>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirtree.h"
#include "repository/identity.h"
#include "repository/noteserror.h"

namespace velk {

namespace {

constexpr char kNewProcessView[] = "New Process View";
constexpr char kNewFolder[] = "New Folder";

// Folders are stored only as the paths of leaf names, so the designer is told.
void MakeNewFolder(CExtDirData& data, CExtDirTreeNode& parent, CExtDirTree& tree) {
  CExtDirItemGRIFolder::Create(data, kNewFolder, &parent, tree);
  tree.Expand(parent);
  data.UserInterface().showStatusText(
      "A folder is stored only with a leaf in it: an empty folder is gone when the External "
      "Directory is read again.");
}

// The node of the first shown EIDM organisation of the side and the name.
CExtDirTreeNode* OrganisationNode(const CExtDirData& data, bool byUs, const std::string& name) {
  for (const auto& item : data.Items()) {
    const auto* org = dynamic_cast<const CExtDirItemEIDMOrg*>(item.get());
    if (org && org->orderedByUs == byUs && org->ExtOrganization == name && org->treeNode)
      return org->treeNode;
  }
  return nullptr;
}

// Items shown below `node`, each told it changed.
void SetChildrenModified(CExtDirTreeNode* node) {
  if (!node) return;
  for (const auto& child : node->Children())
    if (child->Item()) child->Item()->SetModified();
}

}  // namespace

// Organisations

void CExtDirItemGRIOrg::SetModified() {
  CExtDirItem::SetModified();
  SetChildrenModified(treeNode);
}

void CExtDirItemGRIOrg::InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) {
  if (!treeNode) InsertNode(parent, tree, OrgName, extdirimages::kBranch);
}

void CExtDirItemGRIOrg::UpdateTreeText() {
  SetNodeText(OrgName, extdirimages::kBranch);
}

ExtDirMenu CExtDirItemGRIOrg::ContextMenu() const {
  return {189, true, false, true};
}

void CExtDirItemGRIOrg::NewChild() {
  if (!treeNode || !view) return;
  auto& header = Data().Append<CExtDirItemGRIProcView>();
  header.Direction = published ? kPublished : kOffered;
  header.OrgName = OrgName;
  header.GatewayDB = GatewayDB;
  header.ProcViewName = kNewProcessView;
  header.leafsLoaded = true;
  CExtDirTree& tree = *view;
  CExtDirTreeNode* organisation = treeNode;
  header.InsertIntoTree(organisation->Parent(), tree);
  tree.Expand(*organisation);
}

// Process views

void CExtDirItemGRIProcView::InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) {
  if (treeNode) return;
  view = &tree;
  CExtDirTreeNode* organisation = tree.FindChild(parent, ExtDirKind::GRIOrg, OrgName);
  if (!organisation) {
    auto& made = Data().Append<CExtDirItemGRIOrg>();
    made.OrgName = OrgName;
    made.GatewayDB = GatewayDB;
    made.published = IsPublished();
    made.InsertIntoTree(parent, tree);
    organisation = made.treeNode;
  }
  InsertNode(organisation, tree, ProcViewName,
             leafsLoaded ? extdirimages::kBranch : extdirimages::kUnloadedProcessView);
}

void CExtDirItemGRIProcView::UpdateTreeText() {
  SetNodeText(ProcViewName,
              leafsLoaded ? extdirimages::kBranch : extdirimages::kUnloadedProcessView);
}

ExtDirMenu CExtDirItemGRIProcView::ContextMenu() const {
  return {189, leafsLoaded, leafsLoaded, true};
}

void CExtDirItemGRIProcView::LoadLeafs() {
  LoadLeafs(Data(), {this});
}

void CExtDirItemGRIProcView::LoadLeafs(CExtDirData& data,
                                       const std::vector<CExtDirItemGRIProcView*>& headers) {
  std::vector<CExtDirItemGRIProcView*> pending;
  std::vector<std::string> ids;
  for (CExtDirItemGRIProcView* header : headers)
    if (!header->leafsLoaded) {
      pending.push_back(header);
      ids.push_back(header->ID);
    }
  if (pending.empty()) return;
  // The leafs read, whether listed before (one read by its id) or now: a walk
  // of the whole list for each double-click would grow with the directory.
  std::vector<CExtDirItemGRILeaf*> leafs;
  data.LoadLeafsOfHeaders(ids, &leafs);
  std::unordered_map<std::string, CExtDirItemGRIProcView*> shown;
  for (CExtDirItemGRIProcView* header : pending) {
    header->leafsLoaded = true;
    header->UpdateTreeText();
    if (header->treeNode && header->view) shown.emplace(header->ID, header);
  }
  for (CExtDirItemGRILeaf* leaf : leafs)
    if (const auto header = shown.find(leaf->HeaderID); header != shown.end())
      leaf->InsertIntoTree(header->second->treeNode, *header->second->view);
}

void CExtDirItemGRIProcView::NewChild() {
  if (treeNode && view) MakeNewFolder(Data(), *treeNode, *view);
}

void CExtDirItemGRIProcView::Delete() {
  DeleteChildren();
  CExtDirTreeNode* organisation = treeNode ? treeNode->Parent() : nullptr;
  RemoveNode();
  if (organisation && organisation->Children().empty() && organisation->Item())
    Data().Remove(organisation->Item());  // takes its node along
  deleted = true;
}

// Folders

CExtDirItemGRIFolder& CExtDirItemGRIFolder::Create(CExtDirData& data, std::string path,
                                                   CExtDirTreeNode* parent, CExtDirTree& tree) {
  const std::string own = SplitLastToken(path, '/');
  if (!path.empty()) parent = Create(data, path, parent, tree).treeNode;
  auto& folder = data.Append<CExtDirItemGRIFolder>();
  folder.name = own;
  folder.InsertNode(parent, tree, own, extdirimages::kBranch);
  folder.isNew = true;
  folder.modified = false;
  folder.deleted = false;
  return folder;
}

void CExtDirItemGRIFolder::SetModified() {
  CExtDirItem::SetModified();
  SetChildrenModified(treeNode);
}

void CExtDirItemGRIFolder::UpdateTreeText() {
  SetNodeText(name, extdirimages::kBranch);
}

ExtDirMenu CExtDirItemGRIFolder::ContextMenu() const {
  return {189, true, true, true};
}

bool CExtDirItemGRIFolder::AcceptsDrop() const {
  for (CExtDirTreeNode* up = treeNode ? treeNode->Parent() : nullptr; up; up = up->Parent())
    if (auto* header = dynamic_cast<CExtDirItemGRIProcView*>(up->Item()))
      return header->IsPublished();
  return true;
}

void CExtDirItemGRIFolder::NewChild() {
  if (treeNode && view) MakeNewFolder(Data(), *treeNode, *view);
}

void CExtDirItemGRIFolder::Delete() {
  DeleteChildren();
  RemoveNode();
  if (!Data().Remove(this))
    ShowErrorMessage(Data().UserInterface(),
                     "Searching a visible element in the list of all elements was unsuccessful!");
  // `this` is gone when the removal succeeded.
}

// Leafs

bool CExtDirItemGRILeaf::IsPublished() const {
  if (!view) return false;
  const auto* header = dynamic_cast<const CExtDirItemGRIProcView*>(Data().FindItemById(HeaderID));
  return header && header->IsPublished();
}

int CExtDirItemGRILeaf::ImageOfStatus(int status) {
  return status >= 0 && status <= 4 ? status + 2 : -1;
}

void CExtDirItemGRILeaf::InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) {
  if (treeNode || !CExtDirTree::FitsDepth(Data().UserInterface(), LeafName, "GRI Leafs")) return;
  std::string path = LeafName;
  if (path.find('/') != std::string::npos) {
    displayName = SplitLastToken(path, '/');
    parent = tree.FindOrCreateFolder(path, parent).treeNode;
  } else {
    displayName = LeafName;
  }
  const int image = ImageOfStatus(Status);
  if (image >= 0) InsertNode(parent, tree, displayName, image);
}

void CExtDirItemGRILeaf::UpdateTreeText() {
  const int image = ImageOfStatus(Status);
  if (image >= 0) SetNodeText(displayName, image);
}

ExtDirMenu CExtDirItemGRILeaf::ContextMenu() const {
  return {189, false, true, true};
}

void CExtDirItemGRILeaf::Delete() {
  RemoveNode();
  deleted = true;
}

void CExtDirItemGRILeaf::CopyValuesFrom(const CExtDirItemGRILeaf& o) {
  displayName = o.displayName;
  Description2 = o.Description2;
  LeafName = o.LeafName;
  Status = o.Status;
  Version = o.Version;
  Direction = o.Direction;
  ValidUntil = o.ValidUntil;
  TrackingAllowed = o.TrackingAllowed;
  Duration = o.Duration;
  DurationUnit = o.DurationUnit;
  PublishTo = o.PublishTo;
  PublishReader = o.PublishReader;
  InputFields = o.InputFields;
  InputDocTypeID = o.InputDocTypeID;
  OutputFields = o.OutputFields;
  OutputDocTypeID = o.OutputDocTypeID;
  FormatServer = o.FormatServer;
  HeaderID = o.HeaderID;
  ReferencedByWFNode = o.ReferencedByWFNode;
  publishedTask = o.publishedTask;
  reserved = o.reserved;
  reservedText = o.reservedText;
  workflowId = o.workflowId;
}

// Registered persons

void CExtDirItemExtRegOrg::InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) {
  if (treeNode ||
      !CExtDirTree::FitsDepth(Data().UserInterface(), FullName, "External Reg. Organizations"))
    return;
  view = &tree;
  std::string own = FullName;
  if (FullName.find('/') != std::string::npos) {
    std::string path = ReverseTokens(FullName, '/');
    own = SplitLastToken(path, '/');
    parent = tree.FindOrCreateFolder(path, parent).treeNode;
  }
  InsertNode(parent, tree, own, extdirimages::kPerson);
}

std::string CExtDirItemExtRegOrg::Label() const {
  std::string path = FullName;
  return SplitFirstToken(path, '/');
}

// The node shows the person's own name, as placed below its organisation.
void CExtDirItemExtRegOrg::UpdateTreeText() {
  SetNodeText(Label(), extdirimages::kPerson);
}

ExtDirMenu CExtDirItemExtRegOrg::ContextMenu() const {
  return {189, false, false, true};
}

// EIDM organisations

CExtDirItemEIDMOrg::CExtDirItemEIDMOrg(CExtDirData& data)
    : CExtDirItem(data), fields_(std::make_shared<EidmOrgFields>()) {}

CExtDirItemEIDMOrg::CExtDirItemEIDMOrg(CExtDirData& data, CExtDirItemEIDMOrg& other)
    : CExtDirItem(data), fields_(other.fields_) {}

void CExtDirItemEIDMOrg::SetModified() {
  for (CExtDirItemEIDMOrg* twin : {byUsTwin, byPartnersTwin})
    if (twin && twin != this) twin->modified = true;
  CExtDirItem::SetModified();
}

void CExtDirItemEIDMOrg::InsertIntoTree(CExtDirTreeNode*, CExtDirTree& tree) {
  if (treeNode) return;
  InsertNode(
      &tree.Section(orderedByUs ? ExtDirSection::OrderedByUs : ExtDirSection::OrderedByPartners),
      tree, ExtOrganization, extdirimages::kBranch);
}

void CExtDirItemEIDMOrg::UpdateTreeText() {
  SetNodeText(ExtOrganization, extdirimages::kBranch);
}

ExtDirMenu CExtDirItemEIDMOrg::ContextMenu() const {
  return {189, false, true, true};
}

// EIDM requests

int CExtDirItemEIDM::ImageOfState(int state) {
  switch (state) {
    case 0:
      return 19;  // Created
    case 1:
      return 21;  // Submitted
    case 2:
      return 20;  // Performed
    case 3:
      return 16;  // Published and notified
    default:
      return 22;  // Denied, Canceled, Expired, Mail not deliverable
  }
}

void CExtDirItemEIDM::InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) {
  if (treeNode) return;
  view = &tree;
  if (!parent)
    parent = OrganisationNode(Data(), orderedByUs, orderedByUs ? ExtClusterOrg : MasterOrg);
  if (!parent)
    parent =
        &tree.Section(orderedByUs ? ExtDirSection::OrderedByUs : ExtDirSection::OrderedByPartners);
  InsertNode(parent, tree, ExtClusterName, ImageOfState(ExtClusterStatus));
}

void CExtDirItemEIDM::UpdateTreeText() {
  SetNodeText(ExtClusterName, ImageOfState(ExtClusterStatus));
}

ExtDirMenu CExtDirItemEIDM::ContextMenu() const {
  return {orderedByUs ? 275 : 277, false, true, true};
}

void CExtDirItemEIDM::Delete() {
  RemoveNode();
  deleted = true;
}

}  // namespace velk
