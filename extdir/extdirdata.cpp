#include "extdir/extdirdata.h"

#include <algorithm>
#include <unordered_set>

#include "common/infocenter.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {

constexpr char kOpenFailText[] =
    "The chosen External Directory database could not be opened. Please choose another "
    "one\r\nor retry later.";

}  // namespace

void RequireExtDirLinks(const ExtDirLinks& links) {
  RequireCollaborator(links.storedWorkflowIds, "External Directory link to the stored workflows");
  RequireCollaborator(links.officeMail, "External Directory link to the office mail address");
}

ExtDirLinks UnlinkedExtDir() {
  return {[] { return std::vector<std::string>(); }, [] { return std::string(); }};
}

CExtDirData::CExtDirData(Services& services, LNNotesSession& session, const std::string& path,
                         const std::string& server, CWorkflowDoc* owner, ExtDirLinks links)
    : CRepositoryDb(services, session, {path, server}), links_(std::move(links)) {
  RequireExtDirLinks(links_);
  AddUser(owner);
  services_.infoCenter().clearCategory(kExtDirLoadCategory);
  StatusScope status(services_, kExtDirLoadCategory);
  Load();
}

CExtDirData::~CExtDirData() {
  for (CExtDirTree* tree : std::vector<CExtDirTree*>(trees_)) tree->Clear();
  Clear();
}

void CExtDirData::AttachTree(CExtDirTree* tree) {
  if (std::find(trees_.begin(), trees_.end(), tree) == trees_.end()) trees_.push_back(tree);
}

void CExtDirData::DetachTree(CExtDirTree* tree) {
  std::erase(trees_, tree);
}

CExtDirItem& CExtDirData::Append(std::unique_ptr<CExtDirItem> item) {
  if (byIdValid_ && !item->ID.empty()) byId_.emplace(item->ID, item.get());
  items_.push_back(std::move(item));
  return *items_.back();
}

bool CExtDirData::Remove(const CExtDirItem* item) {
  auto at = std::find_if(items_.begin(), items_.end(),
                         [item](const auto& owned) { return owned.get() == item; });
  if (at == items_.end()) return false;
  byIdValid_ = false;
  // Out of the list before it goes, so nothing it triggers finds it there.
  std::unique_ptr<CExtDirItem> doomed = std::move(*at);
  items_.erase(at);
  return true;
}

void CExtDirData::RemoveIf(const std::function<bool(const CExtDirItem&)>& doomed) {
  // Out of the list before they go, as Remove does; one pass, not one per item.
  const auto first = std::stable_partition(items_.begin(), items_.end(),
                                           [&doomed](const auto& item) { return !doomed(*item); });
  if (first == items_.end()) return;
  byIdValid_ = false;
  std::vector<std::unique_ptr<CExtDirItem>> gone(std::make_move_iterator(first),
                                                 std::make_move_iterator(items_.end()));
  items_.erase(first, items_.end());
}

void CExtDirData::RemoveItems(const std::vector<const CExtDirItem*>& doomed) {
  if (doomed.empty()) return;
  const std::unordered_set<const CExtDirItem*> set(doomed.begin(), doomed.end());
  RemoveIf([&set](const CExtDirItem& item) { return set.count(&item) > 0; });
}

void CExtDirData::ForgetLeafs() {
  ForgetLeafView();
  RemoveIf([](const CExtDirItem& item) { return dynamic_cast<const CExtDirItemGRILeaf*>(&item); });
}

void CExtDirData::Clear() {
  ForgetLeafView();
  byIdValid_ = false;
  byId_.clear();
  while (!items_.empty()) {
    std::unique_ptr<CExtDirItem> last = std::move(items_.back());
    items_.pop_back();
  }
  contentBlocks_.clear();
  documentTypes_.clear();
}

CExtDirItem* CExtDirData::FindItemById(const std::string& id) const {
  if (id.empty()) return nullptr;
  if (!byIdValid_) {
    byId_.clear();
    byId_.reserve(items_.size());
    for (const auto& item : items_)
      if (!item->ID.empty()) byId_.emplace(item->ID, item.get());
    byIdValid_ = true;
  }
  const auto at = byId_.find(id);
  return at == byId_.end() ? nullptr : at->second;
}

const DocumentTypeRecord* CExtDirData::FindDocumentType(const std::string& id) const {
  if (id.empty()) return nullptr;
  for (const DocumentTypeRecord& type : documentTypes_)
    if (type.DocumentTypeID == id) return &type;
  return nullptr;
}

const ContentBlockRecord* CExtDirData::FindContentBlock(const std::string& text) const {
  if (text.empty()) return nullptr;
  for (const ContentBlockRecord& block : contentBlocks_)
    if (block.ContentBlockID.find(text) != std::string::npos) return &block;
  return nullptr;
}

bool CExtDirData::Load(const char* category) {
  Clear();
  try {
    LNDatabase db;
    OpenDatabase(db);
    // One consistent state for all sections, and far fewer reads.
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, nullptr);
    LoadSections(db, kExtDirLoadCategory);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, category, "Opening database", e, kOpenFailText);
    return false;
  }
  return true;
}

void CExtDirData::LoadSections(LNDatabase& db, const char* category) {
  ReadContentBlocks(db, category);
  ReadContentManagement(db, category);
  ReadDocumentTypes(db, category);
  ReadPersons(db, category);
  ReadEidmRequests(db, category);
  ReadEidmOrganisations(db, category);
  ReadHeaders(db, category);
}

bool CExtDirData::Refresh() {
  if (!SaveAll()) {
    Report(services_, kExtDirRefreshCategory, "Saving External Directory database",
           "The changes could not be saved, so the External Directory was not read again; "
           "your changes are kept.",
           Severity::Error);
    return false;
  }
  return Reread(kExtDirRefreshCategory, "Refreshing External Directory database");
}

void CExtDirData::DiscardChanges() {
  if (HasUnsavedChanges()) Reread(kExtDirLoadCategory, kExtDirLoadCategory);
}

bool CExtDirData::Reread(const char* category, const char* statusText) {
  const std::vector<CExtDirTree*> trees = trees_;
  for (CExtDirTree* tree : trees) tree->Clear();
  Clear();
  services_.infoCenter().clearCategory(kExtDirLoadCategory);
  bool loaded;
  {
    StatusScope status(services_, statusText);
    loaded = Load(category);
  }
  for (CExtDirTree* tree : trees) tree->Build();
  return loaded;
}

}  // namespace velk
