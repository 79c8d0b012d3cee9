#include "editor/ui/workflowexport.h"
#include "editor/ui/editor.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "common/services.h"
#include "app/settings.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "model/workflowundo.h"

using velk::CNode;
using velk::CWorkflowDoc;
using velk::Rect;

namespace {

// What an empty level exports: a small blank picture rather than nothing.
constexpr Rect kEmptyLevel{0, 0, 100, -100};
// PDF pages keep lines and texts as vectors whatever the resolution; at the
// screen's, node pictures keep their own pixels and texts sit as in the view.
constexpr int kPdfResolution = 96;

// The levels to export, on a private copy of the workflow: opening cluster
// levels and dropping the selection must not touch the user's documents.
class LevelCopy {
 public:
  LevelCopy(const CWorkflowDoc& level, bool wholeWorkflow)
      : top_(std::make_unique<CWorkflowDoc>(level.UserInterface())) {
    top_->RestoreSnapshot(level.Top().TakeSnapshot());
    if (wholeWorkflow) {
      std::set<int> seen{top_->Level()};
      Collect(*top_, seen);
    } else {
      levels_.push_back(CopyOf(level));
    }
  }
  const std::vector<CWorkflowDoc*>& Levels() const { return levels_; }

 private:
  // Depth first, so that a cluster's level follows the level showing it; a
  // damaged workflow whose clusters refer to each other ends at the first repeat.
  void Collect(CWorkflowDoc& doc, std::set<int>& seen) {
    levels_.push_back(&doc);
    for (CNode* node : doc.LevelNodes())
      if (node->IsClusterNode() && node->RepresentsCluster() >= 2 &&
          seen.insert(node->RepresentsCluster()).second)
        Collect(*doc.OpenClusterDocument(*node), seen);
  }
  // The copy's document of an original level (nodes keep their order in a copy).
  CWorkflowDoc* CopyOf(const CWorkflowDoc& level) {
    const CNode* cluster = level.RepresentingNode();
    if (level.IsTopDocument() || !cluster) return top_.get();
    std::size_t index = 0;
    for (const CNode* node : level.AllNodes()) {
      if (node == cluster) break;
      ++index;
    }
    auto nodes = top_->AllNodes();
    if (index >= top_->NodeCount()) return top_.get();
    return top_->OpenClusterDocument(*nodes[static_cast<std::ptrdiff_t>(index)]);
  }

  std::unique_ptr<CWorkflowDoc> top_;
  std::vector<CWorkflowDoc*> levels_;
};

// Draws levels of one copy with one painter.
class LevelRenderer {
 public:
  LevelRenderer(const CNodeBitmaps& bitmaps, const ExportOptions& options)
      : painter_(bitmaps), options_(options) {
    paint_.flags = options.flags;
    paint_.outside = Qt::white;
    paint_.arrowSize = options.arrowSize;
  }

  // The level's used area plus the margin, in logical units.
  Rect Area(const CWorkflowDoc& level) {
    Rect area = painter_.LevelArea(level, velk::ComputeTextOffsets(options_.flags),
                                   options_.flags.arrowDescription, options_.arrowSize);
    if (area.Width() <= 0 || area.Height() <= 0) area = kEmptyLevel;
    const int m = options_.margin;
    return {area.left - m, area.top + m, area.right + m, area.bottom - m};
  }
  static QSize PixelSize(const Rect& area, double dpi) {
    return {static_cast<int>(std::ceil(area.Width() * dpi / 100.0)),
            static_cast<int>(std::ceil(area.Height() * dpi / 100.0))};
  }
  // Paints `area` of the level onto a device of `dpi` whose top-left corner it fills.
  void Paint(QPainter& painter, const CWorkflowDoc& level, const Rect& area, double dpi) {
    ViewMapping mapping = ViewMapping::ForDpi(dpi, dpi);
    mapping.SetOrigin(QPointF(-area.left * mapping.ScaleX(), area.top * mapping.ScaleY()));
    painter_.Paint(painter, &level, mapping, paint_, QRect(QPoint(0, 0), PixelSize(area, dpi)));
  }

