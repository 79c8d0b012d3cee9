#pragma once
// Undo and redo of workflow edits by whole-graph snapshots.
//
// An edit scope records the workflow's content (nodes with all their fields,
// arrows, references, clusters, start and end tasks, header) when it opens and
// again when it closes; if anything changed, the pair becomes one undo step. The
// place that dispatches editing commands and tool gestures opens a scope around
// each of them, so every operation, present or future, gets undo without naming
// it. Restoring a snapshot keeps the node objects that still exist, so open
// cluster windows and other holders of node pointers stay valid.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/arrow.h"
#include "model/node.h"
#include "model/workflowheader.h"

namespace velk {

class CWorkflowDoc;

// One node's content; links to other nodes are indices into the snapshot's nodes.
// Where a node was before its last move (its saved rectangles) is no content: a
// click that only notes it changes nothing.
struct NodeSnapshot {
  Rect rect;
  int picture = 0;
  std::string codeText;
  int code = -1;
  std::string subWorkflowId;
  int clusterStartNode = -1;
  int clusterEndNode = -1;
  const CNode* copiedFrom = nullptr;  // an identity only, never followed
  NodeKind kind = NodeKind::Intern;
  NodeAttributes attributes;
  int referencedNode = -1;
  std::string referenceText;
  int representsCluster = 0;
  int belongsToCluster = 0;
  bool isClusterStartNode = false;
  bool isClusterEndNode = false;
  bool operator==(const NodeSnapshot&) const = default;
};

struct ArrowSnapshot {
  int source = -1;
  int target = -1;
  std::array<bool, 2> stateFlags{};
  ArrowRouting routing;
  Point lineStart;
  Point lineEnd;
  bool operator==(const ArrowSnapshot&) const = default;
};

// Start and end task of an open cluster window's level, where they differ from its
// cluster node's: opening or closing a window is no edit.
struct LevelBoundarySnapshot {
  int clusterNode = -1;
  int start = -1;
  int end = -1;
  bool operator==(const LevelBoundarySnapshot&) const = default;
};

struct WorkflowSnapshot {
  // Without the stored identity (id, version, status, replica), which saving
  // changes and undo must never take back.
  WorkflowHeader header;
  std::vector<NodeSnapshot> nodes;
  std::vector<ArrowSnapshot> arrows;
  int start = -1;
  int end = -1;
  std::vector<LevelBoundarySnapshot> levels;
  // The node objects the entries were taken from, to reuse those still alive.
  std::vector<const CNode*> identities;

  bool SameContent(const WorkflowSnapshot& other) const {
    return header == other.header && nodes == other.nodes && arrows == other.arrows &&
           start == other.start && end == other.end && levels == other.levels;
  }
};

class UndoHistory {
 public:
  struct Step {
    std::string name;
    WorkflowSnapshot before;
    WorkflowSnapshot after;
  };
  static constexpr std::size_t kMaxSteps = 100;

  explicit UndoHistory(CWorkflowDoc* owner) : owner_(owner) {}
  // The top document; null once it is gone (an edit scope may outlive it).
  CWorkflowDoc* Owner() const { return owner_; }
  void ForgetOwner() { owner_ = nullptr; }

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // Name of the step Undo / Redo would take back or repeat ("" when none).
  std::string UndoName() const;
  std::string RedoName() const;
  std::size_t StepCount() const { return steps_.size(); }
  // Forgets every step; the present state counts as saved.
  void Clear();
  // The present state is the stored one.
  void MarkSaved() { savedPosition_ = static_cast<long>(position_); }
  // No state the history reaches is the stored one (a workflow restored from its
  // recovery copy): undoing every step leaves it modified.
  void MarkNotSaved() { savedPosition_ = -1; }
  bool AtSavedState() const { return savedPosition_ == static_cast<long>(position_); }
  // A new step after the present one; the steps that Redo would repeat are gone.
  void Push(Step step);
  // Restore the state before / after the step; false when there is none.
  bool Undo();
  bool Redo();

  // Edit scopes nest: only the outermost one records.
  int& ScopeDepth() { return scopeDepth_; }
  // Counts Clear calls, so that a scope around a load records nothing.
  unsigned Generation() const { return generation_; }
  // Changes with every step recorded, undone or redone: a copy taken at one
  // revision is up to date while the revision stays.
  unsigned long Revision() const { return revision_; }

 private:
  void Restore(const WorkflowSnapshot& snapshot);
  void FollowModifiedFlag();

  CWorkflowDoc* owner_;
  std::vector<Step> steps_;
  std::size_t position_ = 0;  // steps applied
  long savedPosition_ = 0;    // -1: the saved state is no longer reachable
  int scopeDepth_ = 0;
  bool restoring_ = false;
  unsigned generation_ = 0;
  unsigned long revision_ = 0;
};

// A name for the step between two states when the caller had none (a tool
// gesture): "Insert", "Delete", "Arrow", "Move" or "Edit".
std::string DescribeChange(const WorkflowSnapshot& before, const WorkflowSnapshot& after);

// Records one undo step named `name` (empty: named by DescribeChange) for everything changed in the
// workflow of `doc` while the scope is open. Scopes inside an open one add to its step.
class EditScope {
 public:
  EditScope(CWorkflowDoc& doc, std::string name);
  ~EditScope();
  EditScope(const EditScope&) = delete;
  EditScope& operator=(const EditScope&) = delete;

 private:
  std::shared_ptr<UndoHistory> history_;
  std::string name_;
  std::unique_ptr<WorkflowSnapshot> before_;
  unsigned generation_ = 0;
};

}  // namespace velk
