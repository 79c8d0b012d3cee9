#pragma once
// The External Directory as a tree: six fixed section nodes and below them the
// items of one data set, placed by the items themselves. The tree is kept here,
// without widgets; the window mirrors it through CExtDirTreeObserver and sends
// the user's commands to the nodes' items.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace velk {

class CExtDirData;
class CExtDirItem;
enum class ExtDirKind;
class CExtDirTree;
class Services;

class CExtDirTreeNode {
 public:
  CExtDirTreeNode(const CExtDirTreeNode&) = delete;
  CExtDirTreeNode& operator=(const CExtDirTreeNode&) = delete;

  const std::string& Text() const { return text_; }
  int Image() const { return image_; }
  CExtDirItem* Item() const { return item_; }  // none for the section nodes
  CExtDirTreeNode* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<CExtDirTreeNode>>& Children() const { return children_; }
  bool IsExpanded() const { return expanded_; }

 private:
  friend class CExtDirTree;
  CExtDirTreeNode(std::string text, int image, CExtDirItem* item, CExtDirTreeNode* parent)
      : text_(std::move(text)), image_(image), item_(item), parent_(parent) {}
  std::string text_;
  int image_;
  CExtDirItem* item_;
  CExtDirTreeNode* parent_;
  std::vector<std::unique_ptr<CExtDirTreeNode>> children_;
  bool expanded_ = false;
  // The children with items by their items' labels, in tree order: made by the
  // first FindChild below the node, dropped when a child goes or changes.
  using ChildIndex = std::unordered_map<std::string, std::vector<CExtDirTreeNode*>>;
  std::unique_ptr<ChildIndex> byLabel_;
};

// Names of more "/"-separated levels than this are not shown: every walk of the
// tree stays this shallow, however deep a stored name goes.
inline constexpr int kMaxFolderDepth = 32;

// What a window needs to follow the tree. A node is announced after it was
// added and before it (and everything below it) goes.
class CExtDirTreeObserver {
 public:
  virtual ~CExtDirTreeObserver() = default;
  virtual void NodeInserted(CExtDirTreeNode& node) = 0;
  virtual void NodeRemoving(CExtDirTreeNode& node) = 0;
  virtual void NodeChanged(CExtDirTreeNode& node) = 0;  // text or image
  virtual void NodeExpanded(CExtDirTreeNode& node, bool expanded) = 0;
  // Every node went; Build follows with NodeInserted for the new ones.
  virtual void TreeCleared() = 0;
};

enum class ExtDirSection {
  PublishedByUs,
  OfferedByPartners,
  RegisteredOrganisations,
  OrderedSubWorkflows,
  OrderedByUs,
  OrderedByPartners
};

// The sections' labels.
const char* SectionLabel(ExtDirSection section);

class CExtDirTree {
 public:
  // Builds the tree over `data`, which must outlive it.
  explicit CExtDirTree(CExtDirData& data);
  // The items forget their nodes (closing the window; see Close).
  ~CExtDirTree();
  CExtDirTree(const CExtDirTree&) = delete;
  CExtDirTree& operator=(const CExtDirTree&) = delete;

  CExtDirData& Data() const { return *data_; }
  void SetObserver(CExtDirTreeObserver* observer) { observer_ = observer; }

  // The four root nodes in order; "Ordered By Us" and "Ordered By Partners" are
  // children of "Ordered Sub-Workflows".
  const std::vector<std::unique_ptr<CExtDirTreeNode>>& Roots() const { return roots_; }
  CExtDirTreeNode& Section(ExtDirSection section) const;

  // Section nodes, then process views, persons, EIDM organisations and EIDM
  // requests of the data set, in list order. Leafs come with LoadLeafs.
  void Build();
  // Removes every node; the items forget theirs.
  void Clear();
  // Closing the window: the tree is emptied, every process view forgets its
  // leafs and every leaf item is destroyed, so leafs are read again next time.
  void Close();

  // Used by the items.
  CExtDirTreeNode& Insert(CExtDirTreeNode* parent, const std::string& text, int image,
                          CExtDirItem* item);
  void SetText(CExtDirTreeNode& node, const std::string& text, int image);
  // Removes the node and everything below it; the items of those nodes forget them.
  void Remove(CExtDirTreeNode& node);

  void Expand(CExtDirTreeNode& node, bool expand = true);
  // "Expand All Branches": every node of the three upper sections, depth first;
  // with `loadLeafs` every process view reads its leafs first.
  void ExpandAll(bool loadLeafs);
  void CollapseAll();

  // The first child of `parent` (root level when null) whose item is of the kind
  // and has the label.
  CExtDirTreeNode* FindChild(CExtDirTreeNode* parent, ExtDirKind kind,
                             const std::string& label) const;
  // The folder of a "/"-separated path below `parent`, made where missing.
  CExtDirItem& FindOrCreateFolder(std::string path, CExtDirTreeNode* parent);
  // Whether a "/"-separated name has at most kMaxFolderDepth folders; a deeper
  // one is reported, naming `what`, and its item is not to be shown.
  static bool FitsDepth(Services& services, const std::string& name, const char* what);

  // The tree as indented text, one node a line: "label [image]".
  std::string Print() const;

 private:
  void ExpandBranch(CExtDirTreeNode& node);
  // The items below `node` forget their nodes; organisations and folders, which
  // exist only to be shown, are collected in `made` when it is given.
  void Forget(CExtDirTreeNode& node, std::vector<const CExtDirItem*>* made);

  CExtDirData* data_;
  CExtDirTreeObserver* observer_ = nullptr;
  std::vector<std::unique_ptr<CExtDirTreeNode>> roots_;
  CExtDirTreeNode* sections_[6] = {};
};

}  // namespace velk
