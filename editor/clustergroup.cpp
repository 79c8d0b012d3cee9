#include "editor/clustergroup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/workflowdoc.h"
#include "repository/noteserror.h"

namespace velk {

namespace {

struct Ends {
  CNode* entry = nullptr;
  CNode* exit = nullptr;
};

bool Inside(const std::vector<CNode*>& nodes, const CNode* node) {
  return std::ranges::find(nodes, node) != nodes.end();
}

// The entry and exit of the selection, or the message that refuses it.
std::string FindEnds(const CWorkflowDoc& doc, const std::vector<CNode*>& nodes, Ends& ends) {
  const std::string cant = "Cant group the selection to a cluster!";
  // Inside the new cluster it would be a second start or end of that level, and its
  // own level would lose it.
  for (const CNode* node : nodes)
    if (node->IsClusterStartNode() || node->IsClusterEndNode() || node == doc.StartNode() ||
        node == doc.EndNode())
      return "The start and end tasks of the workflow and of its clusters can not be grouped." +
             cant;
  for (CNode* node : nodes) {
    const auto in = std::ranges::count_if(
        node->IncomingArrows(), [&](const CArrow* a) { return !Inside(nodes, a->Source()); });
    const auto out = std::ranges::count_if(
        node->OutgoingArrows(), [&](const CArrow* a) { return !Inside(nodes, a->Target()); });
    if (in + out > 1)
      return "One of the selected nodes has arrows to more than one node outside selection. " +
             cant;
    if (in == 1) {
      if (ends.entry)
        return "Only one node in selection can have incoming arrows to a node outside the "
               "selection." +
               cant;
      ends.entry = node;
    }
    if (out == 1) {
      if (ends.exit)
        return "Only one node in selection can have outgoing arrows to a node outside the "
               "selection." +
               cant;
      ends.exit = node;
    }
  }
  if (!ends.entry || !ends.exit)
    return "A cluster has exactly one incoming and one outgoing node." + cant;
  if (ends.entry == ends.exit)
    return "The incoming and outgoing node of a cluster must differ!" + cant;
  return {};
}

// Only tasks take the cluster start and end pictures; other kinds keep the
// picture that shows what they are.
void MarkBoundary(CWorkflowDoc& doc, CNode& node, bool start) {
  if (start)
    doc.SetClusterStartFlag(node, true);
  else
    doc.SetClusterEndFlag(node, true);
  if (node.Kind() == NodeKind::Intern)
    doc.SetNodePicture(node, start ? NodePicture::ClusterStart : NodePicture::ClusterEnd);
}

}  // namespace

CNode* GroupSelectionAsCluster(CWorkflowDoc& doc) {
  const std::vector<CNode*> nodes = doc.Session().SelectedNodes();
  if (nodes.size() < 2) return nullptr;
  Ends ends;
  if (const std::string refusal = FindEnds(doc, nodes, ends); !refusal.empty()) {
    ShowErrorMessage(doc.UserInterface(), refusal);
    return nullptr;
  }
  // A number no node uses, neither as its level nor as the level it stands
  // for: an empty cluster node may hold a number above every level in use.
  const int cluster = doc.NextFreeClusterNumber();
  const int parentLevel = ends.entry->BelongsToCluster();
  for (CNode* node : nodes) doc.SetBelongsToCluster(*node, cluster);
  MarkBoundary(doc, *ends.entry, true);
  MarkBoundary(doc, *ends.exit, false);

  CNode* k = doc.CreateNode(ends.entry->GetRect());
  doc.SetNodeKind(*k, NodeKind::IWC);
  doc.SetNodePicture(*k, NodePicture::Cluster);
  doc.SetBelongsToCluster(*k, parentLevel);
  doc.SetRepresentsCluster(*k, cluster);
  doc.SetClusterStartNode(*k, ends.entry);
  doc.SetClusterEndNode(*k, ends.exit);
  // Arrows inside the selection (a loop back to the entry) stay in the cluster.
  for (CArrow* a : std::vector<CArrow*>(ends.entry->IncomingArrows()))
    if (!Inside(nodes, a->Source())) doc.SetArrowTarget(*a, *k);
  for (CArrow* a : std::vector<CArrow*>(ends.exit->OutgoingArrows()))
    if (!Inside(nodes, a->Target())) doc.SetArrowSource(*a, *k);
  doc.Session().DeselectAllNodes();
  doc.Session().SelectNode(*k);
  return k;
}

}  // namespace velk
