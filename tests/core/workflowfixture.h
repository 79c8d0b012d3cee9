#pragma once
// Small graphs for the workflow model tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/workflowdoc.h"

namespace velk::testing {

// Changes a workflow's header or a node's attributes through the document.
template <class Change>
void EditHeader(CWorkflowDoc& d, Change change) {
  WorkflowHeader h = d.Header();
  change(h);
  d.SetHeader(h);
}
template <class Change>
void EditNode(CWorkflowDoc& d, CNode& node, Change change) {
  NodeAttributes a = node.Attributes();
  change(a);
  d.SetNodeAttributes(node, a);
}

// Every arrow of a workflow as "source>target kind condition formula", sorted.
inline std::vector<std::string> ArrowLines(const CWorkflowDoc& d) {
  std::vector<std::string> lines;
  for (const CArrow* a : d.AllArrows()) {
    std::string line =
        a->Source()->Name() + ">" + a->Target()->Name() + " " + RoutingKindName(a->Kind());
    for (const std::string& s : {a->Condition(), a->Formula()})
      if (!s.empty()) line += " " + s;
    lines.push_back(line);
  }
  std::ranges::sort(lines);
  return lines;
}

class WorkflowTest : public ::testing::Test {
 protected:
  HeadlessServices ui;
  CWorkflowDoc doc{ui, "CN=Test Designer/O=Marvelund", "06.12.2026"};

  // A node at column `col`, row `row` of a 100-unit grid, named `name`.
  CNode* Add(CWorkflowDoc& in, const std::string& name, int col = 0, int row = 0,
             NodeKind kind = NodeKind::Intern) {
    CNode* node = in.InsertNode(NodeRectAt(100 * col, -100 * row), kind);
    EditNode(in, *node, [&](NodeAttributes& a) { a.name = name; });
    return node;
  }
  CNode* Add(const std::string& name, int col = 0, int row = 0, NodeKind kind = NodeKind::Intern) {
    return Add(doc, name, col, row, kind);
  }
  CArrow* Link(CNode* from, CNode* to, RoutingKind kind = RoutingKind::And) {
    return doc.CreateArrow(*from, *to, {kind, {}, {}});
  }
  // Makes `cluster` (a cluster node) stand for a level holding `first`..`last`
  // as its start and end nodes.
  void MakeClusterOf(CNode* cluster, CNode* first, CNode* last) {
    const int level = cluster->RepresentsCluster();
    for (CNode* n : {first, last}) doc.SetBelongsToCluster(*n, level);
    doc.SetClusterStartFlag(*first, true);
    doc.SetClusterEndFlag(*last, true);
    doc.SetClusterStartNode(*cluster, first);
    doc.SetClusterEndNode(*cluster, last);
  }
  // The texts of the messages shown so far.
  std::vector<std::string> Said() const {
    std::vector<std::string> texts;
    for (const auto& m : ui.messages) texts.push_back(m.text);
    return texts;
  }
  bool HasArrow(const CNode* from, const CNode* to) const {
    for (const CArrow* a : doc.AllArrows())
      if (a->Source() == from && a->Target() == to) return true;
    return false;
  }
};

}  // namespace velk::testing
