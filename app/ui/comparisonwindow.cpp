#include "app/ui/comparisonwindow.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/levelpane.h"
#include "editor/zoom.h"
#include "model/workflowdoc.h"

namespace {

constexpr int kMargin = 20;  // logical units around what the levels use

velk::Rect Union(velk::Rect a, velk::Rect b) {
  if (a.Width() <= 0) return b;
  if (b.Width() <= 0) return a;
  return {std::min(a.left, b.left), std::max(a.top, b.top), std::max(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

velk::Rect WithMargin(velk::Rect r) {
  if (r.Width() <= 0 || r.Height() <= 0) r = {0, 0, 100, -100};
  return {r.left - kMargin, r.top + kMargin, r.right + kMargin, r.bottom - kMargin};
}

bool IsZoomCommand(int id) {
  return id == cmd::ViewZoomIn || id == cmd::ViewZoomOut || id == cmd::ViewZoomFit;
}

// The zoom after a command of the View menu or a turn of the wheel, with the
// workflow view's steps; Fit fits `content` into the pane's scroll area.
double NextZoom(int id, double zoom, const velk::Rect& content, const CLevelPane& pane) {
  if (id == cmd::ViewZoomIn) return velk::ZoomIn(zoom);
  if (id == cmd::ViewZoomOut) return velk::ZoomOut(zoom);
  const QSize room = pane.ScrollArea()->viewport()->size();
  const double unitsPerPixel = 100.0 / pane.logicalDpiX();
  return velk::FitZoom(content, room.width() * unitsPerPixel, room.height() * unitsPerPixel);
}

}  // namespace

CComparisonWindow::CComparisonWindow(std::shared_ptr<velk::CWorkflowDoc> older,
                                     const QString& olderCaption,
                                     std::shared_ptr<velk::CWorkflowDoc> newer,
                                     const QString& newerCaption, const CNodeBitmaps& bitmaps,
                                     QWidget* parent)
    : CMdiChild(parent),
      olderDoc_(std::move(older)),
      newerDoc_(std::move(newer)),
      diff_(velk::DiffWorkflows(*olderDoc_, *newerDoc_)),
      olderMarks_(diff_, false),
      newerMarks_(diff_, true) {
  auto* splitter = new QSplitter(Qt::Horizontal);
  older_ = new CLevelPane(*olderDoc_, olderCaption, bitmaps, &olderMarks_, splitter);
  newer_ = new CLevelPane(*newerDoc_, newerCaption, bitmaps, &newerMarks_, splitter);
  auto* list = new QWidget(splitter);
  auto* layout = new QVBoxLayout(list);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Changes"), list));
  changes_ = new QListWidget(list);
  changes_->setAccessibleName(QStringLiteral("Changes"));
  for (const velk::WorkflowChange& c : diff_.changes) {
    // The entry carries the colour its element is marked with in the drawings.
    QPixmap swatch(12, 12);
    swatch.fill(c.element == velk::ChangeElement::Header ? Qt::transparent : ChangeColour(c.kind));
    const QString text = QString::fromStdString(velk::DescribeChange(c));
    auto* item = new QListWidgetItem(QIcon(swatch), text, changes_);
    item->setToolTip(text);  // a long one is cut off in the narrow list
  }
  if (diff_.Equal()) changes_->addItem(QStringLiteral("The two versions are the same."));
  layout->addWidget(changes_);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 2);
  splitter->setStretchFactor(2, 1);
  setWidget(splitter);
  setWindowTitle(QStringLiteral("Compare: %1 with %2").arg(olderCaption, newerCaption));
  connect(changes_, &QListWidget::currentRowChanged, this, &CComparisonWindow::ShowChange);
  for (CLevelPane* pane : {older_, newer_}) {
    connect(pane, &CLevelPane::levelChanged, this, &CComparisonWindow::FitCanvases);
    connect(pane->Canvas(), &CLevelCanvas::zoomWheel, this,
            [this](int delta) { OnCommand(delta > 0 ? cmd::ViewZoomIn : cmd::ViewZoomOut); });
  }
  CoupleScrolling();
  FitCanvases();
}

CComparisonWindow::~CComparisonWindow() = default;

void CComparisonWindow::CoupleScrolling() {
  auto couple = [](QScrollBar* a, QScrollBar* b) {
    QObject::connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
    QObject::connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
  };
  couple(older_->ScrollArea()->horizontalScrollBar(), newer_->ScrollArea()->horizontalScrollBar());
  couple(older_->ScrollArea()->verticalScrollBar(), newer_->ScrollArea()->verticalScrollBar());
}

void CComparisonWindow::FitCanvases() {
  const velk::Rect area =
      WithMargin(Union(older_->Canvas()->UsedArea(), newer_->Canvas()->UsedArea()));
  older_->Canvas()->SetArea(area, zoom_);
  newer_->Canvas()->SetArea(area, zoom_);
}

void CComparisonWindow::SetZoom(double zoom) {
  zoom_ = zoom;
  FitCanvases();
}

void CComparisonWindow::ShowChange(int index) {
  if (index < 0 || index >= static_cast<int>(diff_.changes.size())) return;
  const velk::WorkflowChange& c = diff_.changes[static_cast<std::size_t>(index)];
  const bool inOlder = c.olderNode || c.olderArrow, inNewer = c.newerNode || c.newerArrow;
  // A side without the element shows the level the other side shows it on.
  older_->ShowElement(c.olderNode, c.olderArrow);
  newer_->ShowElement(c.newerNode, c.newerArrow);
  if (inOlder && !inNewer) newer_->ShowLevelNamed(older_->ShownLevelName());
  if (inNewer && !inOlder) older_->ShowLevelNamed(newer_->ShownLevelName());
  FitCanvases();
  // The level shown may have changed the canvases: scroll once they have.
  older_->ShowElement(c.olderNode, c.olderArrow);
  newer_->ShowElement(c.newerNode, c.newerArrow);
}

bool CComparisonWindow::OnCommand(int id) {
  if (!IsZoomCommand(id)) return false;
  SetZoom(NextZoom(id, zoom_, Union(older_->Canvas()->UsedArea(), newer_->Canvas()->UsedArea()),
                   *older_));
  return true;
}

bool CComparisonWindow::OnUpdateCommand(int id, CmdUI&) {
  return IsZoomCommand(id);
}

CVersionWindow::CVersionWindow(std::shared_ptr<velk::CWorkflowDoc> version,
                               const CNodeBitmaps& bitmaps, QWidget* parent)
    : CMdiChild(parent), doc_(std::move(version)) {
  const QString title = QString::fromStdString(doc_->Session().Title());
  pane_ = new CLevelPane(*doc_, title + QStringLiteral(" (read-only)"), bitmaps, nullptr);
  setWidget(pane_);
  setWindowTitle(title + QStringLiteral(" - read-only"));
  connect(pane_, &CLevelPane::levelChanged, this, &CVersionWindow::Fit);
  connect(pane_->Canvas(), &CLevelCanvas::zoomWheel, this,
          [this](int delta) { OnCommand(delta > 0 ? cmd::ViewZoomIn : cmd::ViewZoomOut); });
  Fit();
}

CVersionWindow::~CVersionWindow() = default;

void CVersionWindow::Fit() {
  pane_->Canvas()->SetArea(WithMargin(pane_->Canvas()->UsedArea()), zoom_);
}

bool CVersionWindow::OnCommand(int id) {
  if (!IsZoomCommand(id)) return false;
  zoom_ = NextZoom(id, zoom_, pane_->Canvas()->UsedArea(), *pane_);
  Fit();
  return true;
}

bool CVersionWindow::OnUpdateCommand(int id, CmdUI&) {
  return IsZoomCommand(id);
}
