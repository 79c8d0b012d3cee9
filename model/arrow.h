#pragma once
// The arrow record: one routing edge between two nodes. Owned by the top workflow
// document and changed only through it (CWorkflowDoc).

#include <array>
#include <string>

#include "model/geometry.h"
#include "model/kinds.h"

namespace velk {

class CWorkflowDoc;
class CNode;
class NodeClipboard;
class WorkflowSession;

// What the arrow routing dialog edits.
struct ArrowRouting {
  RoutingKind routingKind = RoutingKind::And;
  std::string condition;  // Or, Xor, Cor
  std::string formula;    // Cor only

  bool operator==(const ArrowRouting&) const = default;
};

class CArrow {
 public:
  CArrow(const CArrow&) = delete;
  CArrow& operator=(const CArrow&) = delete;
  ~CArrow() = default;

  // Document the arrow was drawn in (the top document once that window has closed).
  CWorkflowDoc* Document() const { return document_; }
  CNode* Source() const { return source_; }
  CNode* Target() const { return target_; }
  bool IsSelected() const { return selected_; }
  // Two spare state flags; false on creation and in copies.
  bool StateFlag(int index) const { return stateFlags_.at(index); }

  const ArrowRouting& Routing() const { return routing_; }
  RoutingKind Kind() const { return routing_.routingKind; }
  const std::string& Condition() const { return routing_.condition; }
  const std::string& Formula() const { return routing_.formula; }

  // Segment from the source's border to the target's border.
  Point LineStart() const { return lineStart_; }
  Point LineEnd() const { return lineEnd_; }

 private:
  friend class CWorkflowDoc;
  friend class NodeClipboard;
  friend class WorkflowSession;

  CArrow(CWorkflowDoc* document, CNode* source, CNode* target, ArrowRouting routing)
      : document_(document), source_(source), target_(target), routing_(std::move(routing)) {}

  CWorkflowDoc* document_;
  CNode* source_;
  CNode* target_;
  bool selected_ = false;
  std::array<bool, 2> stateFlags_{};
  ArrowRouting routing_;
  Point lineStart_;
  Point lineEnd_;
};

}  // namespace velk
