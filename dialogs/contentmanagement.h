#pragma once
// The working state of the content-management page without its widgets: the
// content blocks of the task's forms with their unconnected fields and
// connections, the needed fields of the connected GRI leaf, and the conversion
// between the page's and the node's form of a connection.
//
// Inside the page a connection reads "field <=> needed"; the node stores it as
// "needed <=> block_field". Field names "Block_Field" belong to their block,
// names without "_" to "More Fields".

#include <string>
#include <vector>

#include "extdir/extdiritem.h"
#include "repository/applicationenvdb.h"

namespace velk {

class CExtDirData;
class CExtDirItemCM;
class CNode;

inline constexpr char kConnectionSeparator[] = " <=> ";
inline constexpr char kMoreFields[] = "More Fields";

struct BlockField {
  std::string block;
  std::string field;
};
// "A_B" is block A, field B; a name without "_" is field of "More Fields".
BlockField SplitBlockField(const std::string& name);
// The two sides around the first " <=> " swapped; a text without it stays.
std::string SwapConnection(const std::string& connection);
bool IsConnection(const std::string& text);
// The sides of a connection in the page's form.
std::string FieldOfConnection(const std::string& connection);
std::string NeededOfConnection(const std::string& connection);

struct ContentBlock {
  std::string name;
  std::vector<std::string> unconnected;
  std::vector<std::string> connections;  // page form
};

class ContentManagementState {
 public:
  // The node's stored list (of one side), entries in the stored form.
  void ReadStored(const std::vector<std::string>& stored);
  // The fields of the named forms, skipping fields already there or connected.
  void AddFormFields(const std::vector<std::string>& formNames, const std::vector<FormRecord>& forms);
  // The needed fields; a name connected in `stored` is not offered.
  void SetNeededFields(const std::vector<ExtDirFieldEntry>& entries,
                       const std::vector<std::string>& stored);
  void ClearNeededFields();

  const std::vector<ContentBlock>& Blocks() const { return blocks_; }
  const ContentBlock* FindBlock(const std::string& name) const;
  // "name (connections of all)".
  static std::string BlockLabel(const ContentBlock& block);
  // The name of a block from its label.
  static std::string BlockNameOfLabel(const std::string& label);
  // Unconnected fields, then connections.
  std::vector<std::string> ContentEntries(const std::string& block) const;
  const std::vector<std::string>& NeededNames() const { return neededNames_; }
  // The description of the first needed field of that name; empty when none.
  std::string NeededDescription(const std::string& name) const;

  // Pairs an unconnected field of the block with an offered needed field.
  // The texts are copied: they may stand in the lists the connection changes.
  bool Connect(const std::string& block, std::string field, std::string needed);
  bool Disconnect(const std::string& block, const std::string& connection);
  // Every connection undone.
  void Reset();
  // One template entry (stored form); false when it does not fit and was skipped.
  bool ApplyTemplateEntry(const std::string& entry);

  // The connections in the stored form, block by block.
  std::vector<std::string> Stored() const;

 private:
  ContentBlock& BlockNamed(const std::string& name);
  ContentBlock* Find(const std::string& name);

  std::vector<ContentBlock> blocks_;
  std::vector<std::string> neededNames_;
  std::vector<ExtDirFieldEntry> neededEntries_;
};

// The forms whose fields are the content fields: an In task's own objects; for
// any other kind the objects of every task before it along the incoming arrows,
// each task once, without duplicates.
std::vector<std::string> ContentFormNames(const CNode& node);

// The needed fields of a leaf's side (direction 1: input, 0: output). Reports a
// leaf or document type that is not found in the error box and gives nothing.
std::vector<ExtDirFieldEntry> LoadNeededFields(CExtDirData& directory, const std::string& griId,
                                               int direction);
// The error box telling that the connected leaf is not in the directory.
void ReportMissingGriLeaf(Services& services, const std::string& griId);

// The content management templates with a name, in list order.
std::vector<const CExtDirItemCM*> ContentManagementTemplates(const CExtDirData& directory);

}  // namespace velk
