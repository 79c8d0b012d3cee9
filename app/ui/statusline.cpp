#include "app/ui/statusline.h"

#include "editor/zoom.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

const char* const CStatusLine::kIdlePrompt = "For Help, press F1";

namespace {
QLabel* makePane(const QString& text, QWidget* parent) {
  auto* pane = new QLabel(text, parent);
  pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pane->setContentsMargins(3, 0, 3, 0);
  return pane;
}
}  // namespace

CStatusLine::CStatusLine(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusBar"));
  message_ = new QLabel(QString::fromLatin1(kIdlePrompt), this);
  message_->setContentsMargins(3, 0, 3, 0);
  message_->setMinimumWidth(1);  // long texts must not widen the window
  addWidget(message_, 1);

  progressPane_ = new QWidget(this);
  progressPane_->setObjectName(QStringLiteral("ProgressPane"));
  progressPane_->setFixedWidth(fontMetrics().horizontalAdvance(QString(kProgressPaneChars, ' ')));
  auto* layout = new QHBoxLayout(progressPane_);
  layout->setContentsMargins(1, 2, 1, 2);
  addPermanentWidget(progressPane_);

  zoom_ = makePane(QString(), this);
  zoom_->setObjectName(QStringLiteral("ZoomPane"));
  zoom_->setAlignment(Qt::AlignCenter);
  zoom_->setMinimumWidth(zoom_->fontMetrics().horizontalAdvance(QStringLiteral("400%")) + 12);
  addPermanentWidget(zoom_);

  // Lock-key states cannot be read portably; the panes keep the classic layout
  // and show their names greyed.
  for (const char* name : {"CAP", "NUM", "SCRL"}) AddIndicator(QString::fromLatin1(name));
}

void CStatusLine::AddIndicator(const QString& text) {
  QLabel* pane = makePane(text, this);
  pane->setAlignment(Qt::AlignCenter);
  pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
  pane->setEnabled(false);
  addPermanentWidget(pane);
}

void CStatusLine::SetMessageText(const QString& text) {
  message_->setText(text.isEmpty() ? QString::fromLatin1(kIdlePrompt) : text);
  if (message_->isVisible()) message_->repaint();
}

QString CStatusLine::MessageText() const {
  return message_->text();
}

void CStatusLine::CreateProgress() {
  progress_ = new QProgressBar(progressPane_);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  progressPane_->layout()->addWidget(progress_);
  progress_->show();
}

void CStatusLine::SetProgressRange(int maximum) {
  if (!progress_) CreateProgress();
  progress_->setRange(0, maximum > 0 ? maximum : 100);
}

void CStatusLine::SetProgress(int position) {
  if (!progress_) CreateProgress();
  progress_->setValue(qBound(progress_->minimum(), position, progress_->maximum()));
  if (progress_->isVisible()) progress_->repaint();
}

void CStatusLine::SetZoom(std::optional<double> zoom) {
  zoom_->setText(zoom ? QStringLiteral("%1%").arg(velk::ZoomPercent(*zoom)) : QString());
}

QString CStatusLine::ZoomText() const {
  return zoom_->text();
}
