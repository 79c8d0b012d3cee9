#pragma once
// The internal clipboard of copied nodes and the arrows between them. Its copies
// belong to no document; pasting makes further copies in the target document.

#include <memory>
#include <vector>

#include "model/arrow.h"
#include "model/node.h"

namespace velk {

class CWorkflowDoc;

class NodeClipboard {
 public:
  NodeClipboard() = default;
  NodeClipboard(const NodeClipboard&) = delete;
  NodeClipboard& operator=(const NodeClipboard&) = delete;

  // Replaces the contents by copies of the document's selected nodes and of the
  // arrows that join two of them.
  void Copy(const CWorkflowDoc& doc);
  // Copies the contents into the document's level, moved by `offset` from the
  // copied positions; returns the new nodes. Pasted nodes are no start or end
  // nodes, and a pasted cluster node stands for a new, empty cluster.
  std::vector<CNode*> Paste(CWorkflowDoc& doc, Point offset = {}) const;

  bool IsFilled() const { return !nodes_.empty(); }
  void Clear();
  std::vector<const CNode*> Nodes() const;
  std::vector<const CArrow*> Arrows() const;

 private:
  std::vector<std::unique_ptr<CNode>> nodes_;
  std::vector<std::unique_ptr<CArrow>> arrows_;
};

}  // namespace velk
