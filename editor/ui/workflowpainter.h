#pragma once
// Draws one level of a workflow onto any QPainter: the view's viewport, a
// printer page or an image. It reads the model and never changes it. The
// painter works in device pixels; ViewMapping places the logical drawing.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <array>

#include "editor/drawinggeometry.h"
#include "editor/ui/viewmapping.h"

class CNodeBitmaps;
class QFontMetricsF;
class QPainter;

namespace velk {
class CArrow;
class CNode;
class CWorkflowDoc;
}  // namespace velk

// What to draw besides the nodes and arrows.
struct PaintOptions {
  velk::ShowFlags flags;
  bool gridVisible = false;
  int gridSize = 50;
  int arrowSize = velk::kDefaultArrowSize;
  // Around the drawing area: the window colour on screen, white on paper.
  QColor outside;
};

class CWorkflowPainter {
 public:
  explicit CWorkflowPainter(const CNodeBitmaps& bitmaps);

  // Draws the level of `level` (nothing but the background and grid when null)
  // into the device rectangle `clip`: `options.outside` (the window colour when
  // invalid) outside the drawing area, white inside it, the grid, nodes with
  // their arrows, the node texts, then the arrow descriptions, antialiased and
  // at the device's full resolution. Only what reaches `clip` is drawn; the
  // caller's clipping is kept.
  void Paint(QPainter& painter, const velk::CWorkflowDoc* level, const ViewMapping& mapping,
             const PaintOptions& options, const QRect& clip);

  // One arrow as the drawing shows it (also the rubber line of the arrow tool).
  void DrawArrowLine(QPainter& painter, const ViewMapping& mapping, velk::Point start,
                     velk::Point end, int arrowSize, bool selected);

  // Line height of the node texts in logical units.
  int LineHeight() const { return lineHeight_; }
  // The area a node covers: its rectangle widened by `offsets`, with all its
  // arrows (heads of the "ArrowSize" index `arrowSize`) and their descriptions
  // when `withDescriptions`.
  velk::Rect NodeArea(const velk::CNode& node, const velk::TextOffsets& offsets,
                      bool withDescriptions, int arrowSize);
  // An arrow's line and head, with its description box when `withDescription`.
  velk::Rect ArrowArea(const velk::CArrow& arrow, bool withDescription, int arrowSize);
  // Where the texts under a node stand with `flags` (empty rect for none).
  velk::Rect TextBox(const velk::CNode& node, const velk::ShowFlags& flags);
  // What the level shows: the union of its nodes' areas (empty rect for none).
  velk::Rect LevelArea(const velk::CWorkflowDoc& level, const velk::TextOffsets& offsets,
                       bool withDescriptions, int arrowSize);

  // The node text font for a device of `pixelsPerUnit` and `dpi`: "DejaVu Sans"
  // sized so that a line is 10 logical units high. The description font is its
  // italic.
  static QFont TextFont(double pixelsPerUnit, double dpi);

 private:
  struct Context;
  void PrepareFonts(const ViewMapping& mapping, double dpi);
  // Width of a text in logical units, the same on every device.
  double TextWidth(const QString& text, bool italic) const;
  void DrawBackground(QPainter& painter, const Context& c) const;
  void DrawGrid(QPainter& painter, const Context& c) const;
  void DrawNode(QPainter& painter, const Context& c, const velk::CNode& node);
  void DrawArrowShape(QPainter& painter, const Context& c, velk::Point start, velk::Point end,
                      const std::array<velk::Point, 4>& head, bool selected) const;
  void DrawDescription(QPainter& painter, const Context& c, const velk::CArrow& arrow);
  void DrawNodeTexts(QPainter& painter, const Context& c, const velk::CNode& node);
  // The lines under a node, laid out once per text and flags.
  const std::vector<QString>& TextLines(const velk::CNode& node, const velk::ShowFlags& flags);
  // TextWidth, or the width in the drawing font when that is wider,
  // remembered per text.
  int KnownWidth(const QString& text, bool italic);
  // The text shaped once in the current drawing font (its italic when `italic`).
  const QStaticText& Shaped(const QString& text, bool italic);
  velk::Rect DescriptionRect(const velk::CArrow& arrow);
  // The node picture at `size` device pixels, for a device of `ratio`.
  const QImage& NodeImage(int index, bool selected, QSize size, double ratio);

  const CNodeBitmaps& bitmaps_;
  // Texts are laid out with fonts of 10 pixels per unit, so that wrapping and
  // boxes do not depend on the device's font sizes and hinting.
  QFont measureFont_;
  QFont measureItalic_;
  int lineHeight_ = 10;
  double fontScale_ = -1;  // pixels per unit the drawing fonts were made for
  double fontDpi_ = -1;
  bool shapeOnce_ = true;  // texts may be kept shaped for this device
  QFont textFont_;
  QFont descriptionFont_;
  // Node pictures already stretched to the device size: key (table, index,
  // ratio, size).
  QHash<quint64, QImage> scaled_;
  // Node text lines, widths and shaped texts, keyed by text: shaping is the
  // costly part of painting texts. Index 1 holds the italic ones.
  QHash<QString, std::vector<QString>> lines_;
  QHash<QString, int> widths_[2];
  QHash<QString, QStaticText> shaped_[2];
};
