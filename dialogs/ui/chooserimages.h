#pragma once
// The 16 x 16 images of the workflow choosers, on a transparent background: a
// category (closed and, when selected, open folder), then one per workflow
// status (Design, Active, Freeze, Template, Testing), indexed as the choosers'
// image numbers (the sub-workflow images 5 and 6 are shared with Template and
// Testing).

#include <QIcon>
#include <QPixmap>
#include <QSize>

inline constexpr QSize kChooserImageSize{16, 16};
inline constexpr int kChooserImageCount = 7;

// Image `index` (0..6); an empty pixmap for any other index.
QPixmap ChooserPixmap(int index);
// A category: closed, and open while selected.
QIcon ChooserCategoryIcon();
// A stored version by its image index.
QIcon ChooserVersionIcon(int index);
