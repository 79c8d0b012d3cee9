#include "app/ui/splashwnd.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kBandWidth = 150;
const QColor kBandTop(0x1d, 0x4e, 0x89);
const QColor kBandBottom(0x0b, 0x2a, 0x52);

QLabel* makeLabel(const QString& text, QWidget* parent, int pointDelta, bool bold,
                  const QColor& colour) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setPointSizeF(f.pointSizeF() + pointDelta);
  f.setBold(bold);
  label->setFont(f);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, colour);
  label->setPalette(pal);
  label->setWordWrap(true);
  return label;
}

QString versionText() {
  QString version = QCoreApplication::applicationVersion();
  return QStringLiteral("Version %1").arg(version.isEmpty() ? QStringLiteral("0.1") : version);
}

}  // namespace

CSplashWnd::CSplashWnd(int closeAfterMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("SplashWindow"));
  setWindowTitle(QStringLiteral("VELK Modeler"));
  setFixedSize(520, 270);

  picture_ = new QToolButton(this);
  picture_->setObjectName(QStringLiteral("SplashPicture"));
  picture_->setIcon(QIcon(QStringLiteral(":/velkmod/velkmod.svg")));
  picture_->setIconSize(QSize(104, 104));
  picture_->setAutoRaise(true);
  picture_->setCursor(Qt::PointingHandCursor);
  picture_->setToolTip(QStringLiteral("Close"));
  picture_->setGeometry((kBandWidth - 120) / 2, 40, 120, 120);
  connect(picture_, &QToolButton::clicked, this, &QWidget::close);

  auto* text = new QWidget(this);
  text->setGeometry(kBandWidth + 24, 26, width() - kBandWidth - 46, height() - 46);
  auto* column = new QVBoxLayout(text);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  const QColor ink(0x1a, 0x1a, 0x1a), muted(0x5a, 0x5a, 0x5a);
  column->addWidget(makeLabel(QStringLiteral("VELK Modeler"), text, 9, true, kBandTop));
  column->addWidget(makeLabel(QStringLiteral("Workflow type modeler"), text, 1, false, ink));
  column->addSpacing(6);
  column->addWidget(makeLabel(versionText(), text, 0, false, ink));
  column->addWidget(makeLabel(QStringLiteral("Copyright \u00A9 Marvelund"), text, 0, false, ink));
  column->addStretch(1);
  column->addWidget(makeLabel(
      QStringLiteral("This program is provided \"as is\", without warranty of any kind, either "
                     "expressed or implied, including fitness for a particular purpose."),
      text, -1, false, muted));

  const QRect screen = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1024, 768);
  move(screen.center() - rect().center());

  if (closeAfterMs > 0) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::close);
    timer_.start(closeAfterMs);
  }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  QLinearGradient band(0, 0, 0, height());
  band.setColorAt(0, kBandTop);
  band.setColorAt(1, kBandBottom);
  p.fillRect(QRect(0, 0, kBandWidth, height()), band);
  p.setPen(QColor(0xff, 0xff, 0xff, 0xc0));
  QFont f = font();
  f.setPointSizeF(f.pointSizeF() - 1);
  f.setLetterSpacing(QFont::PercentageSpacing, 115);
  p.setFont(f);
  p.drawText(QRect(0, 170, kBandWidth, 24), Qt::AlignCenter, QStringLiteral("WORKFLOW"));
  p.drawText(QRect(0, 190, kBandWidth, 24), Qt::AlignCenter, QStringLiteral("DESIGN"));
  p.setPen(QColor(0x8a, 0x8a, 0x8a));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    close();
  else
    QWidget::mousePressEvent(event);
}

void CSplashWnd::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}
