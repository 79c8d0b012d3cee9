// "workflow render": a stored workflow drawn to PNG, SVG or PDF by the modeler's
// own painter, without a display.

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "app/ui/nodebitmaps.h"
#include "commands.h"
#include "guistart.h"
#include "editor/ui/comparisonpicture.h"
#include "editor/ui/workflowexport.h"
#include "model/workflowdoc.h"

namespace velkcli {

RenderRequest renderRequest(const Args& args) {
  RenderRequest request;
  auto output = args.option("o");
  if (!output) output = args.option("output");
  if (!output || output->empty()) throw UsageError("render needs -o FILE");
  request.output = *output;
  auto format = args.option("format");
  if (!format) {
    const std::size_t dot = request.output.rfind('.');
    if (dot == std::string::npos) throw UsageError("render needs --format png|svg|pdf");
    format = request.output.substr(dot + 1);
  }
  if (!ExportFormatFromName(QString::fromStdString(*format)))
    throw UsageError("unknown format \"" + *format + "\": use png, svg or pdf");
  request.format = QString::fromStdString(*format).toLower().toStdString();
  const std::string level = args.option("level").value_or("top");
  if (level != "top" && level != "all")
    throw UsageError("unknown level \"" + level + "\": use top or all");
  request.allLevels = level == "all";
  return request;
}

std::unique_ptr<QGuiApplication> StartGui() {
  if (QGuiApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velkmod-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int renderWorkflow(Context& ctx, const velk::CWorkflowDoc& doc, const RenderRequest& request) {
  const std::unique_ptr<QGuiApplication> app = StartGui();
  CNodeBitmaps bitmaps;
  bitmaps.Load(ctx.services);
  const ExportFormat format = *ExportFormatFromName(QString::fromStdString(request.format));
  const QString path = QString::fromStdString(request.output);
  const QString error = ExportWorkflow(doc, request.allLevels, format, path, bitmaps);
  if (!error.isEmpty()) {
    ctx.err << "velkmod-cli: " << error.toStdString() << '\n';
    return kFailed;
  }
  const int levels = request.allLevels ? WorkflowLevelCount(doc) : 1;
  if (format == ExportFormat::Pdf) {
    ctx.out << "Wrote " << request.output << " (" << levels << (levels == 1 ? " page" : " pages")
            << ")\n";
  } else {
    for (const QString& file : ExportFileNames(path, levels))
      ctx.out << "Wrote " << file.toStdString() << '\n';
  }
  return kOk;
}

int renderComparison(Context& ctx, const velk::CWorkflowDoc& older, const velk::CWorkflowDoc& newer,
                     const velk::WorkflowDiff& diff, const RenderRequest& request) {
  const std::unique_ptr<QGuiApplication> app = StartGui();
  CNodeBitmaps bitmaps;
  bitmaps.Load(ctx.services);
  const ExportFormat format = *ExportFormatFromName(QString::fromStdString(request.format));
  const QString error = ExportComparison(older, newer, diff, format,
                                         QString::fromStdString(request.output), bitmaps);
  if (!error.isEmpty()) {
    ctx.err << "velkmod-cli: " << error.toStdString() << '\n';
    return kFailed;
  }
  ctx.out << "Wrote " << request.output << '\n';
  return kOk;
}

}  // namespace velkcli
