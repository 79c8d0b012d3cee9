#include "editor/ui/droptarget.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include "editor/hittest.h"
#include "editor/ui/dragdata.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "model/workflowextdir.h"

using velk::CNode;
using velk::DropEffect;
using velk::DropKind;

namespace {

struct DropSite {
  DropKind kind = DropKind::Other;
  CNode* target = nullptr;
  CNode* dragged = nullptr;
  Qt::DropAction action = Qt::IgnoreAction;
};

DropSite Examine(CWorkflowView& view, const QDropEvent& event, velk::Point p) {
  DropSite site;
  const CWorkflowDoc* doc = view.Document();
  if (!doc) return site;
  site.kind = DropKindOf(event.mimeData());
  site.target = velk::NodeAt(doc->LevelNodes(), p);
  if (site.kind == DropKind::ExternalSubscribedWorkflow)
    site.dragged = DraggedNodeIn(event.mimeData(), *doc);
  const DropEffect effect = velk::DropEffectFor(site.kind, site.target, site.dragged);
  const Qt::DropAction action = effect == DropEffect::Copy   ? Qt::CopyAction
                                : effect == DropEffect::Link ? Qt::LinkAction
                                                             : Qt::IgnoreAction;
  if (event.possibleActions() & action) site.action = action;
  return site;
}

std::string Text(const QJsonObject& fields, const char* key) {
  return fields.value(QLatin1String(key)).toString().toStdString();
}

bool Perform(CWorkflowView& view, const QDropEvent& event, const DropSite& site) {
  CWorkflowDoc& doc = *view.Document();
  switch (site.kind) {
    case DropKind::Person: {
      const auto fields = DroppedItemFields(event.mimeData(), ClipFormat::ExtDirPerson);
      return fields && velk::DropPerson(doc, *site.target, Text(*fields, "FullName"));
    }
    case DropKind::ExternalViewLeaf: {
      const auto fields = DroppedItemFields(event.mimeData(), ClipFormat::ExtDirExternalViewLeaf);
      if (!fields) return false;
      // The organisation offering the leaf becomes the member when the workflow's
      // External Directory knows it; otherwise the node keeps its member.
      const std::string leafId = Text(*fields, "LeafID");
      const std::string organisation = velk::LeafOrganisation(doc.Top(), leafId);
      return velk::DropExternalViewLeaf(
          doc, *site.target, leafId,
          organisation.empty() ? std::nullopt : std::optional<std::string>(organisation));
    }
    case DropKind::ExternalSubscribedWorkflow:
      return velk::DropSubscribedWorkflow(doc, *site.target, *site.dragged);
    default:
      return false;
  }
}

}  // namespace

void CWorkflowDropTarget::DragMove(CWorkflowView& view, QDragMoveEvent& event, velk::Point p) {
  const DropSite site = Examine(view, event, p);
  if (site.action != Qt::IgnoreAction) {
    event.setDropAction(site.action);
    event.accept();
  } else if (event.type() == QEvent::DragEnter && site.kind != DropKind::Other) {
    // Keep following the drag: a node that takes it may lie further on.
    event.setDropAction(Qt::IgnoreAction);
    event.accept();
  }
}

void CWorkflowDropTarget::Drop(CWorkflowView& view, QDropEvent& event, velk::Point p) {
  const DropSite site = Examine(view, event, p);
  if (site.action == Qt::IgnoreAction || !Perform(view, event, site)) return;
  event.setDropAction(site.action);
  event.accept();
  view.Editor().UpdateAllViews(*view.Document());
}
