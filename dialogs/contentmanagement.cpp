#include "dialogs/contentmanagement.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "dialogs/listtexts.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "model/arrow.h"
#include "model/node.h"
#include "repository/noteserror.h"

namespace velk {

namespace {

constexpr std::size_t kSeparatorLength = sizeof(kConnectionSeparator) - 1;

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void Erase(std::vector<std::string>& texts, const std::string& text) {
  auto at = std::find(texts.begin(), texts.end(), text);
  if (at != texts.end()) texts.erase(at);
}

}  // namespace

BlockField SplitBlockField(const std::string& name) {
  const std::size_t at = name.find('_');
  if (at == std::string::npos) return {kMoreFields, name};
  return {name.substr(0, at), name.substr(at + 1)};
}

std::string SwapConnection(const std::string& connection) {
  const std::size_t at = connection.find(kConnectionSeparator);
  if (at == std::string::npos) return connection;
  return connection.substr(at + kSeparatorLength) + kConnectionSeparator + connection.substr(0, at);
}

bool IsConnection(const std::string& text) {
  return text.find(kConnectionSeparator) != std::string::npos;
}

std::string FieldOfConnection(const std::string& connection) {
  return connection.substr(0, connection.find(kConnectionSeparator));
}

std::string NeededOfConnection(const std::string& connection) {
  const std::size_t at = connection.find(kConnectionSeparator);
  return at == std::string::npos ? std::string() : connection.substr(at + kSeparatorLength);
}

ContentBlock* ContentManagementState::Find(const std::string& name) {
  for (ContentBlock& block : blocks_)
    if (block.name == name) return &block;
  return nullptr;
}

const ContentBlock* ContentManagementState::FindBlock(const std::string& name) const {
  return const_cast<ContentManagementState*>(this)->Find(name);
}

ContentBlock& ContentManagementState::BlockNamed(const std::string& name) {
  if (ContentBlock* block = Find(name)) return *block;
  blocks_.push_back({name, {}, {}});
  return blocks_.back();
}

void ContentManagementState::ReadStored(const std::vector<std::string>& stored) {
  for (const std::string& entry : stored) {
    if (entry.empty()) continue;
    // "block_field <=> needed": the block is the left side's part before "_".
    const std::string swapped = SwapConnection(entry);
    const std::string left = FieldOfConnection(swapped);
    const std::size_t at = left.find('_');
    if (at == std::string::npos)
      BlockNamed(kMoreFields).connections.push_back(swapped);
    else
      BlockNamed(swapped.substr(0, at)).connections.push_back(swapped.substr(at + 1));
  }
}

void ContentManagementState::AddFormFields(const std::vector<std::string>& formNames,
                                           const std::vector<FormRecord>& forms) {
  for (const std::string& formName : formNames) {
    auto form = std::find_if(forms.begin(), forms.end(),
                             [&](const FormRecord& f) { return f.name == formName; });
    if (form == forms.end()) continue;
    for (const std::string& fieldName : form->fields) {
      const BlockField split = SplitBlockField(fieldName);
      ContentBlock& block = BlockNamed(split.block);
      const bool connected = std::any_of(
          block.connections.begin(), block.connections.end(),
          [&](const std::string& c) { return FieldOfConnection(c) == split.field; });
      if (!connected && !Contains(block.unconnected, split.field))
        block.unconnected.push_back(split.field);
    }
  }
}

void ContentManagementState::SetNeededFields(const std::vector<ExtDirFieldEntry>& entries,
                                             const std::vector<std::string>& stored) {
  ClearNeededFields();
  for (const ExtDirFieldEntry& entry : entries) {
    if (entry.name.empty()) continue;
    const bool connected = std::any_of(stored.begin(), stored.end(), [&](const std::string& s) {
      return IsConnection(s) && FieldOfConnection(s) == entry.name;
    });
    if (!connected) neededNames_.push_back(entry.name);
    neededEntries_.push_back(entry);
  }
}

void ContentManagementState::ClearNeededFields() {
  neededNames_.clear();
  neededEntries_.clear();
}

std::string ContentManagementState::BlockLabel(const ContentBlock& block) {
  return block.name + " (" + std::to_string(block.connections.size()) + " of " +
         std::to_string(block.unconnected.size() + block.connections.size()) + ")";
}

std::string ContentManagementState::BlockNameOfLabel(const std::string& label) {
  return label.substr(0, label.find(" ("));
}

std::vector<std::string> ContentManagementState::ContentEntries(const std::string& name) const {
  std::vector<std::string> entries;
  if (const ContentBlock* block = FindBlock(name)) {
    entries = block->unconnected;
    entries.insert(entries.end(), block->connections.begin(), block->connections.end());
  }
  return entries;
}

std::string ContentManagementState::NeededDescription(const std::string& name) const {
  for (const ExtDirFieldEntry& entry : neededEntries_)
    if (entry.name == name) return entry.description;
  return {};
}

bool ContentManagementState::Connect(const std::string& name, std::string field,
                                     std::string needed) {
  ContentBlock* block = Find(name);
  if (!block || IsConnection(field) || !Contains(neededNames_, needed)) return false;
  Erase(neededNames_, needed);
  block->connections.push_back(field + kConnectionSeparator + needed);
  Erase(block->unconnected, field);
  return true;
}

bool ContentManagementState::Disconnect(const std::string& name, const std::string& connection) {
  ContentBlock* block = Find(name);
  if (!block || !IsConnection(connection) || !Contains(block->connections, connection))
    return false;
  neededNames_.push_back(NeededOfConnection(connection));
  block->unconnected.push_back(FieldOfConnection(connection));
  Erase(block->connections, connection);
  return true;
}

void ContentManagementState::Reset() {
  for (ContentBlock& block : blocks_) {
    for (const std::string& connection : block.connections) {
      block.unconnected.push_back(FieldOfConnection(connection));
      neededNames_.push_back(NeededOfConnection(connection));
    }
    block.connections.clear();
  }
}

bool ContentManagementState::ApplyTemplateEntry(const std::string& entry) {
  if (!IsConnection(entry)) return false;
  const std::string needed = FieldOfConnection(entry);
  const BlockField split = SplitBlockField(NeededOfConnection(entry));
  ContentBlock* block = Find(split.block);
  const int offered = FindNoCase(neededNames_, needed);
  if (!block || offered < 0 || !Contains(block->unconnected, split.field)) return false;
  // A copy: connecting removes the name from the list it stands in.
  const std::string name = neededNames_[static_cast<std::size_t>(offered)];
  return Connect(split.block, split.field, name);
}

std::vector<std::string> ContentManagementState::Stored() const {
  std::vector<std::string> stored;
  for (const ContentBlock& block : blocks_)
    for (const std::string& connection : block.connections)
      stored.push_back(SwapConnection(block.name + "_" + connection));
  return stored;
}

std::vector<std::string> ContentFormNames(const CNode& node) {
  std::vector<std::string> names;
  auto take = [&names](const CNode& task) {
    for (const std::string& form : task.Attributes().objects)
      if (!Contains(names, form)) names.push_back(form);
  };
  if (node.Kind() == NodeKind::In) {
    take(node);
    return names;
  }
  std::set<const CNode*> seen;
  std::vector<const CNode*> pending{&node};
  while (!pending.empty()) {
    const CNode* task = pending.back();
    pending.pop_back();
    for (const CArrow* arrow : task->IncomingArrows()) {
      const CNode* before = arrow->Source();
      if (!before || !seen.insert(before).second) continue;
      take(*before);
      pending.push_back(before);
    }
  }
  return names;
}

std::vector<ExtDirFieldEntry> LoadNeededFields(CExtDirData& directory, const std::string& griId,
                                               int direction) {
  const CExtDirItemGRILeaf* leaf = directory.LoadLeafById(griId);
  if (!leaf) {
    ReportMissingGriLeaf(directory.UserInterface(), griId);
    return {};
  }
  const bool input = direction == 1;
  const std::string& typeId = input ? leaf->InputDocTypeID : leaf->OutputDocTypeID;
  if (typeId.empty()) return input ? leaf->InputFields : leaf->OutputFields;
  const DocumentTypeRecord* type = directory.FindDocumentType(typeId);
  if (!type) {
    ShowErrorMessage(directory.UserInterface(),
                     "The Document Type ID " + typeId +
                         "\nof the connected GRI\nwas not found in External Directory "
                         "Database.\nPlease inform your database administrator!");
    return {};
  }
  std::vector<ExtDirFieldEntry> fields;
  for (const std::string& blockId : type->ContentBlockIDList)
    if (const ContentBlockRecord* block = directory.FindContentBlock(blockId))
      fields.insert(fields.end(), block->ContentFieldList.begin(), block->ContentFieldList.end());
  return fields;
}

void ReportMissingGriLeaf(Services& services, const std::string& griId) {
  ShowErrorMessage(services,
                   "The connected GRI ID " + griId +
                       "\nwas not found in External Directory Database.\nPlease inform your "
                       "database administrator!");
}

std::vector<const CExtDirItemCM*> ContentManagementTemplates(const CExtDirData& directory) {
  std::vector<const CExtDirItemCM*> templates;
  for (const CExtDirItemCM* item : directory.ItemsOf<CExtDirItemCM>())
    if (!item->ContentManagementName.empty()) templates.push_back(item);
  return templates;
}

}  // namespace velk
