#include "app/ui/nodecanvas.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

const QVector<QRgb>& VgaPalette() {
  static const QVector<QRgb> palette = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return palette;
}

QRgb VgaRgb(Vga colour) {
  return VgaPalette()[static_cast<int>(colour)];
}

PixelShape EllipseShape(double cx, double cy, double rx, double ry) {
  return [=](int x, int y) {
    const double dx = (x + 0.5 - cx) / rx;
    const double dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

PixelShape RectShape(int left, int top, int right, int bottom) {
  return [=](int x, int y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

PixelShape PolygonShape(const QPolygonF& polygon) {
  return [=](int x, int y) {
    return polygon.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill);
  };
}

PixelShape OctagonShape(int left, int top, int right, int bottom, int cut) {
  return [=](int x, int y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    const int dx = std::min(x - left, right - x);
    const int dy = std::min(y - top, bottom - y);
    return dx + dy >= cut;
  };
}

PixelShape UnionShape(PixelShape a, PixelShape b) {
  return [=](int x, int y) { return a(x, y) || b(x, y); };
}

PixelShape IntersectShape(PixelShape a, PixelShape b) {
  return [=](int x, int y) { return a(x, y) && b(x, y); };
}

PixelShape SegmentShape(QPointF from, QPointF to, double halfWidth) {
  return [=](int x, int y) {
    const QPointF p(x + 0.5, y + 0.5);
    const QPointF d = to - from;
    const double lengthSquared = QPointF::dotProduct(d, d);
    const double t = lengthSquared > 0
                         ? std::clamp(QPointF::dotProduct(p - from, d) / lengthSquared, 0.0, 1.0)
                         : 0.0;
    return QLineF(p, from + d * t).length() <= halfWidth;
  };
}

NodeCanvas::NodeCanvas() : m_image(kSize, kSize, QImage::Format_RGB32) {
  m_image.fill(VgaRgb(Vga::White));
}

void NodeCanvas::Pixel(int x, int y, Vga colour) {
  if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
  m_body.reset(y * kSize + x);
  m_image.setPixel(x, y, VgaRgb(colour));
}

void NodeCanvas::Paint(int x, int y, Vga colour) {
  m_image.setPixel(x, y, VgaRgb(colour));
}

void NodeCanvas::MarkBody(Vga colour) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (At(x, y) == colour) m_body.set(y * kSize + x);
    }
  }
}

void NodeCanvas::DitherBody(Vga colour) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if ((x + y) % 2 == 0 && m_body.test(y * kSize + x)) Paint(x, y, colour);
    }
  }
}

namespace {

// A shape evaluated once for every pixel and a one-pixel margin around the picture,
// so that the neighbourhood tests below do not re-run the shape's geometry.
class ShapeMask {
 public:
  explicit ShapeMask(const PixelShape& shape) {
    for (int y = -1; y <= NodeCanvas::kSize; ++y) {
      for (int x = -1; x <= NodeCanvas::kSize; ++x) m_bits[Bit(x, y)] = shape(x, y);
    }
  }
  bool Inside(int x, int y) const {
    return x >= -1 && y >= -1 && x <= NodeCanvas::kSize && y <= NodeCanvas::kSize &&
           m_bits[Bit(x, y)];
  }
  // Inside, with a neighbour outside.
  bool OnBorder(int x, int y) const {
    return Inside(x, y) &&
           !(Inside(x - 1, y) && Inside(x + 1, y) && Inside(x, y - 1) && Inside(x, y + 1));
  }

 private:
  static constexpr int kSide = NodeCanvas::kSize + 2;
  static int Bit(int x, int y) { return (y + 1) * kSide + x + 1; }
  std::bitset<kSide * kSide> m_bits;
};

}  // namespace

void NodeCanvas::Halo(const PixelShape& shape, Vga colour) {
  const ShapeMask mask(shape);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!m_body.test(y * kSize + x)) continue;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy) {
        for (int dx = -1; dx <= 1 && !near; ++dx) near = mask.Inside(x + dx, y + dy);
      }
      if (near) Paint(x, y, colour);
    }
  }
}

Vga NodeCanvas::At(int x, int y) const {
  return static_cast<Vga>(VgaPalette().indexOf(m_image.pixel(x, y)));
}

void NodeCanvas::Fill(const PixelShape& shape, Vga fill, Vga outline) {
  const ShapeMask mask(shape);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (mask.Inside(x, y)) Pixel(x, y, mask.OnBorder(x, y) ? outline : fill);
    }
  }
}

void NodeCanvas::Bevel(const PixelShape& shape, Vga light, Vga shade) {
  const ShapeMask mask(shape);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!mask.Inside(x, y) || mask.OnBorder(x, y)) continue;
      if (mask.OnBorder(x, y - 1) || mask.OnBorder(x - 1, y)) {
        Pixel(x, y, light);
      } else if (mask.OnBorder(x, y + 1) || mask.OnBorder(x + 1, y)) {
        Pixel(x, y, shade);
      }
    }
  }
}

void NodeCanvas::Stamp(int x, int y, std::initializer_list<const char*> rows,
                       std::initializer_list<std::pair<char, Vga>> colours) {
  int row = 0;
  for (const char* line : rows) {
    for (int col = 0; line[col] != '\0'; ++col) {
      for (const auto& [key, colour] : colours) {
        if (line[col] == key) Pixel(x + col, y + row, colour);
      }
    }
    ++row;
  }
}

QImage NodeCanvas::ToIndexed() const {
  QImage indexed(kSize, kSize, QImage::Format_Indexed8);
  indexed.setColorTable(VgaPalette());
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int index = VgaPalette().indexOf(m_image.pixel(x, y));
      indexed.setPixel(x, y, uint(index < 0 ? 0 : index));
    }
  }
  return indexed;
}
