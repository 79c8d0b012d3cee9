#pragma once
// A device-independent bitmap: info header, colour table and pixel bits, held as a
// QImage. Indexed pictures (1, 4 or 8 bits) keep their colour table and bit count, so
// a 16-colour picture is written back as 16 colours.

#include <QImage>
#include <QSize>
#include <QVector>
#include <cstddef>

namespace velk {
class Services;
}

class QIODevice;
class QPainter;
class QRectF;

class CDib {
 public:
  CDib() = default;
  // A blank picture: every pixel colour 0, a black colour table for indexed depths.
  // bitCount is 1, 4, 8 or 24; any other value leaves the bitmap empty.
  CDib(QSize size, int bitCount);

  // Copies a packed bitmap (info header, colour table, bits) such as a loaded bitmap
  // resource; the caller keeps its memory. Reports "Fehler in AttachMemory".
  bool AttachMemory(velk::Services& services, const void* data, std::size_t size);
  // Takes a picture drawn in memory; an indexed image keeps its colour table and gets
  // the smallest bit count that holds it. Silent: false for a null image.
  bool AttachImage(const QImage& image);

  // A bitmap file: the 14-byte file header of type "BM", then the packed bitmap.
  // Reports "Lesefehler" and keeps the previous picture on failure.
  bool Read(velk::Services& services, QIODevice& file);
  // Reports "Fehler beim Schreiben".
  bool Write(velk::Services& services, QIODevice& file) const;

  // Stretched into `target`; pixels are copied as they are, without smoothing.
  void Draw(QPainter& painter, const QRectF& target) const;

  void Empty();
  bool IsEmpty() const { return m_image.isNull(); }
  QSize GetDimensions() const { return m_image.size(); }
  int GetBitCount() const { return m_bitCount; }
  // The palette; empty for 24-bit pictures.
  QVector<QRgb> GetColorTable() const { return m_image.colorTable(); }
  const QImage& GetImage() const { return m_image; }

 private:
  bool Decode(const QByteArray& bmpFile);

  QImage m_image;  // Format_Indexed8 up to 8 bits, else Format_RGB32
  int m_bitCount = 0;
};