 private:
  CWorkflowPainter painter_;
  ExportOptions options_;
  PaintOptions paint_;
};

QString WriteError(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

// Opens `file`; on failure returns the error text.
QString Open(QSaveFile& file) {
  if (file.open(QIODevice::WriteOnly)) return {};
  return WriteError(file.fileName(), file.errorString());
}

QString Commit(QSaveFile& file) {
  if (file.commit()) return {};
  return WriteError(file.fileName(), file.errorString());
}

QString WritePng(LevelRenderer& renderer, const CWorkflowDoc& level, const QString& path,
                 double dpi) {
  const Rect area = renderer.Area(level);
  QImage image(LevelRenderer::PixelSize(area, dpi), QImage::Format_RGB32);
  if (image.isNull()) return WriteError(path, QStringLiteral("the picture is too large"));
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    renderer.Paint(painter, level, area, dpi);
  }
  QSaveFile file(path);
  if (QString error = Open(file); !error.isEmpty()) return error;
  if (!image.save(&file, "PNG")) return WriteError(path, QStringLiteral("the PNG encoder failed"));
  return Commit(file);
}

QString WriteSvg(LevelRenderer& renderer, const CWorkflowDoc& level, const QString& path,
                 double dpi) {
  const Rect area = renderer.Area(level);
  const QSize size = LevelRenderer::PixelSize(area, dpi);
  QSaveFile file(path);
  if (QString error = Open(file); !error.isEmpty()) return error;
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setResolution(static_cast<int>(std::lround(dpi)));
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(QString::fromStdString(level.Session().Title()));
  QPainter painter;
  if (!painter.begin(&svg)) return WriteError(path, QStringLiteral("the SVG writer did not start"));
  renderer.Paint(painter, level, area, dpi);
  painter.end();
  return Commit(file);
}

// One page per level, each as large as its level at 0.01 inch per unit.
QString WritePdf(LevelRenderer& renderer, const std::vector<CWorkflowDoc*>& levels,
                 const QString& path) {
  QSaveFile file(path);
  if (QString error = Open(file); !error.isEmpty()) return error;
  QPdfWriter pdf(&file);
  pdf.setResolution(kPdfResolution);
  pdf.setCreator(QStringLiteral("VELK Modeler"));
  pdf.setTitle(QString::fromStdString(levels.front()->Top().Session().Title()));
  auto pageOf = [&](const Rect& area) {
    const QSizeF points(area.Width() * 0.72, area.Height() * 0.72);
    return QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF());
  };
  std::vector<Rect> areas;
  for (const CWorkflowDoc* level : levels) areas.push_back(renderer.Area(*level));
  pdf.setPageLayout(pageOf(areas.front()));
  QPainter painter;
  if (!painter.begin(&pdf)) return WriteError(path, QStringLiteral("the PDF writer did not start"));
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (i > 0) {
      pdf.setPageLayout(pageOf(areas[i]));
      pdf.newPage();
    }
    renderer.Paint(painter, *levels[i], areas[i], kPdfResolution);
  }
  painter.end();
  return Commit(file);
}

}  // namespace

std::optional<ExportFormat> ExportFormatFromName(const QString& name) {
  const QString n = name.toLower();
  if (n == QLatin1String("png")) return ExportFormat::Png;
  if (n == QLatin1String("svg")) return ExportFormat::Svg;
  if (n == QLatin1String("pdf")) return ExportFormat::Pdf;
  return std::nullopt;
}

QString ExportSuffix(ExportFormat format) {
  switch (format) {
    case ExportFormat::Png:
      return QStringLiteral("png");
    case ExportFormat::Svg:
      return QStringLiteral("svg");
    case ExportFormat::Pdf:
      return QStringLiteral("pdf");
  }
  return {};
}

QStringList ExportFileNames(const QString& path, int count) {
  QStringList names;
  if (count <= 0) return names;
  names << path;
  const QFileInfo info(path);
  const QString suffix = info.suffix();
  // Only the file name's last suffix moves; dots in folder names stay.
  const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
  for (int i = 2; i <= count; ++i)
    names << stem + QStringLiteral("-%1").arg(i) + (suffix.isEmpty() ? QString() : "." + suffix);
  return names;
}

int WorkflowLevelCount(const CWorkflowDoc& level) {
  return static_cast<int>(LevelCopy(level, true).Levels().size());
}

