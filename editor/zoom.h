#pragma once
// Zoom levels of the workflow view: a factor on the natural size (1.0 = 100%).

#include "model/geometry.h"

namespace velk {

inline constexpr double kMinZoom = 0.25;
inline constexpr double kMaxZoom = 4.0;
// Logical units FitZoom leaves around the content.
inline constexpr int kFitMargin = 20;

// Within kMinZoom..kMaxZoom; anything not a positive number gives 100%.
double ClampZoom(double zoom);
// The next preset level above / below `zoom` (25% ... 400%), or the limit.
double ZoomIn(double zoom);
double ZoomOut(double zoom);
// The largest zoom at which `content` (logical units) fits a viewport of
// `widthUnits` x `heightUnits` at 100%, with a small margin; 100% for no content.
double FitZoom(const Rect& content, double widthUnits, double heightUnits);
// "200%".
int ZoomPercent(double zoom);

}  // namespace velk
