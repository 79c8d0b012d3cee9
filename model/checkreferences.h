#pragma once
// The reference check of subscribed external workflows: a subscribed workflow
// may refer only to one it can be reached from along arrows (of any kind;
// clusters are not entered).

#include <vector>

namespace velk {

class CWorkflowDoc;
class CNode;

// The subscribed external workflows of the document (all levels) whose
// referenced node does not reach them, in all-nodes order. One pass over the
// graph for every 64 references, not one walk per referencing node.
std::vector<const CNode*> UnreachableReferences(const CWorkflowDoc& doc);

}  // namespace velk
