#include "app/ui/nodefigures.h"

#include <QLineF>
#include <QPolygonF>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kGlyphRows = 7;

struct Glyph {
  char letter;
  const char* rows[kGlyphRows];
};

// Only the letters the node words need.
// clang-format off
constexpr Glyph kGlyphs[] = {
    {'a', {"...", "...", "##.", "..#", ".##", "#.#", ".##"}},
    {'d', {"..#", "..#", ".##", "#.#", "#.#", "#.#", ".##"}},
    {'e', {"...", "...", ".#.", "#.#", "###", "#..", ".##"}},
    {'i', {"#", ".", "#", "#", "#", "#", "#"}},
    {'n', {"...", "...", "##.", "#.#", "#.#", "#.#", "#.#"}},
    {'o', {"...", "...", ".#.", "#.#", "#.#", "#.#", ".#."}},
    {'r', {"..", "..", "#.#", "##.", "#..", "#..", "#.."}},
    {'s', {"...", "...", ".##", "#..", ".#.", "..#", "##."}},
    {'t', {"...", ".#.", "###", ".#.", ".#.", ".#.", "..#"}},
    {'u', {"...", "...", "#.#", "#.#", "#.#", "#.#", ".##"}},
};
// clang-format on

const Glyph* FindGlyph(char letter) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.letter == letter) return &glyph;
  }
  return nullptr;
}

int GlyphWidth(const Glyph& glyph) {
  int width = 0;
  for (const char* row : glyph.rows) width = std::max(width, int(std::strlen(row)));
  return width;
}

struct PersonMetrics {
  double headRadius;
  int bodyWidth;
  int bodyHeight;
};

// Head sizes are chosen for round outlines at this resolution, not by formula.
PersonMetrics Metrics(PersonSize size) {
  switch (size) {
    case PersonSize::Small:
      return {3.0, 10, 6};
    case PersonSize::Medium:
      return {3.9, 12, 7};
    case PersonSize::Large:
      return {4.4, 14, 8};
  }
  return {3.0, 10, 6};
}

// A shaft three pixels wide (one filled between two outline rows when it is laid on
// a pixel centre) with one or two triangular heads.
QPolygonF ArrowPolygon(QPointF from, QPointF to, bool bothEnds, double headHalf) {
  const QLineF line(from, to);
  const QPointF unit = (to - from) / line.length();
  const QPointF normal(-unit.y(), unit.x());
  constexpr double kShaftHalf = 1.5;
  const double head = headHalf + 1.0;
  const QPointF headBase = to - unit * head;
  const QPointF tailBase = bothEnds ? from + unit * head : from;
  QPolygonF polygon;
  polygon << tailBase + normal * kShaftHalf << headBase + normal * kShaftHalf
          << headBase + normal * headHalf << to << headBase - normal * headHalf
          << headBase - normal * kShaftHalf << tailBase - normal * kShaftHalf;
  if (bothEnds) polygon << tailBase - normal * headHalf << from << tailBase + normal * headHalf;
  return polygon;
}

// A figure standing on the body: a plain margin first, so that it stays clear of the
// checkerboard of the selected look.
void DrawFigure(NodeCanvas& canvas, const PixelShape& shape, Vga fill, Vga outline) {
  canvas.Halo(shape, Vga::Silver);
  canvas.Fill(shape, fill, outline);
}

// A spot of light on the pixels of `colour` inside a circle.
void DrawShine(NodeCanvas& canvas, Vga colour, double cx, double cy, double r) {
  const PixelShape spot = EllipseShape(cx, cy, r, r);
  canvas.Fill([&](int x, int y) { return spot(x, y) && canvas.At(x, y) == colour; }, Vga::Aqua,
              Vga::Aqua);
}

void DrawBody(NodeCanvas& canvas, const PixelShape& body, bool selected) {
  canvas.Fill(body, Vga::Silver, Vga::Black);
  canvas.Bevel(body, Vga::White, Vga::Gray);
  canvas.MarkBody(Vga::Silver);
  if (selected) canvas.DitherBody(Vga::Blue);
}

}  // namespace

