#pragma once
// Export of workflow diagrams to PNG, SVG and PDF files, drawn by the view's
// own painter. Each level is cropped to what it shows plus a margin, on white,
// at its true size of 0.01 inch per unit; the selection is not drawn.

#include <QString>
#include <QStringList>
#include <optional>

#include "editor/drawinggeometry.h"

class CNodeBitmaps;
class QWidget;
class CWorkflowView;

namespace velk {
class CWorkflowDoc;
}

enum class ExportFormat { Png, Svg, Pdf };

// "png", "svg" or "pdf" in any case; none for anything else.
std::optional<ExportFormat> ExportFormatFromName(const QString& name);
// The lower-case suffix of a format ("png").
QString ExportSuffix(ExportFormat format);

struct ExportOptions {
  velk::ShowFlags flags;
  // Image resolution of PNG and SVG; 96 matches the view at 100%.
  double dpi = 96.0;
  // Around the level's used area, in logical units.
  int margin = 20;
  // The "ArrowSize" index of the heads.
  int arrowSize = velk::kDefaultArrowSize;
};

// The files of `count` levels exported to `path` as single-level files: the
// first keeps the name, the others get "-2", "-3", ... before the suffix.
QStringList ExportFileNames(const QString& path, int count);

// Exports `level` alone, or with `wholeWorkflow` every level of its workflow:
// the top level, then each cluster level after the level holding its cluster
// node, in node order. PNG and SVG write one file per level (ExportFileNames),
// PDF one page per level. Returns the error text, empty on success.
QString ExportWorkflow(const velk::CWorkflowDoc& level, bool wholeWorkflow, ExportFormat format,
                       const QString& path, const CNodeBitmaps& bitmaps,
                       const ExportOptions& options = {});

// How many levels the whole workflow of `level` has.
int WorkflowLevelCount(const velk::CWorkflowDoc& level);

// "Export...": the scope (when the workflow has cluster levels), a file, then
// the export with the view's texts; failures are reported in a message box.
void OnFileExport(CWorkflowView& view);
