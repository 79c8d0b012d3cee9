#include "app/ui/clipboardformats.h"

namespace {
constexpr const char* kNames[kClipFormatCount] = {
    "VELK Modeler Internal View Leaf Object",
    "VELK Modeler Task Object",
    "VELK Modeler Internal In Task Object",
    "VELK Modeler External Directory Person",
    "VELK Modeler External Directory External View Leaf",
    "VELK Modeler Subflow ordered by us",
    "VELK Modeler Subflow ordered by partners",
    "VELK Modeler External Subscribed Workflow",
};
}  // namespace

const char* ClipboardFormatName(ClipFormat format) {
  const int i = static_cast<int>(format);
  return i >= 0 && i < kClipFormatCount ? kNames[i] : "";
}

QString ClipboardMimeType(ClipFormat format) {
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
      .arg(QLatin1String(ClipboardFormatName(format)));
}

QStringList AllClipboardMimeTypes() {
  QStringList types;
  for (int i = 0; i < kClipFormatCount; ++i) types << ClipboardMimeType(static_cast<ClipFormat>(i));
  return types;
}
