#pragma once
// The eight clipboard formats that tag data dragged between the External
// Directory tree and workflow windows.

#include <QString>
#include <QStringList>

enum class ClipFormat {
  InternalViewLeaf,            // "VELK Modeler Internal View Leaf Object"
  Task,                        // "VELK Modeler Task Object"
  InternalInTask,              // "VELK Modeler Internal In Task Object"
  ExtDirPerson,                // "VELK Modeler External Directory Person"
  ExtDirExternalViewLeaf,      // "VELK Modeler External Directory External View Leaf"
  SubflowOrderedByUs,          // "VELK Modeler Subflow ordered by us"
  SubflowOrderedByPartners,    // "VELK Modeler Subflow ordered by partners"
  ExternalSubscribedWorkflow,  // "VELK Modeler External Subscribed Workflow"
};
inline constexpr int kClipFormatCount = 8;

// The registered name of a format.
const char* ClipboardFormatName(ClipFormat format);
// The MIME type carrying the format in QMimeData. On Windows Qt registers it as a
// clipboard format of exactly the registered name.
QString ClipboardMimeType(ClipFormat format);
// All eight MIME types in registration order.
QStringList AllClipboardMimeTypes();
