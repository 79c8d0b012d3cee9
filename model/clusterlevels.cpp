#include "model/clusterlevels.h"

#include <set>
#include <unordered_map>

#include "model/workflowdoc.h"

namespace velk {

namespace {

// Whether `level` is `cluster` or lies inside it, going up through the first node
// that represents each level (as the routing does).
bool Encloses(int cluster, int level, const std::unordered_map<int, const CNode*>& parent) {
  std::set<int> passed;
  while (level >= 2 && passed.insert(level).second) {
    if (level == cluster) return true;
    auto it = parent.find(level);
    if (it == parent.end()) return false;
    level = it->second->BelongsToCluster();
  }
  return false;
}

}  // namespace

std::vector<CNode*> SelfEnclosingClusterNodes(const CWorkflowDoc& doc) {
  std::unordered_map<int, const CNode*> parent;
  for (const CNode* node : doc.AllNodes())
    if (node->RepresentsCluster() >= 2) parent.emplace(node->RepresentsCluster(), node);
  std::vector<CNode*> found;
  for (CNode* node : doc.AllNodes()) {
    const int cluster = node->RepresentsCluster();
    const bool top = node->IsClusterNode() && cluster == 1;
    if (top || (cluster >= 2 && Encloses(cluster, node->BelongsToCluster(), parent)))
      found.push_back(node);
  }
  return found;
}

std::string SelfEnclosingClusterText(const CNode& node) {
  return "The cluster node \"" + node.Name() + "\" stands for the level it lies in or for a " +
         "level enclosing it (cluster " + std::to_string(node.RepresentsCluster()) + ").";
}

std::vector<CWorkflowDoc*> WorkflowLevels(CWorkflowDoc& top) {
  std::vector<CWorkflowDoc*> levels{&top};
  std::set<int> seen{top.Level()};
  for (std::size_t i = 0; i < levels.size(); ++i)
    for (CNode* node : levels[i]->LevelNodes())
      if (node->IsClusterNode() && node->RepresentsCluster() >= 2 &&
          seen.insert(node->RepresentsCluster()).second)
        levels.push_back(top.OpenClusterDocument(*node));
  return levels;
}

LevelNames::LevelNames(const CWorkflowDoc& doc) {
  for (const CNode* node : doc.AllNodes())
    if (node->IsClusterNode()) representing_.emplace(node->RepresentsCluster(), node);
}

std::string LevelNames::Of(const CNode& node) const {
  std::string path;
  std::set<int> passed;
  for (int level = node.BelongsToCluster(); passed.insert(level).second;) {
    auto found = representing_.find(level);
    if (found == representing_.end()) break;
    path = found->second->Name() + (path.empty() ? "" : " > " + path);
    level = found->second->BelongsToCluster();
  }
  return path;
}

}  // namespace velk
