#include "app/ui/levelpane.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "editor/ui/comparisonpicture.h"
#include "model/arrow.h"
#include "model/clusterlevels.h"
#include "model/node.h"
#include "model/workflowdoc.h"

using velk::CArrow;
using velk::CNode;
using velk::CWorkflowDoc;

CLevelCanvas::CLevelCanvas(const CNodeBitmaps& bitmaps, QWidget* parent)
    : QWidget(parent), painter_(bitmaps) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLevelCanvas::SetLevel(const CWorkflowDoc* level, const ComparisonMarks* marks) {
  level_ = level;
  marks_ = marks;
  update();
}

void CLevelCanvas::SetArea(velk::Rect area, double zoom) {
  area_ = area;
  zoom_ = zoom;
  const ViewMapping m = Mapping();
  resize(static_cast<int>(std::ceil(m.UnitsToPixelsX(area_.Width()))),
         static_cast<int>(std::ceil(m.UnitsToPixelsY(area_.Height()))));
  update();
}

velk::Rect CLevelCanvas::UsedArea() {
  if (!level_) return {0, 0, 0, 0};
  const velk::ShowFlags flags;
  return painter_.LevelArea(*level_, velk::ComputeTextOffsets(flags), flags.arrowDescription,
                            velk::kDefaultArrowSize);
}

ViewMapping CLevelCanvas::Mapping() const {
  ViewMapping m = ViewMapping::ForDpi(logicalDpiX() * zoom_, logicalDpiY() * zoom_);
  m.SetOrigin(QPointF(-area_.left * m.ScaleX(), area_.top * m.ScaleY()));
  return m;
}

QPoint CLevelCanvas::ToWidget(velk::Point p) const {
  return Mapping().ToDevice(p).toPoint();
}

void CLevelCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  PaintOptions options;
  options.outside = palette().color(QPalette::Window);
  const ViewMapping mapping = Mapping();
  painter_.Paint(p, level_, mapping, options, event->rect());
  if (level_ && marks_) PaintComparisonMarks(p, *level_, mapping, *marks_);
}

void CLevelCanvas::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0)
    return QWidget::wheelEvent(event);  // the scroll area scrolls
  emit zoomWheel(event->angleDelta().y());
  event->accept();
}

void CLevelCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!level_) return;
  const velk::Point at = Mapping().ToLogical(event->position());
  for (const CNode* node : level_->LevelNodes())
    if (node->GetRect().Contains(at)) return emit nodeDoubleClicked(*node);
}

namespace {

QString LevelName(const CWorkflowDoc& level, const velk::LevelNames& names) {
  const CNode* cluster = level.RepresentingNode();
  if (level.IsTopDocument() || !cluster) return QStringLiteral("Top level");
  const std::string above = names.Of(*cluster);
  return QString::fromStdString(above.empty() ? cluster->Name() : above + " > " + cluster->Name());
}

}  // namespace

CLevelPane::CLevelPane(CWorkflowDoc& top, const QString& caption, const CNodeBitmaps& bitmaps,
                       const ComparisonMarks* marks, QWidget* parent)
    : QWidget(parent),
      levelDocs_(velk::WorkflowLevels(top)),
      levels_(new QComboBox(this)),
      scroll_(new QScrollArea(this)),
      canvas_(new CLevelCanvas(bitmaps)),
      marks_(marks) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* title = new QLabel(caption, this);
  title->setStyleSheet(QStringLiteral("font-weight: bold"));
  layout->addWidget(title);
  const velk::LevelNames names(top);
  for (const CWorkflowDoc* level : levelDocs_) levels_->addItem(LevelName(*level, names));
  levels_->setAccessibleName(QStringLiteral("Level"));
  layout->addWidget(levels_);
  scroll_->setWidget(canvas_);
  scroll_->setBackgroundRole(QPalette::Window);
  layout->addWidget(scroll_, 1);
  canvas_->SetLevel(levelDocs_.front(), marks_);
  // A double click on a cluster opens its level, as in the workflow window.
  connect(canvas_, &CLevelCanvas::nodeDoubleClicked, this, &CLevelPane::OpenCluster);
  connect(levels_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0 || index >= static_cast<int>(levelDocs_.size())) return;
    canvas_->SetLevel(levelDocs_[static_cast<std::size_t>(index)], marks_);
    emit levelChanged();
  });
}

CWorkflowDoc& CLevelPane::ShownLevel() const {
  return *levelDocs_[static_cast<std::size_t>(std::max(0, levels_->currentIndex()))];
}

QString CLevelPane::ShownLevelName() const {
  return levels_->currentText();
}

void CLevelPane::OpenCluster(const CNode& clusterNode) {
  for (std::size_t i = 0; i < levelDocs_.size(); ++i)
    if (!levelDocs_[i]->IsTopDocument() && levelDocs_[i]->RepresentingNode() == &clusterNode)
      levels_->setCurrentIndex(static_cast<int>(i));
}

void CLevelPane::ShowLevelNamed(const QString& name) {
  if (const int index = levels_->findText(name); index >= 0) levels_->setCurrentIndex(index);
}

void CLevelPane::DeselectAll() {
  for (CWorkflowDoc* level : levelDocs_) level->Session().DeselectAll();
}

void CLevelPane::ShowElement(const CNode* node, const CArrow* arrow) {
  DeselectAll();
  const CNode* at = node ? node : arrow ? arrow->Source() : nullptr;
  if (at) {
    for (std::size_t i = 0; i < levelDocs_.size(); ++i) {
      CWorkflowDoc& level = *levelDocs_[i];
      if (level.Level() != at->BelongsToCluster()) continue;
      levels_->setCurrentIndex(static_cast<int>(i));
      for (CNode* n : level.LevelNodes()) {
        if (n == node) level.Session().SelectNode(*n);
        for (CArrow* a : n->OutgoingArrows())
          if (a == arrow) level.Session().SelectArrow(*a);
      }
      break;
    }
    const velk::Rect r = arrow ? velk::Rect{arrow->LineStart().x, arrow->LineStart().y,
                                            arrow->LineEnd().x, arrow->LineEnd().y}
                               : at->GetRect();
    const QPoint centre = canvas_->ToWidget({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    scroll_->ensureVisible(centre.x(), centre.y(), scroll_->viewport()->width() / 3,
                           scroll_->viewport()->height() / 3);
  }
  canvas_->update();
}
