#pragma once
// The entries of the External Directory: the base item and the records of the
// two catalogues. The subclasses are in extdiritems.h.
//
// Items are owned by their data set (CExtDirData). While a tree shows an item it
// remembers its node in that tree; the tree is core data too, a window only
// mirrors it, so no item ever holds a widget.

#include <string>
#include <string_view>
#include <vector>

class LNDatabase;

namespace velk {

class CExtDirData;
class CExtDirTree;
class CExtDirTreeNode;

// One field of a leaf, content block or document type; stored as
// "name/type/description", where the description may itself hold "/".
struct ExtDirFieldEntry {
  std::string name;
  std::string type;
  std::string description;
  bool operator==(const ExtDirFieldEntry&) const = default;
};
ExtDirFieldEntry SplitFieldEntry(std::string_view text);
std::string JoinFieldEntry(const ExtDirFieldEntry& entry);
// Every non-empty text split; the reverse joins every entry.
std::vector<ExtDirFieldEntry> SplitFieldEntries(const std::vector<std::string>& texts);
std::vector<std::string> JoinFieldEntries(const std::vector<ExtDirFieldEntry>& entries);

struct ContentBlockRecord {
  std::string Name;
  std::string ContentBlockID;
  std::string Status;
  int Version = 0;
  bool HaveSubform = false;
  std::string Freetext;
  std::vector<ExtDirFieldEntry> ContentFieldList;
  std::vector<std::string> IsInDocumentType;
};

struct DocumentTypeRecord {
  std::string Name;
  std::string DocumentTypeID;
  std::string DocumentCategory;
  std::string Status;
  int Version = 0;
  std::string Freetext;
  std::vector<std::string> ContentBlockIDList;
  std::vector<ExtDirFieldEntry> FreeFieldList;
};

// The context menu an item opens: the menu resource and which of its entries
// are enabled. Menu 189 holds "&New Folder", "&Delete" and "&Properties".
struct ExtDirMenu {
  int menu = 189;
  bool newFolder = false;
  bool remove = false;
  bool properties = false;
  bool operator==(const ExtDirMenu&) const = default;
};

// Tree images, indexes into the window's image list of 24.
namespace extdirimages {
inline constexpr int kPublishedSection = 0;
inline constexpr int kOfferedSection = 1;
inline constexpr int kBranch = 6;  // organisations, folders, loaded process views
inline constexpr int kUnloadedProcessView = 8;
inline constexpr int kPerson = 13;
inline constexpr int kRegisteredSection = 14;
inline constexpr int kOrderedSection = 15;
}  // namespace extdirimages

// Which class an item is; code that treats one kind of item specially asks this.
enum class ExtDirKind {
  Item,
  GRIOrg,
  GRIProcView,
  GRIFolder,
  GRILeaf,
  ExtRegOrg,
  EIDMOrg,
  EIDM,
  CM
};

class CExtDirItem {
 public:
  explicit CExtDirItem(CExtDirData& data);
  virtual ~CExtDirItem();
  CExtDirItem(const CExtDirItem&) = delete;
  CExtDirItem& operator=(const CExtDirItem&) = delete;

  std::string ID;
  CExtDirTreeNode* treeNode = nullptr;  // none while not shown
  CExtDirTree* view = nullptr;          // the tree that shows it
  bool isNew = true;                    // no document yet; loaders clear it
  bool modified = false;
  bool deleted = false;

  virtual void SetModified();
  virtual ExtDirKind Kind() const { return ExtDirKind::Item; }
  // The class name, for what is printed of an item.
  const char* GetClassName() const;
  virtual void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree);
  virtual void UpdateTreeText();
  virtual ExtDirMenu ContextMenu() const;
  virtual void OnDoubleClick();
  // Writes the item's document into the open database; true when nothing failed.
  virtual bool Save(LNDatabase& db);
  // Whether leafs and In Tasks may be dropped here (the target half of QueryDrop).
  virtual bool AcceptsDrop() const;
  virtual void NewChild();
  virtual void Delete();
  // The text children are matched by (organisation, folder names).
  virtual std::string Label() const;

  CExtDirData& Data() const { return *data_; }
  bool IsShown() const { return treeNode != nullptr; }

 protected:
  // Adds the item's node under `parent` and remembers it.
  void InsertNode(CExtDirTreeNode* parent, CExtDirTree& tree, const std::string& text, int image);
  void SetNodeText(const std::string& text, int image);
  // Removes the item's node (with whatever is below it) and forgets it.
  void RemoveNode();
  // Delete of every item shown below the item's node, in tree order.
  void DeleteChildren();

 private:
  CExtDirData* data_;
};

}  // namespace velk
