#include "model/nodeclipboard.h"

#include <algorithm>
#include <map>

#include "model/nodepicture.h"
#include "model/workflowdoc.h"

namespace velk {

void NodeClipboard::Clear() {
  arrows_.clear();
  nodes_.clear();
}

void NodeClipboard::Copy(const CWorkflowDoc& doc) {
  Clear();
  std::map<const CNode*, CNode*> copyOf;
  for (const CNode* node : doc.Session().SelectedNodes()) {
    nodes_.push_back(std::unique_ptr<CNode>(new CNode(*node, nullptr)));
    copyOf[node] = nodes_.back().get();
  }
  for (const CNode* node : doc.Session().SelectedNodes()) {
    for (const CArrow* arrow : node->OutgoingArrows()) {
      auto target = copyOf.find(arrow->Target());
      if (target == copyOf.end()) continue;
      CNode* source = copyOf[node];
      arrows_.push_back(
          std::unique_ptr<CArrow>(new CArrow(nullptr, source, target->second, arrow->Routing())));
      source->outgoing_.push_back(arrows_.back().get());
      target->second->incoming_.push_back(arrows_.back().get());
    }
  }
}

std::vector<CNode*> NodeClipboard::Paste(CWorkflowDoc& doc, Point offset) const {
  std::vector<CNode*> pasted;
  std::map<const CNode*, CNode*> copyOf;
  for (const auto& clip : nodes_) {
    const int cluster = clip->IsClusterNode() ? doc.NextFreeClusterNumber() : 0;
    CNode* node = doc.AdoptNode(std::unique_ptr<CNode>(new CNode(*clip, &doc)));
    node->copiedFrom_ = node;
    node->belongsToCluster_ = doc.Level();
    node->representsCluster_ = cluster;
    node->isClusterStartNode_ = false;
    node->isClusterEndNode_ = false;
    node->subWorkflowId_.clear();
    node->referenceText_.clear();
    node->picture_ = PictureByRule(*node);
    node->rect_ = node->rect_.Offset(offset.x, offset.y);
    node->savedRects_ = {node->rect_, node->rect_};
    copyOf[clip.get()] = node;
    pasted.push_back(node);
  }
  for (const auto& arrow : arrows_)
    doc.CreateArrow(*copyOf[arrow->Source()], *copyOf[arrow->Target()], arrow->Routing());
  return pasted;
}

std::vector<const CNode*> NodeClipboard::Nodes() const {
  std::vector<const CNode*> nodes;
  for (const auto& node : nodes_) nodes.push_back(node.get());
  return nodes;
}

std::vector<const CArrow*> NodeClipboard::Arrows() const {
  std::vector<const CArrow*> arrows;
  for (const auto& arrow : arrows_) arrows.push_back(arrow.get());
  return arrows;
}

}  // namespace velk