void DrawToken(NodeCanvas& canvas, bool selected) {
  DrawBody(canvas, OctagonShape(1, 1, 30, 30, 8), selected);
}

void DrawTile(NodeCanvas& canvas, bool selected) {
  DrawBody(canvas, RectShape(1, 1, 30, 30), selected);
}

void DrawPerson(NodeCanvas& canvas, double centreX, int bottom, PersonSize size, Vga body,
                Vga outline) {
  const PersonMetrics m = Metrics(size);
  const int top = bottom - m.bodyHeight + 1;
  const double halfWidth = m.bodyWidth / 2.0;
  // Rounded shoulders over a straight trunk.
  const double shoulder = m.bodyWidth * 0.3;
  const PixelShape torso = UnionShape(
      UnionShape(EllipseShape(centreX - halfWidth + shoulder, top + shoulder, shoulder, shoulder),
                 EllipseShape(centreX + halfWidth - shoulder, top + shoulder, shoulder, shoulder)),
      UnionShape(RectShape(int(centreX - halfWidth + shoulder), top,
                           int(centreX + halfWidth - shoulder) - 1, bottom),
                 PolygonShape(QRectF(centreX - halfWidth, top + shoulder, m.bodyWidth,
                                     bottom + 1 - top - shoulder))));
  // The head sits just clear of the shoulders.
  const double r = m.headRadius;
  const double headY = top - r;
  const PixelShape head = EllipseShape(centreX, headY, r, r);
  canvas.Halo(UnionShape(torso, head), Vga::Silver);
  canvas.Fill(torso, body, outline);
  DrawShine(canvas, body, centreX - halfWidth + shoulder, top + 1.5, 1.2);
  canvas.Fill(head, body, outline);
  DrawShine(canvas, body, centreX - r * 0.4, headY - r * 0.4, r * 0.25);
}

void DrawPedestal(NodeCanvas& canvas, double centreX, int top, int width) {
  const double rx = width / 2.0;
  const PixelShape side = EllipseShape(centreX, top + 5.0, rx, 3.0);
  const PixelShape face = EllipseShape(centreX, top + 3.0, rx, 3.0);
  canvas.Halo(UnionShape(side, face), Vga::Silver);
  canvas.Fill(side, Vga::Olive, Vga::Black);
  canvas.Fill(face, Vga::Yellow, Vga::Black);
}

int WordWidth(const char* word) {
  int width = 0;
  for (const char* p = word; *p != '\0'; ++p) {
    if (const Glyph* glyph = FindGlyph(*p)) width += GlyphWidth(*glyph) + (width > 0 ? 1 : 0);
  }
  return width;
}

void DrawWord(NodeCanvas& canvas, const char* word, double centreX, int top, Vga colour) {
  const int left = int(centreX - WordWidth(word) / 2.0 + 0.5);
  const PixelShape letters = [=](int x, int y) {
    if (y < top || y >= top + kGlyphRows) return false;
    int glyphLeft = left;
    for (const char* p = word; *p != '\0'; ++p) {
      const Glyph* glyph = FindGlyph(*p);
      if (glyph == nullptr) continue;
      const char* row = glyph->rows[y - top];
      if (x >= glyphLeft && x < glyphLeft + int(std::strlen(row))) return row[x - glyphLeft] == '#';
      glyphLeft += GlyphWidth(*glyph) + 1;
    }
    return false;
  };
  DrawFigure(canvas, letters, colour, colour);
}

void DrawGlobe(NodeCanvas& canvas, double centreX, double centreY, double radius) {
  const PixelShape globe = EllipseShape(centreX, centreY, radius, radius);
  DrawFigure(canvas, globe, Vga::Blue, Vga::Navy);
  // Two continents, kept inside the rim.
  const PixelShape land = UnionShape(
      EllipseShape(centreX - radius * 0.35, centreY - radius * 0.3, radius * 0.45, radius * 0.5),
      EllipseShape(centreX + radius * 0.4, centreY + radius * 0.35, radius * 0.35, radius * 0.45));
  const PixelShape inner = EllipseShape(centreX, centreY, radius - 1, radius - 1);
  canvas.Fill(IntersectShape(land, inner), Vga::Lime, Vga::Green);
}

