#include "model/checkloops.h"

#include <cstddef>
#include <unordered_map>

#include "model/workflowdoc.h"

namespace velk {

namespace {

// The walk keeps its own stack: a long chain of tasks must not exhaust the
// program's.
class LoopWalk {
 public:
  explicit LoopWalk(const CWorkflowDoc& doc) {
    for (CNode* node : doc.AllNodes()) {
      node->work.visitMark = false;
      node->work.preorderNumber = -1;
      node->work.postorderNumber = -1;
      if (node->RepresentsCluster() >= 2) representing_.emplace(node->RepresentsCluster(), node);
    }
  }

  void Visit(CNode* root) {
    if (root->work.visitMark) return;
    Enter(root);
    while (!stack_.empty()) {
      CNode* child = NextChild(stack_.size() - 1);
      if (child) {
        if (!child->work.visitMark) Enter(child);
        continue;
      }
      stack_.back().node->work.postorderNumber = ++post_;
      stack_.pop_back();
    }
  }

 private:
  // Where a node stands in its walk: first the start of the cluster it stands
  // for, then the successors of the cluster it ends, then its own successors.
  enum class Phase {
    ClusterStart,
    AfterClusterStart,
    Outer,
    OuterArrows,
    AfterOuter,
    Own,
    OwnArrows
  };
  struct Frame {
    CNode* node;
    Phase phase = Phase::ClusterStart;
    const CNode* from = nullptr;  // whose And arrows are being followed
    std::size_t next = 0;
  };

  void Enter(CNode* node) {
    node->work.visitMark = true;
    node->work.preorderNumber = ++pre_;
    stack_.push_back({node});
  }

  // The next And target of frame.from, or null when its arrows are done.
  static CNode* NextAndTarget(Frame& frame) {
    const auto& arrows = frame.from->OutgoingArrows();
    while (frame.next < arrows.size()) {
      const CArrow* arrow = arrows[frame.next++];
      if (arrow->Kind() == RoutingKind::And) return arrow->Target();
    }
    return nullptr;
  }

  CNode* NextChild(std::size_t index) {
    Frame& f = stack_[index];
    CNode* x = f.node;
    for (;;) {
      switch (f.phase) {
        case Phase::ClusterStart:
          if (x->IsClusterNode() && x->ClusterStartNode()) {
            f.phase = Phase::AfterClusterStart;
            return x->ClusterStartNode();
          }
          f.phase = Phase::Outer;
          break;
        case Phase::AfterClusterStart:
          x->work.postorderNumber = ++post_;
          f.phase = Phase::Outer;
          break;
        case Phase::Outer: {
          f.phase = Phase::Own;
          if (!x->IsClusterEndNode() || x->BelongsToCluster() < 2) break;
          const auto it = representing_.find(x->BelongsToCluster());
          if (it == representing_.end()) break;
          f.from = it->second;
          f.next = 0;
          f.phase = Phase::OuterArrows;
          break;
        }
        case Phase::OuterArrows:
          if (CNode* target = NextAndTarget(f)) return target;
          f.phase = Phase::AfterOuter;
          break;
        case Phase::AfterOuter:
          x->work.postorderNumber = ++post_;
          f.phase = Phase::Own;
          break;
        case Phase::Own:
          f.from = x;
          f.next = 0;
          f.phase = Phase::OwnArrows;
          break;
        case Phase::OwnArrows:
          return NextAndTarget(f);
      }
    }
  }

  std::unordered_map<int, CNode*> representing_;  // the first node standing for each cluster
  std::vector<Frame> stack_;
  int pre_ = 0;
  int post_ = 0;
};

}  // namespace

std::vector<const CArrow*> FindAndLoops(const CWorkflowDoc& doc) {
  LoopWalk walk(doc);
  if (doc.StartNode()) walk.Visit(doc.StartNode());
  for (CNode* node : doc.AllNodes()) walk.Visit(node);
  std::vector<const CArrow*> loops;
  for (const CArrow* arrow : doc.AllArrows()) {
    const CNode* s = arrow->Source();
    const CNode* t = arrow->Target();
    if (arrow->Kind() != RoutingKind::And || s == t) continue;
    if (t->work.preorderNumber < s->work.preorderNumber &&
        t->work.postorderNumber > s->work.postorderNumber)
      loops.push_back(arrow);
  }
  for (CNode* node : doc.AllNodes()) node->work.visitMark = false;
  return loops;
}

}  // namespace velk
