#include "model/workflowundo.h"

#include "model/workflowdoc.h"

namespace velk {

std::string UndoHistory::UndoName() const {
  return CanUndo() ? steps_[position_ - 1].name : std::string();
}

std::string UndoHistory::RedoName() const {
  return CanRedo() ? steps_[position_].name : std::string();
}

void UndoHistory::Clear() {
  steps_.clear();
  position_ = 0;
  savedPosition_ = 0;
  ++generation_;
}

void UndoHistory::Push(Step step) {
  // A scope that ends because a step is being restored (a window of a level that
  // goes) saw only the restoring: nothing of its own to record.
  if (restoring_) return;
  steps_.resize(position_);
  if (savedPosition_ > static_cast<long>(position_)) savedPosition_ = -1;
  steps_.push_back(std::move(step));
  ++position_;
  ++revision_;
  if (steps_.size() > kMaxSteps) {
    steps_.erase(steps_.begin());
    --position_;
    if (savedPosition_ >= 0) --savedPosition_;
  }
}

bool UndoHistory::Undo() {
  if (!CanUndo() || !owner_) return false;
  --position_;
  ++revision_;
  Restore(steps_[position_].before);
  FollowModifiedFlag();
  return true;
}

bool UndoHistory::Redo() {
  if (!CanRedo() || !owner_) return false;
  Restore(steps_[position_].after);
  ++position_;
  ++revision_;
  FollowModifiedFlag();
  return true;
}

void UndoHistory::Restore(const WorkflowSnapshot& snapshot) {
  restoring_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{restoring_};
  owner_->RestoreSnapshot(snapshot);
}

void UndoHistory::FollowModifiedFlag() {
  if (AtSavedState()) {
    const long saved = savedPosition_;
    owner_->Session().ClearModified();  // marks saved again: same position
    savedPosition_ = saved;
  } else {
    owner_->Session().SetModified();
  }
}

std::string DescribeChange(const WorkflowSnapshot& before, const WorkflowSnapshot& after) {
  if (after.nodes.size() != before.nodes.size())
    return after.nodes.size() > before.nodes.size() ? "Insert" : "Delete";
  if (after.arrows.size() != before.arrows.size())
    return after.arrows.size() > before.arrows.size() ? "Arrow" : "Delete";
  bool moved = false;
  for (std::size_t i = 0; i < after.nodes.size(); ++i) {
    NodeSnapshot unmoved = after.nodes[i];
    unmoved.rect = before.nodes[i].rect;
    if (!(unmoved == before.nodes[i])) return "Edit";
    moved = moved || after.nodes[i].rect != before.nodes[i].rect;
  }
  return moved && after.header == before.header ? "Move" : "Edit";
}

EditScope::EditScope(CWorkflowDoc& doc, std::string name)
    : history_(doc.Session().SharedHistory()),
      name_(std::move(name)),
      generation_(history_->Generation()) {
  if (history_->ScopeDepth()++ == 0)
    before_ = std::make_unique<WorkflowSnapshot>(doc.Top().TakeSnapshot());
}

EditScope::~EditScope() {
  --history_->ScopeDepth();
  CWorkflowDoc* top = history_->Owner();
  if (!before_ || !top || generation_ != history_->Generation()) return;
  try {
    WorkflowSnapshot after = top->TakeSnapshot();
    if (after.SameContent(*before_)) return;
    std::string name = name_.empty() ? DescribeChange(*before_, after) : std::move(name_);
    history_->Push({std::move(name), std::move(*before_), std::move(after)});
  } catch (...) {
    // Out of memory while recording: the edit stands, only its undo step is lost.
  }
}

}  // namespace velk