void DrawLightning(NodeCanvas& canvas, double left, double top, double scale) {
  QPolygonF bolt;
  for (const QPointF& p : {QPointF(4, 0), QPointF(9, 0), QPointF(6, 5), QPointF(9, 5),
                           QPointF(1, 14), QPointF(3.5, 7.5), QPointF(0.5, 7.5)}) {
    bolt << p * scale + QPointF(left, top);
  }
  DrawFigure(canvas, PolygonShape(bolt), Vga::Yellow, Vga::Black);
}

void DrawArrow(NodeCanvas& canvas, QPointF from, QPointF to, Vga fill, bool bothEnds,
               double headHalf) {
  DrawFigure(canvas, PolygonShape(ArrowPolygon(from, to, bothEnds, headHalf)), fill, Vga::Black);
}

void DrawGraph(NodeCanvas& canvas, QPoint a, QPoint b, QPoint c) {
  auto centre = [](QPoint p) { return QPointF(p.x() + 0.5, p.y() + 0.5); };
  const PixelShape edges =
      UnionShape(UnionShape(SegmentShape(centre(a), centre(b)), SegmentShape(centre(b), centre(c))),
                 SegmentShape(centre(c), centre(a)));
  DrawFigure(canvas, edges, Vga::Blue, Vga::Blue);
  for (QPoint p : {a, b, c}) {
    DrawFigure(canvas, EllipseShape(p.x() + 0.5, p.y() + 0.5, 2.5, 2.5), Vga::Blue, Vga::Navy);
  }
}

void DrawFormSheet(NodeCanvas& canvas, int left, int top, int right, int bottom) {
  constexpr int kFold = 3;
  QPolygonF page;
  page << QPointF(left, top) << QPointF(right + 1 - kFold, top) << QPointF(right + 1, top + kFold)
       << QPointF(right + 1, bottom + 1) << QPointF(left, bottom + 1);
  DrawFigure(canvas, PolygonShape(page), Vga::White, Vga::Black);
  const int foldX = right - kFold + 1;
  canvas.Fill(UnionShape(RectShape(foldX, top, foldX, top + kFold),
                         RectShape(foldX, top + kFold, right, top + kFold)),
              Vga::Black, Vga::Black);
  canvas.Fill(RectShape(left + 2, top + 2, foldX - 2, top + 2), Vga::Blue, Vga::Blue);
  for (int y = top + 5; y <= bottom - 2; y += 2) {
    canvas.Fill(RectShape(left + 2, y, right - 2, y), Vga::Gray, Vga::Gray);
  }
}

void DrawEnvelope(NodeCanvas& canvas, int left, int top, int right, int bottom) {
  DrawFigure(canvas, RectShape(left, top, right, bottom), Vga::White, Vga::Black);
  const QPointF tip((left + right + 1) / 2.0, top + (bottom - top) * 0.6);
  const PixelShape flap = UnionShape(SegmentShape(QPointF(left + 0.5, top + 0.5), tip),
                                     SegmentShape(QPointF(right + 0.5, top + 0.5), tip));
  canvas.Fill(flap, Vga::Black, Vga::Black);
}

void DrawExclamationBadge(NodeCanvas& canvas) {
  canvas.Fill(EllipseShape(6.0, 26.0, 6.0, 6.0), Vga::Red, Vga::Maroon);
  canvas.Fill(RectShape(5, 22, 6, 26), Vga::White, Vga::White);
  canvas.Fill(RectShape(5, 28, 6, 29), Vga::White, Vga::White);
}

void DrawShortcutBadge(NodeCanvas& canvas) {
  canvas.Fill(RectShape(0, 20, 11, 31), Vga::White, Vga::Black);
  // clang-format off
  canvas.Stamp(2, 22, {"..rrrrr.",
                       "....rrr.",
                       "...rrrr.",
                       "..rrr.r.",
                       ".rrr....",
                       ".rr.....",
                       ".rr.....",
                       ".rr....."},
               {{'r', Vga::Red}});
  // clang-format on
}
