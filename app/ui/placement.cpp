#include "app/ui/placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace {
bool onSomeScreen(const QRect& r) {
  const auto screens = QGuiApplication::screens();
  if (screens.isEmpty()) return true;
  for (const QScreen* s : screens)
    if (s->availableGeometry().intersects(r)) return true;
  return false;
}
}  // namespace

velk::WindowPlacement PlacementOf(const QWidget* w) {
  velk::WindowPlacement p;
  const bool maximized = w->isMaximized();
  const QRect r = (maximized || w->isMinimized()) ? w->normalGeometry() : w->geometry();
  p.flags = maximized ? velk::WindowPlacement::kRestoreToMaximized : 0;
  p.showCmd = maximized ? velk::WindowPlacement::Maximized : velk::WindowPlacement::Normal;
  p.left = r.left();
  p.top = r.top();
  p.right = r.left() + r.width();
  p.bottom = r.top() + r.height();
  return p;
}

void ApplyPlacement(QWidget* w, const velk::WindowPlacement& p) {
  const QRect r(p.left, p.top, p.right - p.left, p.bottom - p.top);
  if (p.right > p.left && p.bottom > p.top && onSomeScreen(r)) w->setGeometry(r);
  Qt::WindowStates state = w->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
  if (p.maximized()) state |= Qt::WindowMaximized;
  w->setWindowState(state);
}
