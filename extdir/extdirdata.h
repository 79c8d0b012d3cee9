#pragma once
// Everything read from one External Directory Database: the content block and
// document type catalogues and every item, in loading order. The data set owns
// its items; it is loaded once by the database initialisation, shared by every
// workflow that names the same database, and written back by SaveAll/SaveItem.

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "extdir/extdiritem.h"
#include "extdir/extdirstore.h"
#include "repository/repositorydb.h"
#include "repository/store/lndatabase.h"

class LNDocument;

namespace velk {

class CExtDirItemGRILeaf;

inline constexpr char kExtDirLoadCategory[] = "Loading External Directory Database";
inline constexpr char kExtDirSaveCategory[] = "Saving External Directory Database";
inline constexpr char kExtDirRefreshCategory[] = "Refreshing External Directory Database";

// What the data set takes from the other repositories.
struct ExtDirLinks {
  // Workflow ids of the stored workflows (EIDM requests naming one of them, or
  // none, are ordered by us).
  std::function<std::vector<std::string>()> storedWorkflowIds;
  // "wfOfficeMail" of the Application Environment in use, for IRI documents.
  std::function<std::string()> officeMail;
};
// Stops the program when a link is missing: without them a data set would take
// requests we ordered for partners' and write IRI documents without the office
// mail address.
void RequireExtDirLinks(const ExtDirLinks& links);
// Links to nothing: no stored workflows, no office mail address. For a data set
// read apart from any workflow repository (a check, a benchmark).
ExtDirLinks UnlinkedExtDir();

class CExtDirData : public CRepositoryDb {
 public:
  // Clears the loading category and loads the database; requires both links.
  CExtDirData(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
              CWorkflowDoc* owner, ExtDirLinks links);
  ~CExtDirData() override;

  // Reads every section into the emptied data set; false when the database
  // could not be opened, reported under `category`.
  bool Load(const char* category = kExtDirLoadCategory);
  // The leafs of one header into the item list (once each); false when the
  // database or the leaf view could not be opened.
  bool LoadLeafsOfHeader(const std::string& headerId);
  // The same for many headers in one pass ("Expand All Branches" with SHIFT);
  // `leafs` receives the items of every leaf document read, listed before or now.
  bool LoadLeafsOfHeaders(const std::vector<std::string>& headerIds,
                          std::vector<CExtDirItemGRILeaf*>* leafs = nullptr);
  // Opens what reading leafs needs (right after a window shows the tree), so
  // that the first double-click on a process view does not wait for the store
  // to sort every leaf; failures stay quiet until a read needs it.
  void PrepareLeafs();
  // Every leaf leaves the list and the next read goes to the store (closing
  // the window).
  void ForgetLeafs();
  // The leaf from the list, else read from the store; null when there is none.
  CExtDirItemGRILeaf* LoadLeafById(const std::string& leafId);

  // Each in one store transaction: a failure leaves the database as it was and
  // every item with the flags and id it had, to be written at the next save.
  bool SaveAll();
  // An item not shown in a tree is not saved (true).
  bool SaveItem(CExtDirItem& item);
  // SaveAll, then the data set is emptied and read again; every tree over it
  // is built anew. A failed save keeps the data set as it is.
  bool Refresh();
  // Whether SaveAll would write or delete anything.
  bool HasUnsavedChanges() const;
  // The changes are dropped: when there are any, the data set is read again
  // without saving (every tree over it built anew).
  void DiscardChanges();
  // The workflow a published leaf's IRI document names.
  bool UpdateIriLeaf(const std::string& leafId, const std::string& workflowId);

  CExtDirItem* FindItemById(const std::string& id) const;
  // Listed items were given other ids (a save gives new ones, a rollback takes
  // them back): FindItemById looks anew.
  void IdsChanged() { byIdValid_ = false; }
  const DocumentTypeRecord* FindDocumentType(const std::string& id) const;
  const ContentBlockRecord* FindContentBlock(const std::string& text) const;

