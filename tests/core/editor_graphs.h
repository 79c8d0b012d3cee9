#pragma once
// Graphs and renderings of a workflow that several tests share.

#include <set>
#include <string>
#include <vector>

#include "workflowfixture.h"

namespace velk::testing {

// Names, levels, kinds, start and end, performers and arrows, in workflow order,
// a line each.
inline std::string Lines(const CWorkflowDoc& d) {
  std::string lines;
  for (const CNode* n : d.AllNodes()) {
    lines += n->Name() + "@" + std::to_string(n->BelongsToCluster());
    if (n->RepresentsCluster()) lines += ">" + std::to_string(n->RepresentsCluster());
    if (n->Kind() != NodeKind::Intern) lines += " k" + std::to_string(static_cast<int>(n->Kind()));
    if (!n->SubWorkflowId().empty()) lines += " calls " + n->SubWorkflowId();
    if (n->IsClusterStartNode()) lines += " S";
    if (n->IsClusterEndNode()) lines += " E";
    if (!n->Attributes().member.empty()) lines += " by " + n->Attributes().member;
    lines += "\n";
  }
  for (const CArrow* a : d.AllArrows())
    lines += a->Source()->Name() + "->" + a->Target()->Name() + " " + RoutingKindName(a->Kind()) +
             (a->Condition().empty() ? "" : " " + a->Condition()) + "\n";
  return lines;
}

// Whether a path of arrows leads from `from` to `to`; a node reaches itself.
inline bool Reaches(const CNode* from, const CNode* to) {
  std::set<const CNode*> seen{from};
  std::vector<const CNode*> todo{from};
  while (!todo.empty()) {
    const CNode* n = todo.back();
    todo.pop_back();
    if (n == to) return true;
    for (const CArrow* a : n->OutgoingArrows())
      if (seen.insert(a->Target()).second) todo.push_back(a->Target());
  }
  return false;
}

// A node's rectangle centred on (cx, cy).
inline Rect AroundCentre(int cx, int cy) {
  return {cx - 17, cy + 17, cx + 17, cy - 17};
}

// Every node's rectangle, in workflow order.
inline std::vector<Rect> Rects(const CWorkflowDoc& doc) {
  std::vector<Rect> rects;
  for (const CNode* n : doc.AllNodes()) rects.push_back(n->GetRect());
  return rects;
}

// The nodes' codes in workflow order.
inline std::vector<int> Codes(const CWorkflowDoc& doc) {
  std::vector<int> codes;
  for (const CNode* n : doc.AllNodes()) codes.push_back(n->Code());
  return codes;
}

// Start -> K -> After; K's level holds I1 -> K2, and K2's level J1 -> J2.
class NestedClustersTest : public WorkflowTest {
 protected:
  NestedClustersTest() {
    MakeClusterOf(outer, i1, inner);
    MakeClusterOf(inner, j1, j2);
    Link(i1, inner);
    Link(j1, j2);
  }
  CNode* start = Add("Start");
  CNode* outer = Add("K", 1, 0, NodeKind::IWC);
  CNode* after = Add("After", 2);
  CNode* i1 = Add("I1");
  CNode* inner = Add("K2", 1, 0, NodeKind::IWC);
  CNode* j1 = Add("J1");
  CNode* j2 = Add("J2", 1);
  CArrow* toOuter = Link(start, outer);
  CArrow* onward = Link(outer, after);
};

}  // namespace velk::testing
