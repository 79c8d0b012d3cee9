#pragma once
// Conversion between logical units of the drawing (0.01 inch, y axis up, the
// drawing's top-left corner at (0, 0)) and device pixels of a paint device (y
// axis down). Screen, printer and image share it; only scale and origin differ.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <cmath>

#include "model/geometry.h"

class ViewMapping {
 public:
  ViewMapping() = default;
  // `pixelsPerUnitX/Y`: device pixels per logical unit (dpi / 100). `origin`: the
  // device position of the logical point (0, 0), e.g. minus the scroll offset.
  ViewMapping(double pixelsPerUnitX, double pixelsPerUnitY, QPointF origin = {})
      : sx_(pixelsPerUnitX), sy_(pixelsPerUnitY), origin_(origin) {}

  // Pixels per unit for a device of `dpiX` x `dpiY` dots per inch.
  static ViewMapping ForDpi(double dpiX, double dpiY, QPointF origin = {}) {
    return {dpiX / 100.0, dpiY / 100.0, origin};
  }

  double ScaleX() const { return sx_; }
  double ScaleY() const { return sy_; }
  QPointF Origin() const { return origin_; }
  void SetOrigin(QPointF origin) { origin_ = origin; }

  QPointF ToDevice(velk::Point p) const {
    return {origin_.x() + p.x * sx_, origin_.y() - p.y * sy_};
  }
  // Device rectangle of a logical one (top-left stays top-left).
  QRectF ToDevice(const velk::Rect& r) const {
    return QRectF(ToDevice(velk::Point{r.left, r.top}), ToDevice(velk::Point{r.right, r.bottom}));
  }
  // The whole-pixel rectangle that covers a logical one, edges included.
  QRect ToDeviceCovering(const velk::Rect& r) const {
    const QRectF f = ToDevice(r);
    const int l = static_cast<int>(std::floor(f.left()));
    const int t = static_cast<int>(std::floor(f.top()));
    const int rr = static_cast<int>(std::ceil(f.right()));
    const int b = static_cast<int>(std::ceil(f.bottom()));
    return QRect(QPoint(l, t), QPoint(rr, b));
  }
  // The nearest logical point of a device position.
  velk::Point ToLogical(QPointF d) const {
    return {static_cast<int>(std::lround((d.x() - origin_.x()) / sx_)),
            static_cast<int>(std::lround((origin_.y() - d.y()) / sy_))};
  }
  // The logical rectangle that covers a device one.
  velk::Rect ToLogical(const QRectF& d) const {
    return {static_cast<int>(std::floor((d.left() - origin_.x()) / sx_)),
            static_cast<int>(std::ceil((origin_.y() - d.top()) / sy_)),
            static_cast<int>(std::ceil((d.right() - origin_.x()) / sx_)),
            static_cast<int>(std::floor((origin_.y() - d.bottom()) / sy_))};
  }
  double UnitsToPixelsX(double units) const { return units * sx_; }
  double UnitsToPixelsY(double units) const { return units * sy_; }

 private:
  double sx_ = 0.96;
  double sy_ = 0.96;
  QPointF origin_;
};

// On a device of `ratio` device pixels per painter pixel: the point where a
// line through `p` of `penWidth` (painter pixels, whole device pixels) covers
// whole device pixels, so that antialiasing leaves lines along the axes sharp.
// An odd number of device pixels is centred on a pixel, an even one on a border.
inline QPointF CrispPoint(QPointF p, double penWidth, double ratio) {
  const double offset = static_cast<long>(std::lround(penWidth * ratio)) % 2 == 1 ? 0.5 : 0.0;
  const auto snap = [&](double v) { return (std::floor(v * ratio) + offset) / ratio; };
  return {snap(p.x()), snap(p.y())};
}

// The whole device pixels nearest to a rectangle of painter pixels.
inline QRect DevicePixels(const QRectF& r, double ratio) {
  const QPoint topLeft(qRound(r.left() * ratio), qRound(r.top() * ratio));
  const QPoint bottomRight(qRound(r.right() * ratio), qRound(r.bottom() * ratio));
  return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}