QString ExportWorkflow(const CWorkflowDoc& level, bool wholeWorkflow, ExportFormat format,
                       const QString& path, const CNodeBitmaps& bitmaps,
                       const ExportOptions& options) {
  if (path.isEmpty()) return QStringLiteral("No file name was given.");
  const LevelCopy copy(level, wholeWorkflow);
  const std::vector<CWorkflowDoc*>& levels = copy.Levels();
  LevelRenderer renderer(bitmaps, options);
  if (format == ExportFormat::Pdf) return WritePdf(renderer, levels, path);
  const QStringList names = ExportFileNames(path, static_cast<int>(levels.size()));
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const QString& name = names[static_cast<qsizetype>(i)];
    QString error = format == ExportFormat::Png ? WritePng(renderer, *levels[i], name, options.dpi)
                                                : WriteSvg(renderer, *levels[i], name, options.dpi);
    if (!error.isEmpty()) return error;
  }
  return {};
}

namespace {

const char* const kExportTitle = "Export";

// "This level" or "Whole workflow"; none when cancelled.
std::optional<bool> AskWholeWorkflow(QWidget* parent) {
  QMessageBox ask(QMessageBox::Question, QString::fromLatin1(kExportTitle),
                  QStringLiteral("Export only the level of this window, or the whole workflow "
                                 "with every cluster level on its own page?"),
                  QMessageBox::Cancel, parent);
  QPushButton* level = ask.addButton(QStringLiteral("This level"), QMessageBox::AcceptRole);
  QPushButton* whole = ask.addButton(QStringLiteral("Whole workflow"), QMessageBox::AcceptRole);
  ask.setDefaultButton(whole);
  ask.exec();
  if (ask.clickedButton() == whole) return true;
  if (ask.clickedButton() == level) return false;
  return std::nullopt;
}

// The file and its format: the suffix typed decides, else the chosen filter
// (whose suffix is then added).
std::optional<std::pair<QString, ExportFormat>> AskFile(QWidget* parent, const QString& name) {
  static const QString kFilters =
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
  QString filter;
  QString path = QFileDialog::getSaveFileName(parent, QString::fromLatin1(kExportTitle),
                                              name + QStringLiteral(".png"), kFilters, &filter);
  if (path.isEmpty()) return std::nullopt;
  if (auto format = ExportFormatFromName(QFileInfo(path).suffix())) return std::pair{path, *format};
  const QRegularExpression suffix(QStringLiteral("\\*\\.(\\w+)"));
  const auto format = ExportFormatFromName(suffix.match(filter).captured(1));
  const ExportFormat chosen = format.value_or(ExportFormat::Png);
  return std::pair{path + "." + ExportSuffix(chosen), chosen};
}

// The workflow's name as a file name.
QString SuggestedName(const CWorkflowDoc& doc) {
  QString name = QString::fromStdString(doc.Header().name).trimmed();
  name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
  return name.isEmpty() ? QStringLiteral("workflow") : name;
}

}  // namespace

void OnFileExport(CWorkflowView& view) {
  const CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  bool whole = false;
  if (WorkflowLevelCount(*doc) > 1) {
    const std::optional<bool> answer = AskWholeWorkflow(&view);
    if (!answer) return;
    whole = *answer;
  }
  const auto file = AskFile(&view, SuggestedName(*doc));
  if (!file) return;
  ExportOptions options;
  options.flags = view.Flags();
  options.arrowSize = view.Editor().Settings().arrowSize;
  const QString error =
      ExportWorkflow(*doc, whole, file->second, file->first, view.Editor().NodeBitmaps(), options);
  if (!error.isEmpty()) {
    view.Editor().UserInterface().messageBox(error.toStdString(), velk::MsgIcon::Stop,
                                             velk::MsgButtons::Ok, kExportTitle);
    return;
  }
  const int files = whole && file->second != ExportFormat::Pdf ? WorkflowLevelCount(*doc) : 1;
  view.Editor().UserInterface().showStatusText(
      files > 1
          ? QStringLiteral("Exported %1 files: %2, ...").arg(files).arg(file->first).toStdString()
          : QStringLiteral("Exported %1").arg(file->first).toStdString());
}
