// Drags out of the directory tree and drops onto it.
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>

#include "app/ui/clipboardformats.h"
#include "editor/ui/dragdata.h"
#include "extdir/eidmrequests.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirdrops.h"
#include "extdir/extdiritems.h"
#include "extdir/ui/extdirdragdata.h"
#include "extdir/ui/extdirview.h"
#include "model/workflowdoc.h"

using velk::CExtDirItem;
using velk::CExtDirTreeNode;
using velk::ExtDirDropEffect;

namespace {

bool Has(const QMimeData* data, ClipFormat format) {
  return data && data->hasFormat(ClipboardMimeType(format));
}

velk::ExtDirDragFormats FormatsOf(const QMimeData* data) {
  velk::ExtDirDragFormats f;
  f.leaf = Has(data, ClipFormat::InternalViewLeaf);
  f.inTask = Has(data, ClipFormat::InternalInTask);
  f.subflowByUs = Has(data, ClipFormat::SubflowOrderedByUs);
  f.subflowByPartners = Has(data, ClipFormat::SubflowOrderedByPartners);
  return f;
}

}  // namespace

std::unique_ptr<QMimeData> CExtDirView::DragDataOf(const CExtDirItem& item,
                                                   Qt::DropActions* allowed) const {
  if (item.Kind() == velk::ExtDirKind::GRILeaf) {
    const auto& leaf = static_cast<const velk::CExtDirItemGRILeaf&>(item);
    if (allowed) *allowed = Qt::CopyAction | Qt::MoveAction;
    return NewItemDragData(
        leaf.IsPublished() ? ClipFormat::InternalViewLeaf : ClipFormat::ExtDirExternalViewLeaf,
        LeafFields(leaf));
  }
  if (item.Kind() == velk::ExtDirKind::ExtRegOrg) {
    if (allowed) *allowed = Qt::CopyAction;
    return NewItemDragData(ClipFormat::ExtDirPerson,
                           PersonFields(static_cast<const velk::CExtDirItemExtRegOrg&>(item)));
  }
  return nullptr;
}

void CExtDirView::startDrag(Qt::DropActions) {
  CExtDirTreeNode* node = NodeOf(currentItem());
  if (!node || !node->Item()) return;
  dragging_ = true;
  Qt::DropActions allowed;
  std::unique_ptr<QMimeData> data = DragDataOf(*node->Item(), &allowed);
  if (!data) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(data.release());
  drag->setPixmap(currentItem()->icon(0).pixmap(16, 16));
  drag->exec(allowed, Qt::CopyAction);  // what the receiver did is not used
}

// ---- Drops ----

velk::CNode* CExtDirView::DraggedTask(const QMimeData* data) const {
  for (velk::CWorkflowDoc* doc : host_.openWorkflows())
    if (velk::CNode* task = DraggedNodeIn(data, *doc)) return task;
  return nullptr;
}

void CExtDirView::Redraw(velk::CNode& task) {
  if (task.Document()) host_.workflows.redraw(task.Document()->Top());
}

Qt::DropAction CExtDirView::QueryDrop(QTreeWidgetItem* item, const QMimeData* data,
                                      bool ctrl) const {
  CExtDirTreeNode* node = NodeOf(item);
  if (!node || !node->Item()) return Qt::IgnoreAction;
  switch (velk::QueryExtDirDrop(*node->Item(), FormatsOf(data), ctrl)) {
    case ExtDirDropEffect::Copy:
      return Qt::CopyAction;
    case ExtDirDropEffect::Move:
      return Qt::MoveAction;
    case ExtDirDropEffect::None:
      break;
  }
  return Qt::IgnoreAction;
}

bool CExtDirView::DropOn(QTreeWidgetItem* item, const QMimeData* data) {
  SetDropHighlight(nullptr);
  CExtDirTreeNode* node = NodeOf(item);
  if (!node) return false;
  setCurrentItem(item);
  CExtDirItem* target = node->Item();
  if (!target) return false;
  const velk::ExtDirDragFormats formats = FormatsOf(data);
  bool done = false;
  if (target->Kind() == velk::ExtDirKind::EIDMOrg) {
    velk::CNode* task = formats.subflowByUs ? DraggedTask(data) : nullptr;
    auto& org = static_cast<velk::CExtDirItemEIDMOrg&>(*target);
    if (task && velk::CreateEidmRequest(org, *task, host_.origin(*task))) {
      Redraw(*task);
      done = true;
    }
  } else if (formats.leaf) {
    const auto fields = DroppedItemFields(data, ClipFormat::InternalViewLeaf);
    if (fields) {
      velk::CExtDirItemGRILeaf values(doc_.Data());
      ReadLeafFields(*fields, values);
      done = velk::DropLeafCopy(*target, values) != nullptr;
    }
  } else if (formats.inTask) {
    if (velk::CNode* task = DraggedTask(data)) {
      done = velk::PublishTaskAsLeaf(*target, *task) != nullptr;
      Redraw(*task);
    }
  }
  Flush();
  return done;
}

void CExtDirView::SetDropHighlight(QTreeWidgetItem* item) {
  if (item == dropHighlight_) return;
  if (dropHighlight_) dropHighlight_->setBackground(0, QBrush());
  dropHighlight_ = item;
  if (item) item->setBackground(0, palette().brush(QPalette::Highlight).color().lighter(160));
}

void CExtDirView::dragEnterEvent(QDragEnterEvent* event) {
  if (!FormatsOf(event->mimeData()).Any()) {
    event->ignore();
    return;
  }
  event->accept();
  dragMoveEvent(event);
}

void CExtDirView::dragMoveEvent(QDragMoveEvent* event) {
  if (!FormatsOf(event->mimeData()).Any()) {
    event->ignore();
    return;
  }
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  SetDropHighlight(item);
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const Qt::DropAction action = QueryDrop(item, event->mimeData(), ctrl);
  if (action != Qt::IgnoreAction && (event->possibleActions() & action)) {
    event->setDropAction(action);
    event->accept();
  } else {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
  }
}

void CExtDirView::dragLeaveEvent(QDragLeaveEvent* event) {
  SetDropHighlight(nullptr);
  event->accept();
}

void CExtDirView::dropEvent(QDropEvent* event) {
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const Qt::DropAction action = QueryDrop(item, event->mimeData(), ctrl);
  if (action == Qt::IgnoreAction || !DropOn(item, event->mimeData())) {
    SetDropHighlight(nullptr);
    event->ignore();
    return;
  }
  event->setDropAction(action);
  event->accept();
}
