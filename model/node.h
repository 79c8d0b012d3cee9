#pragma once
// The node record: one task of a workflow graph. Nodes are created, changed and
// destroyed only by their workflow document (CWorkflowDoc), so that every change
// of a workflow passes through one place; everyone else reads them.

#include <array>
#include <string>
#include <vector>

#include "model/geometry.h"
#include "model/kinds.h"

namespace velk {

class CWorkflowDoc;
class CArrow;
class NodeClipboard;
class WorkflowSession;

// Indices into the node bitmap tables.
namespace NodePicture {
inline constexpr int Intern = 0;
inline constexpr int ClusterEnd = 1;
inline constexpr int ClusterStart = 2;
inline constexpr int InPublished = 3;  // In Task with a GRI id
inline constexpr int Out = 4;
inline constexpr int Cluster = 5;
inline constexpr int ICDR = 6;
inline constexpr int CDDR = 7;
inline constexpr int ExternPublished = 8;    // subscribed, not referencing
inline constexpr int ExtWFTaskAssigned = 9;  // external task with a member
inline constexpr int EIDM = 10;
inline constexpr int InUnpublished = 11;
inline constexpr int Extern = 12;
inline constexpr int ExtWFTask = 13;
inline constexpr int ExternReferencing = 14;
}  // namespace NodePicture
inline constexpr int kNodePictureCount = 15;

// The task's own content: what the property sheets edit and the task document
// stores. Read it with CNode::Attributes(), change a copy, write it back with
// CWorkflowDoc::SetNodeAttributes().
struct NodeAttributes {
  std::string name;
  std::vector<std::string> activities;
  bool activityFlag = false;
  std::string freeText;
  int duration = 0;
  int durationUnit = 1;
  std::vector<std::string> objects;
  std::vector<std::string> folderObjects;  // {"All"}: every form
  std::vector<std::string> resources;
  int performerType = 0;  // 0 Person, 1 Unit, 2 Workgroup, 3 Role
  std::string member;
  std::string roleArgument;
  std::string teamManager;
  int teamQuantity = 0;
  std::vector<std::string> readers;
  bool remindFlag = false;
  int remindDuration = 0;
  int remindDurationUnit = 1;
  int deadlineDuration = 0;
  int deadlineDurationUnit = 1;
  int inContentManagementType = 0;
  int outContentManagementType = 0;
  std::vector<std::string> inContentManagement;
  std::vector<std::string> outContentManagement;
  std::string griId;
  std::string externClusterMail;
  std::string externClusterId;
  std::string extClusterInput;
  std::string extClusterOutput;
  std::string extClusterFormat;
  std::string extClusterSpecId;
  std::string extClusterRequiredDate = "01.01.99";
  int extClusterExpectedDuration = 0;
  int extClusterExpectedDurationUnit = 1;

  bool operator==(const NodeAttributes&) const = default;
};

// Scratch values of the graph walks (code assignment, loop check, automatic
// arrangement). They are not workflow content: walks set them freely and leave the
// visit marks false when done.
struct NodeWork {
  bool visitMark = false;
  int preorderNumber = -1;
  int postorderNumber = -1;
  int arrangeLayer = 0;
  int arrangeRow = 0;
};

class CNode {
 public:
  CNode(const CNode&) = delete;
  CNode& operator=(const CNode&) = delete;
  ~CNode() = default;

  // Document of the level the node was created in (the top document once that
  // level's window has closed).
  CWorkflowDoc* Document() const { return document_; }
  const Rect& GetRect() const { return rect_; }
  // The positions before a move; index 0 or 1.
  const Rect& SavedRect(int index) const { return savedRects_.at(index); }
  int Picture() const { return picture_; }
  bool IsSelected() const { return selected_; }

  const std::string& CodeText() const { return codeText_; }
  int Code() const { return code_; }

  NodeKind Kind() const { return kind_; }
  bool IsClusterNode() const { return kind_ == NodeKind::IWC; }
  const NodeAttributes& Attributes() const { return attributes_; }
  const std::string& Name() const { return attributes_.name; }

  // Cluster node: its open cluster window's document. Kind ICDR/CDDR: the open
  // sub-workflow document.
  CWorkflowDoc* ClusterDocument() const { return clusterDocument_; }
  const std::string& SubWorkflowId() const { return subWorkflowId_; }
  CNode* ClusterStartNode() const { return clusterStartNode_; }
  CNode* ClusterEndNode() const { return clusterEndNode_; }

  const std::vector<CArrow*>& IncomingArrows() const { return incoming_; }
  const std::vector<CArrow*>& OutgoingArrows() const { return outgoing_; }

  // The node this one was copied from (itself for an original). Only an identity:
  // the original may be gone by the time a copy is looked at.
  const CNode* CopiedFrom() const { return copiedFrom_; }

  CNode* ReferencedNode() const { return referencedNode_; }
  const std::string& ReferenceText() const { return referenceText_; }
  const std::vector<CNode*>& ReferencingNodes() const { return referencingNodes_; }

  int RepresentsCluster() const { return representsCluster_; }
  int BelongsToCluster() const { return belongsToCluster_; }
  bool IsClusterStartNode() const { return isClusterStartNode_; }
  bool IsClusterEndNode() const { return isClusterEndNode_; }

  NodeWork work;

 private:
  friend class CWorkflowDoc;
  friend class NodeClipboard;
  friend class WorkflowSession;

  CNode(CWorkflowDoc* document, const Rect& rect, int belongsToCluster);
  // A record copy without any link into a graph (arrows, references, cluster and
  // window links, selection).
  CNode(const CNode& from, CWorkflowDoc* document);

  CWorkflowDoc* document_;
  Rect rect_;
  std::array<Rect, 2> savedRects_;
  int picture_ = NodePicture::Intern;
  bool selected_ = false;
  std::string codeText_;
  int code_ = -1;
  CWorkflowDoc* clusterDocument_ = nullptr;
  std::string subWorkflowId_;
  CNode* clusterStartNode_ = nullptr;
  CNode* clusterEndNode_ = nullptr;
  std::vector<CArrow*> incoming_;
  std::vector<CArrow*> outgoing_;
  const CNode* copiedFrom_;
  NodeKind kind_ = NodeKind::Intern;
  NodeAttributes attributes_;
  CNode* referencedNode_ = nullptr;
  std::string referenceText_;
  std::vector<CNode*> referencingNodes_;
  int representsCluster_ = 0;
  int belongsToCluster_;
  bool isClusterStartNode_ = false;
  bool isClusterEndNode_ = false;
};

}  // namespace velk
