#pragma once
// Pixel-exact drawing of the 32 x 32 node pictures in the sixteen VGA colours. Shapes
// are given as "is this pixel inside" tests and get a one-pixel outline computed from
// their own border, which keeps small figures crisp where antialiased painting would
// blur them into colours outside the palette.

#include <QImage>
#include <QPolygonF>
#include <QVector>
#include <bitset>
#include <functional>
#include <initializer_list>
#include <utility>

// clang-format off
enum class Vga {
  Black, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
  Gray, Red, Lime, Yellow, Blue, Fuchsia, Aqua, White
};
// clang-format on

// The sixteen colours in the order of a 16-colour bitmap's colour table.
const QVector<QRgb>& VgaPalette();
QRgb VgaRgb(Vga colour);

// Whether the pixel at (x, y) belongs to a shape.
using PixelShape = std::function<bool(int x, int y)>;

PixelShape EllipseShape(double cx, double cy, double rx, double ry);
PixelShape RectShape(int left, int top, int right, int bottom);  // inclusive
PixelShape PolygonShape(const QPolygonF& polygon);
// An axis-aligned square with its corners cut off at 45 degrees.
PixelShape OctagonShape(int left, int top, int right, int bottom, int cut);
PixelShape UnionShape(PixelShape a, PixelShape b);
PixelShape IntersectShape(PixelShape a, PixelShape b);
// Pixels whose centre lies within `halfWidth` of the segment.
PixelShape SegmentShape(QPointF from, QPointF to, double halfWidth = 0.6);

class NodeCanvas {
 public:
  static constexpr int kSize = 32;

  NodeCanvas();  // white
  NodeCanvas(const NodeCanvas&) = delete;
  NodeCanvas& operator=(const NodeCanvas&) = delete;

  void Pixel(int x, int y, Vga colour);
  Vga At(int x, int y) const;
  // Inner pixels in `fill`, border pixels (those with a neighbour outside) in `outline`.
  void Fill(const PixelShape& shape, Vga fill, Vga outline);
  // The ring just inside the border: `light` where it faces up or left, else `shade`.
  void Bevel(const PixelShape& shape, Vga light, Vga shade);
  // The body is the set of pixels a token or tile fills; anything drawn later over
  // a pixel takes it out of the body. MarkBody takes every pixel of `colour` into it.
  void MarkBody(Vga colour);
  // Every other body pixel in `colour`: the checkerboard of the selected look.
  void DitherBody(Vga colour);
  // Body pixels next to `shape` (diagonals included) in `colour`, so that a figure keeps
  // a plain margin on the checkerboard.
  void Halo(const PixelShape& shape, Vga colour);
  // Pixel art: each character of `rows` is looked up in `colours`; others stay as they are.
  void Stamp(int x, int y, std::initializer_list<const char*> rows,
             std::initializer_list<std::pair<char, Vga>> colours);

  // The picture as a 16-colour indexed image with the VGA colour table.
  QImage ToIndexed() const;

 private:
  void Paint(int x, int y, Vga colour);  // keeps the body mark

  QImage m_image;
  std::bitset<kSize * kSize> m_body;
};
