#include "editor/ui/workflowprint.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/settings.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"

using velk::Rect;

namespace {

ViewMapping PrinterMapping(QPrinter& printer) {
  return ViewMapping::ForDpi(printer.logicalDpiX(), printer.logicalDpiY());
}

PaintOptions PrintOptions(const CWorkflowView& view) {
  PaintOptions options;
  options.flags = view.Flags();
  options.gridVisible = view.Editor().Settings().gridVisible;
  options.gridSize = view.Editor().Settings().gridSize;
  options.arrowSize = view.Editor().Settings().arrowSize;
  options.outside = Qt::white;
  return options;
}

}  // namespace

std::vector<Rect> WorkflowPrintPages(CWorkflowView& view, QPrinter& printer) {
  const ViewMapping mapping = PrinterMapping(printer);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int width = static_cast<int>(page.width() / mapping.ScaleX());
  const int height = static_cast<int>(page.height() / mapping.ScaleY());
  Rect used;
  if (const CWorkflowDoc* doc = view.Document()) {
    used = view.Painter().LevelArea(*doc, view.TextOffsets(), view.Flags().arrowDescription,
                                    view.Editor().Settings().arrowSize);
  }
  return velk::PrintPages(used, width, height);
}

bool PrintWorkflow(CWorkflowView& view, QPrinter& printer) {
  const std::vector<Rect> pages = WorkflowPrintPages(view, printer);
  int first = 1;
  int last = static_cast<int>(pages.size());
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = std::max(first, printer.fromPage());
    last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
  }
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const PaintOptions options = PrintOptions(view);
  ViewMapping mapping = PrinterMapping(printer);
  for (int number = first; number <= last; ++number) {
    if (number > first) printer.newPage();
    const Rect& page = pages[static_cast<std::size_t>(number - 1)];
    mapping.SetOrigin(QPointF(-page.left * mapping.ScaleX(), page.top * mapping.ScaleY()));
    const QRect clip = mapping.ToDeviceCovering(page).intersected(
        QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()));
    view.Painter().Paint(painter, view.Document(), mapping, options, clip);
  }
  return painter.end();
}

void OnFilePrint(CWorkflowView& view) {
  QPrinter& printer = view.Editor().Printer();
  QPrintDialog dialog(&printer, &view);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintWorkflow(view, printer);
}

void OnFilePrintPreview(CWorkflowView& view) {
  QPrintPreviewDialog dialog(&view.Editor().Printer(), &view);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &view,
                   [&view](QPrinter* printer) { PrintWorkflow(view, *printer); });
  dialog.exec();
}