  const std::vector<ContentBlockRecord>& ContentBlocks() const { return contentBlocks_; }
  const std::vector<DocumentTypeRecord>& DocumentTypes() const { return documentTypes_; }
  const std::vector<std::unique_ptr<CExtDirItem>>& Items() const { return items_; }
  // Items of one class, in list order.
  template <class Item>
  std::vector<Item*> ItemsOf() const {
    std::vector<Item*> found;
    for (const auto& item : items_)
      if (auto* typed = dynamic_cast<Item*>(item.get())) found.push_back(typed);
    return found;
  }

  template <class Item>
  Item& Append() {
    return static_cast<Item&>(Append(std::make_unique<Item>(*this)));
  }
  CExtDirItem& Append(std::unique_ptr<CExtDirItem> item);
  // Removes and destroys the item; false when it is not in the list.
  bool Remove(const CExtDirItem* item);
  // The same for many, in one pass over the list.
  void RemoveItems(const std::vector<const CExtDirItem*>& doomed);

  const std::vector<CExtDirTree*>& Trees() const { return trees_; }
  void AttachTree(CExtDirTree* tree);
  void DetachTree(CExtDirTree* tree);

  const ExtDirLinks& Links() const { return links_; }
  // The IRI documents of the save that runs (SaveAll, SaveItem), for the leafs'
  // Save; throws std::logic_error outside a save.
  IriDocuments& SavingIri() const;

 private:
  void Clear();
  // Removes and destroys every item `doomed` names, keeping the others' order.
  void RemoveIf(const std::function<bool(const CExtDirItem&)>& doomed);
  // Empties the data set and reads it again under `category`, trees built anew.
  bool Reread(const char* category, const char* statusText);
  void LoadSections(LNDatabase& db, const char* category);
  void ReadContentBlocks(LNDatabase& db, const char* category);
  void ReadContentManagement(LNDatabase& db, const char* category);
  void ReadDocumentTypes(LNDatabase& db, const char* category);
  void ReadPersons(LNDatabase& db, const char* category);
  void ReadEidmRequests(LNDatabase& db, const char* category);
  void ReadEidmOrganisations(LNDatabase& db, const char* category);
  void ReadHeaders(LNDatabase& db, const char* category);
  bool SaveAllIn(LNDatabase& db);
  // SavingIri while it lives.
  class IriScope {
   public:
    IriScope(CExtDirData& data, LNDatabase& db);
    ~IriScope();
    IriScope(const IriScope&) = delete;
    IriScope& operator=(const IriScope&) = delete;

   private:
    CExtDirData& data_;
    IriDocuments iri_;
  };
  // The leaf view kept open between reads of leafs.
  struct LeafView {
    LNDatabase db;
    LNViewFolder view;
  };
  // Quietly: failures are left for the read that needs the view to report.
  LeafView* OpenLeafView(bool quiet = false);
  void ForgetLeafView();
  // One read of leaf documents: the ids it met and the items of its leafs.
  struct LeafRead {
    std::unordered_set<std::string> seen;
    std::vector<CExtDirItemGRILeaf*> leafs;
  };
  void ReadLeafsOfHeader(LeafView& leafs, const std::string& headerId, LeafRead& read, bool& gone);
  void ReadLeafsOfHeaders(LeafView& leafs, const std::vector<std::string>& headerIds,
                          LeafRead& read);
  // Appends a leaf read from its document unless the list has it already (read
  // before) or another document of this read or of the list carries its id,
  // which is reported.
  void AddReadLeaf(std::unique_ptr<CExtDirItemGRILeaf> leaf, LeafRead& read);

  ExtDirLinks links_;
  std::vector<ContentBlockRecord> contentBlocks_;
  std::vector<DocumentTypeRecord> documentTypes_;
  std::vector<std::unique_ptr<CExtDirItem>> items_;
  std::vector<CExtDirTree*> trees_;
  std::unique_ptr<LeafView> leafView_;
  IriDocuments* iri_ = nullptr;
  // FindItemById's index: the first item of each id, made at the first look-up.
  // Appending keeps it; removing items and IdsChanged drop it.
  mutable std::unordered_map<std::string, CExtDirItem*> byId_;
  mutable bool byIdValid_ = false;
};

// Reads a leaf document into a new leaf item of `data` (not appended).
std::unique_ptr<CExtDirItemGRILeaf> ReadLeaf(CExtDirData& data, LNDocument& doc);

}  // namespace velk
