#include "model/nodepicture.h"

#include "model/node.h"

namespace velk {

int PictureByRule(const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  const bool hasGri = !a.griId.empty();
  if (node.IsClusterStartNode()) {
    if (node.Kind() == NodeKind::Intern) return NodePicture::ClusterStart;
    if (node.Kind() == NodeKind::In)
      return hasGri ? NodePicture::InPublished : NodePicture::InUnpublished;
  }
  if (node.IsClusterEndNode() && node.Kind() == NodeKind::Intern) return NodePicture::ClusterEnd;
  switch (node.Kind()) {
    case NodeKind::Extern:
      if (!hasGri) return NodePicture::Extern;
      return node.ReferenceText().empty() ? NodePicture::ExternPublished
                                          : NodePicture::ExternReferencing;
    case NodeKind::ExtWFTask:
      return a.member.empty() ? NodePicture::ExtWFTask : NodePicture::ExtWFTaskAssigned;
    case NodeKind::In:
      // An In Task that is not a start node has no picture of its own in the rule.
      return NodePicture::Intern;
    default:
      return InsertionPicture(node.Kind());
  }
}

int InsertionPicture(NodeKind kind) {
  switch (kind) {
    case NodeKind::In:
      return NodePicture::InUnpublished;
    case NodeKind::Out:
      return NodePicture::Out;
    case NodeKind::IWC:
      return NodePicture::Cluster;
    case NodeKind::ICDR:
      return NodePicture::ICDR;
    case NodeKind::CDDR:
      return NodePicture::CDDR;
    case NodeKind::Extern:
      return NodePicture::Extern;
    case NodeKind::ExtWFTask:
      return NodePicture::ExtWFTask;
    case NodeKind::EIDM:
      return NodePicture::EIDM;
    default:
      return NodePicture::Intern;
  }
}

}  // namespace velk
