#pragma once
// The figures the node pictures are made of: token and tile bodies, people, pedestal,
// words and the small symbols. Coordinates are pixels of the 32 x 32 picture.

#include <QPoint>
#include <QPointF>

#include "app/ui/nodecanvas.h"

enum class PersonSize { Small, Medium, Large };

// Grey octagon and grey square, each with a raised edge; selected, their grey is
// covered by a blue checkerboard. Figures drawn on them keep a plain grey margin.
void DrawToken(NodeCanvas& canvas, bool selected);
void DrawTile(NodeCanvas& canvas, bool selected);

// A person whose head and shoulders are centred on `centreX` and whose feet are at `bottom`.
void DrawPerson(NodeCanvas& canvas, double centreX, int bottom, PersonSize size,
                Vga body = Vga::Blue, Vga outline = Vga::Navy);
// A yellow disc `width` wide and 8 pixels high from `top`; a person stands on it
// with the feet at top + 2.
void DrawPedestal(NodeCanvas& canvas, double centreX, int top, int width);
// Lower-case letters of a small built-in font (x-height 5, ascenders 2).
void DrawWord(NodeCanvas& canvas, const char* word, double centreX, int top, Vga colour);
int WordWidth(const char* word);

void DrawGlobe(NodeCanvas& canvas, double centreX, double centreY, double radius);
// 9 x 14 pixels at scale 1.
void DrawLightning(NodeCanvas& canvas, double left, double top, double scale = 1.0);
// An arrow with a filled head at `to` (and at `from` when `bothEnds`), its head
// reaching `headHalf` to either side of the line.
void DrawArrow(NodeCanvas& canvas, QPointF from, QPointF to, Vga fill, bool bothEnds = false,
               double headHalf = 4.0);
void DrawGraph(NodeCanvas& canvas, QPoint a, QPoint b, QPoint c);  // three joined dots
void DrawFormSheet(NodeCanvas& canvas, int left, int top, int right, int bottom);
void DrawEnvelope(NodeCanvas& canvas, int left, int top, int right, int bottom);

// Badges at the lower left corner, drawn over everything.
void DrawExclamationBadge(NodeCanvas& canvas);
void DrawShortcutBadge(NodeCanvas& canvas);
