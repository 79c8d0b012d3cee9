#pragma once
// A node record as text, for the data of a node dragged out of a workflow window:
// the receiver (another window, the External Directory) reads every field from it
// and, within this program, finds the node itself by its identity.

#include <cstdint>
#include <string>

#include "model/node.h"

namespace velk {

class CWorkflowDoc;

// {"process": P, "node": N, "kind": K, "picture": I, "code": C, "attributes": {...}}
// where P and N identify the node within a running program.
std::string NodeRecordToJson(const CNode& node, std::int64_t processId);

struct ParsedNodeRecord {
  bool valid = false;
  std::int64_t processId = 0;
  std::uintptr_t nodeAddress = 0;
  NodeKind kind = NodeKind::Intern;
  NodeAttributes attributes;
};
// Never throws: text that is not such a record gives valid = false.
ParsedNodeRecord ParseNodeRecord(const std::string& json);

// The node of the record when it is a live node of `doc`'s workflow (looked up by
// address among the workflow's nodes, never dereferenced before it is found).
CNode* FindRecordedNode(const ParsedNodeRecord& record, const CWorkflowDoc& doc,
                        std::int64_t processId);

}  // namespace velk
