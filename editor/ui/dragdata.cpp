#include "editor/ui/dragdata.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QMimeData>

#include "model/node.h"

using velk::NodeKind;

namespace {
std::int64_t ThisProcess() {
  return QCoreApplication::applicationPid();
}
}  // namespace

ClipFormat DragOutFormat(NodeKind kind) {
  switch (kind) {
    case NodeKind::In:
      return ClipFormat::InternalInTask;
    case NodeKind::EIDM:
      return ClipFormat::SubflowOrderedByUs;
    case NodeKind::Extern:
      return ClipFormat::ExternalSubscribedWorkflow;
    default:
      return ClipFormat::Task;
  }
}

std::unique_ptr<QMimeData> NewNodeDragData(const velk::CNode& node) {
  auto data = std::make_unique<QMimeData>();
  data->setData(ClipboardMimeType(DragOutFormat(node.Kind())),
                QByteArray::fromStdString(velk::NodeRecordToJson(node, ThisProcess())));
  return data;
}

velk::ParsedNodeRecord DraggedNodeRecord(const QMimeData* data, ClipFormat format) {
  const QString type = ClipboardMimeType(format);
  if (!data || !data->hasFormat(type)) return {};
  return velk::ParseNodeRecord(data->data(type).toStdString());
}

velk::CNode* DraggedNodeIn(const QMimeData* data, const velk::CWorkflowDoc& doc) {
  for (int f = 0; f < kClipFormatCount; ++f) {
    const velk::ParsedNodeRecord record = DraggedNodeRecord(data, static_cast<ClipFormat>(f));
    if (record.valid) return velk::FindRecordedNode(record, doc, ThisProcess());
  }
  return nullptr;
}

velk::DropKind DropKindOf(const QMimeData* data) {
  if (!data) return velk::DropKind::Other;
  const std::pair<ClipFormat, velk::DropKind> accepted[] = {
      {ClipFormat::ExtDirPerson, velk::DropKind::Person},
      {ClipFormat::ExtDirExternalViewLeaf, velk::DropKind::ExternalViewLeaf},
      {ClipFormat::ExternalSubscribedWorkflow, velk::DropKind::ExternalSubscribedWorkflow},
  };
  for (auto [format, kind] : accepted)
    if (data->hasFormat(ClipboardMimeType(format))) return kind;
  return velk::DropKind::Other;
}

std::optional<QJsonObject> DroppedItemFields(const QMimeData* data, ClipFormat format) {
  const QString type = ClipboardMimeType(format);
  if (!data || !data->hasFormat(type)) return std::nullopt;
  const QJsonDocument json = QJsonDocument::fromJson(data->data(type));
  if (!json.isObject()) return std::nullopt;
  return json.object();
}

std::unique_ptr<QMimeData> NewItemDragData(ClipFormat format, const QJsonObject& fields) {
  auto data = std::make_unique<QMimeData>();
  data->setData(ClipboardMimeType(format), QJsonDocument(fields).toJson(QJsonDocument::Compact));
  return data;
}
