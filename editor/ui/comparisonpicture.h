#pragma once
// Two versions of a workflow drawn side by side on one scale, the changes of
// their comparison coloured: added tasks and arrows green in the newer version,
// removed ones red in the older, changed ones amber in both, moved tasks
// outlined in blue. Each side is the level the changes are shown on.

#include <QColor>
#include <QString>
#include <map>

#include "editor/ui/viewmapping.h"
#include "editor/ui/workflowexport.h"

class QPainter;

namespace velk {
class CWorkflowDoc;
struct WorkflowDiff;
enum class ChangeKind;
}  // namespace velk

// The colour of a change of that kind: added green, removed red, changed amber,
// moved blue.
QColor ChangeColour(velk::ChangeKind kind);

// The colour each marked task and arrow of one side of a comparison carries.
class ComparisonMarks {
 public:
  ComparisonMarks(const velk::WorkflowDiff& diff, bool newerSide);
  // Invalid for an element without a change.
  QColor Of(const void* element) const;

 private:
  std::map<const void*, QColor> colours_;
};

// Draws the marks over the tasks and arrows of a level already painted with `mapping`.
void PaintComparisonMarks(QPainter& p, const velk::CWorkflowDoc& level, const ViewMapping& mapping,
                          const ComparisonMarks& marks);

// Writes the two levels side by side (the older on the left) to `path` as PNG,
// SVG or PDF. Returns the error text, empty on success.
QString ExportComparison(const velk::CWorkflowDoc& olderLevel, const velk::CWorkflowDoc& newerLevel,
                         const velk::WorkflowDiff& diff, ExportFormat format, const QString& path,
                         const CNodeBitmaps& bitmaps, const ExportOptions& options = {});
