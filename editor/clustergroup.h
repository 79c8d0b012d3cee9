#pragma once
// "&Group nodes as Cluster": the selected nodes of a level become a new
// internal workflow cluster, shown in their place as one cluster node.

namespace velk {

class CWorkflowDoc;
class CNode;

// Groups the selection of `doc` (more than one node; with fewer nothing
// happens). The selection needs exactly one node reached from outside it (the
// entry) and one other node leading outside (the exit), each by one arrow, and
// no start or end task of the workflow or of a cluster; otherwise the reason is
// shown and nothing changes. Returns the new cluster
// node, selected, or null.
CNode* GroupSelectionAsCluster(CWorkflowDoc& doc);

}  // namespace velk
