#pragma once
// Two versions of a workflow drawn side by side on one scale, the changes of
// their comparison coloured: added tasks and arrows green in the newer version,
// removed ones red in the older, changed ones amber in both, moved tasks
// outlined in blue. Each side is the level the changes are shown on.

#include <QString>

#include "editor/ui/workflowexport.h"

namespace velk {
class CWorkflowDoc;
struct WorkflowDiff;
}  // namespace velk

// Writes the two levels side by side (the older on the left) to `path` as PNG,
// SVG or PDF. Returns the error text, empty on success.
QString ExportComparison(const velk::CWorkflowDoc& olderLevel, const velk::CWorkflowDoc& newerLevel,
                         const velk::WorkflowDiff& diff, ExportFormat format, const QString& path,
                         const CNodeBitmaps& bitmaps, const ExportOptions& options = {});
