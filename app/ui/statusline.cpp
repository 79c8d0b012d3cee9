#include "app/ui/statusline.h"

#include "editor/zoom.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
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
  messageText_ = QString::fromLatin1(kIdlePrompt);
  message_ = new QLabel(messageText_, this);
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

  lockPanes_ = {AddIndicator(QStringLiteral("CAP"), QStringLiteral("CapPane")),
                AddIndicator(QStringLiteral("NUM"), QStringLiteral("NumPane")),
                AddIndicator(QStringLiteral("SCRL"), QStringLiteral("ScrlPane"))};
  // The panes start as off: reading the X server's indicators would need another
  // library, and the first key event on X brings the true Caps and Num Lock state.
  nativeX11_ = QGuiApplication::platformName() == QLatin1String("xcb");
  qApp->installEventFilter(this);
}

CStatusLine::~CStatusLine() {
  if (qApp) qApp->removeEventFilter(this);
}

QLabel* CStatusLine::AddIndicator(const QString& text, const QString& objectName) {
  QLabel* pane = makePane(text, this);
  pane->setObjectName(objectName);
  pane->setAlignment(Qt::AlignCenter);
  pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
  pane->setEnabled(false);
  addPermanentWidget(pane);
  return pane;
}

void CStatusLine::SetLockStates(bool caps, bool num, bool scroll) {
  locks_ = LockStates{caps, num, scroll};
  const bool on[] = {caps, num, scroll};
  for (std::size_t i = 0; i < lockPanes_.size(); ++i) lockPanes_[i]->setEnabled(on[i]);
}

bool CStatusLine::LockState(int index) const {
  switch (index) {
    case 0:
      return locks_.caps;
    case 1:
      return locks_.num;
    case 2:
      return locks_.scroll;
    default:
      return false;
  }
}

bool CStatusLine::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride)
    TrackLockKeys(*static_cast<QKeyEvent*>(event));
  return QStatusBar::eventFilter(watched, event);
}

void CStatusLine::TrackLockKeys(const QKeyEvent& event) {
  const KeyEventId id{event.type(), event.key(), event.timestamp(), event.nativeScanCode(),
                      event.nativeModifiers()};
  if (id == lastKey_) return;
  lastKey_ = id;
  if (event.isAutoRepeat()) return;
  // Only events from the X server carry its modifier mask; synthesized ones have
  // no scan code and a mask of 0 that would switch every lock off.
  const bool haveNative = nativeX11_ && event.nativeScanCode() != 0;
  const LockStates next = NextLockStates(locks_, event.nativeModifiers(), event.key(),
                                         event.type() == QEvent::KeyPress, haveNative);
  if (next != locks_) SetLockStates(next.caps, next.num, next.scroll);
}

void CStatusLine::SetMessageText(const QString& text) {
  messageText_ = text.isEmpty() ? QString::fromLatin1(kIdlePrompt) : text;
  message_->setText(messageText_);
  if (message_->isVisible()) message_->repaint();
}

void CStatusLine::ShowTip(const QString& tip) {
  message_->setText(tip.isEmpty() ? messageText_ : tip);
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
