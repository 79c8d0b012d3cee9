#include "model/workflowbuild.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/clusterlevels.h"
#include "model/nodepicture.h"
#include "model/workflowdoc.h"
#include "model/workflowgraph.h"
#include "repository/noteserror.h"

namespace velk {

namespace {

std::string Format(const char* format, const std::string& a, const std::string& b) {
  std::vector<char> text(std::char_traits<char>::length(format) + a.size() + b.size() + 1);
  std::snprintf(text.data(), text.size(), format, a.c_str(), b.c_str());
  return text.data();
}

}  // namespace

GraphBuilder::GraphBuilder(CWorkflowDoc& doc) : top_(doc.Top()) {
  top_.UserInterface().infoCenter().clearCategory(kLoadingWorkflowCategory);
}

CNode* GraphBuilder::AddTask(TaskRecord task) {
  const int x = std::abs(task.xpos);
  const int y = -std::abs(task.ypos);  // the drawing's y axis points up
  CNode* node = top_.CreateNode(NodeRectAt(x, y));
  top_.SetNodeCodeText(*node, task.codeText);
  top_.SetNodeCode(*node, CodeFromKey(task.codeText));
  top_.SetNodeKind(*node, task.kind);
  top_.SetNodeAttributes(*node, std::move(task.attributes));
  top_.SetReferenceText(*node, task.referenceText);
  if (task.kind == NodeKind::ICDR || task.kind == NodeKind::CDDR)
    top_.SetSubWorkflowId(*node, std::move(task.subWorkflowId));
  top_.SetBelongsToCluster(*node, task.belongsToCluster);
  top_.SetRepresentsCluster(*node, task.representsCluster);
  top_.SetClusterStartFlag(*node, task.isClusterStartNode);
  top_.SetClusterEndFlag(*node, task.isClusterEndNode);
  if (task.belongsToCluster == 1 && task.isClusterStartNode) top_.SetStartNode(node);
  if (task.belongsToCluster == 1 && task.isClusterEndNode) top_.SetEndNode(node);
  top_.SetNodePicture(*node, PictureByRule(*node));
  byKey_.emplace(task.codeText, node);
  return node;
}

void GraphBuilder::AddArrow(RoutingKind kind, PendingArrow arrow) {
  const int k = static_cast<int>(kind);
  pending_[k >= 0 && k < kRoutingKindCount ? k : 0].push_back(std::move(arrow));
}

void GraphBuilder::Finish() {
  DemoteSelfEnclosingClusters();
  for (CNode* node : top_.AllNodes())
    if (node->RepresentsCluster() >= 2) representing_.emplace(node->RepresentsCluster(), node);
  for (RoutingKind kind :
       {RoutingKind::And, RoutingKind::Or, RoutingKind::Cor, RoutingKind::Xor, RoutingKind::Else})
    MakeArrows(kind);
  MakeEndTaskArrows();
  LinkClusters();
  ResolveReferences();
  top_.SetLoadFaults(std::move(faults_));
}

// Opened as a cluster, such a node would show its own level inside itself without
// end; as a plain task the workflow still opens and can be mended.
void GraphBuilder::DemoteSelfEnclosingClusters() {
  for (CNode* node : SelfEnclosingClusterNodes(top_)) {
    const std::string text = "Task " + node->CodeText() + ": " + SelfEnclosingClusterText(*node) +
                             " It is shown as a plain task.";
    top_.UserInterface().infoCenter().addEntry(kLoadingWorkflowCategory, "Checking cluster levels",
                                               text, 0, Severity::Error);
    Fault(text, false);
    if (node->IsClusterNode()) top_.SetNodeKind(*node, NodeKind::Intern);
    top_.SetRepresentsCluster(*node, 0);
    top_.SetNodePicture(*node, PictureByRule(*node));
  }
}

void GraphBuilder::Fault(std::string text, bool shown) {
  if (shown) ShowErrorMessage(top_.UserInterface(), text);
  faults_.push_back(std::move(text));
}

CNode* GraphBuilder::Find(const std::string& key) const {
  auto it = byKey_.find(key);
  return it == byKey_.end() ? nullptr : it->second;
}

CNode* GraphBuilder::Representing(int cluster) {
  auto it = representing_.find(cluster);
  if (it != representing_.end()) return it->second;
  // Reports the miss; remembered so that it is reported once.
  CNode* found = representing_[cluster] = top_.GetNodeWhichRepresentsCluster(cluster);
  if (!found)
    Fault("No node stands for cluster " + std::to_string(cluster) +
              ", so its tasks can not be reached.",
          false);
  return found;
}

// A stored arrow into a cluster names the cluster's start task; the arrow is drawn
// to the cluster node in the source's own level, however deep the start task
// lies. An arrow inside the cluster to its own start task stays as it is.
CNode* GraphBuilder::TargetInSourceLevel(const CNode& source, CNode* target) {
  for (std::size_t steps = 0; steps < top_.NodeCount(); ++steps) {
    if (!target->IsClusterStartNode() || target->BelongsToCluster() < 2 ||
        target->BelongsToCluster() == source.BelongsToCluster())
      break;
    CNode* outer = Representing(target->BelongsToCluster());
    if (!outer) break;
    target = outer;
  }
  return target;
}

void GraphBuilder::MakeArrows(RoutingKind kind) {
  for (const PendingArrow& p : pending_[static_cast<int>(kind)]) {
    CNode* source = Find(p.source);
    CNode* target = Find(p.target);
    if (!source && !target) {
      Fault(Format("Both startnode %s and endnode %s could not be found in the nodelist.", p.source,
                   p.target));
      continue;
    }
    if (!source) {
      Fault(
          Format("The startnode %s  in the arrow to endnode %s could not be found in the nodelist.",
                 p.source, p.target));
      continue;
    }
    if (!target) {
      Fault(Format("The endnode %s in the arrow from %s could not be found in the nodelist.",
                   p.target, p.source));
      continue;
    }
    if (EndsInnerCluster(*source)) {
      endTaskArrows_.emplace_back(kind, &p);
      continue;
    }
    top_.CreateArrow(*source, *TargetInSourceLevel(*source, target),
                     {kind, p.condition, p.formula});
  }
}

bool GraphBuilder::OuterHasArrow(const CNode& endTask, RoutingKind kind, const CNode& target) {
  std::vector<const CNode*> passed{&endTask};
  for (const CNode* current = &endTask; EndsInnerCluster(*current);) {
    const CNode* outer = Representing(current->BelongsToCluster());
    if (!outer || std::ranges::find(passed, outer) != passed.end()) return false;
    for (const CArrow* arrow : outer->OutgoingArrows())
      if (arrow->Kind() == kind && RoutingSuccessor(*arrow) == &target) return true;
    passed.push_back(outer);
    current = outer;
  }
  return false;
}

void GraphBuilder::MakeEndTaskArrows() {
  for (const auto& [kind, p] : endTaskArrows_) {
    CNode* source = Find(p->source);
    CNode* target = Find(p->target);
    if (OuterHasArrow(*source, kind, *target)) continue;
    top_.CreateArrow(*source, *TargetInSourceLevel(*source, target),
                     {kind, p->condition, p->formula});
  }
}

void GraphBuilder::LinkClusters() {
  for (CNode* node : top_.AllNodes()) {
    if (node->BelongsToCluster() < 2 || !(node->IsClusterStartNode() || node->IsClusterEndNode()))
      continue;
    CNode* cluster = Representing(node->BelongsToCluster());
    if (!cluster) continue;
    if (node->IsClusterStartNode()) top_.SetClusterStartNode(*cluster, node);
    if (node->IsClusterEndNode()) top_.SetClusterEndNode(*cluster, node);
  }
}

void GraphBuilder::ResolveReferences() {
  for (CNode* node : top_.AllNodes()) {
    if (node->Kind() != NodeKind::Extern || node->ReferenceText().empty() || node->ReferencedNode())
      continue;
    if (CNode* target = Find(node->ReferenceText())) top_.SetReferencedNode(*node, target);
  }
}

}  // namespace velk
