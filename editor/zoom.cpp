#include "editor/zoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velk {

namespace {

constexpr std::array<double, 11> kSteps = {0.25, 0.33, 0.5, 0.67, 0.75, 1.0,
                                           1.25, 1.5,  2.0, 3.0,  4.0};

}  // namespace

double ClampZoom(double zoom) {
  if (!(zoom > 0) || !std::isfinite(zoom)) return 1.0;
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

double ZoomIn(double zoom) {
  zoom = ClampZoom(zoom);
  for (double step : kSteps)
    if (step > zoom + 1e-9) return step;
  return kMaxZoom;
}

double ZoomOut(double zoom) {
  zoom = ClampZoom(zoom);
  for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
    if (*it < zoom - 1e-9) return *it;
  return kMinZoom;
}

double FitZoom(const Rect& content, double widthUnits, double heightUnits) {
  const double w = std::abs(content.right - content.left) + 2 * kFitMargin;
  const double h = std::abs(content.top - content.bottom) + 2 * kFitMargin;
  if (content == Rect{} || widthUnits <= 0 || heightUnits <= 0) return 1.0;
  return ClampZoom(std::min(widthUnits / w, heightUnits / h));
}

int ZoomPercent(double zoom) {
  return static_cast<int>(std::lround(ClampZoom(zoom) * 100));
}

}  // namespace velk
