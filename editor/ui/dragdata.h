#pragma once
// The data carried by drags into and out of workflow windows, under the
// registered clipboard formats.
//
// A node dragged out of a workflow window carries its whole record as JSON
// (editor/noderecord.h). Items dragged from the External Directory carry a JSON
// object of their field values named as in the store: a person at least
// "FullName", an external view leaf at least "LeafID".

#include <QJsonObject>
#include <memory>
#include <optional>

#include "app/ui/clipboardformats.h"
#include "editor/droptargets.h"
#include "editor/noderecord.h"

class QMimeData;

namespace velk {
class CNode;
class CWorkflowDoc;
}  // namespace velk

// The format a node is dragged out under: In Tasks publish, external
// sub-workflows are ordered, subscribed workflows are linked, anything else is a
// plain task.
ClipFormat DragOutFormat(velk::NodeKind kind);
std::unique_ptr<QMimeData> NewNodeDragData(const velk::CNode& node);

// The node record a drag carries under `format`; invalid when there is none.
velk::ParsedNodeRecord DraggedNodeRecord(const QMimeData* data, ClipFormat format);
// The dragged node itself when it is a live node of `doc`'s workflow.
velk::CNode* DraggedNodeIn(const QMimeData* data, const velk::CWorkflowDoc& doc);

// What a drag onto a workflow window carries (the first of the formats a workflow
// window accepts).
velk::DropKind DropKindOf(const QMimeData* data);
// The field values of an External Directory item under `format`; nothing when the
// data is missing or not a JSON object.
std::optional<QJsonObject> DroppedItemFields(const QMimeData* data, ClipFormat format);

// Builds the data of an External Directory item (the tree's drags, and tests).
std::unique_ptr<QMimeData> NewItemDragData(ClipFormat format, const QJsonObject& fields);
