#include "app/ui/dib.h"

#include <QIODevice>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/services.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr quint16 kTypeBM = 0x4D42;
// Larger pictures are taken for damaged or hostile files rather than node pictures.
constexpr qint64 kMaxPixels = qint64(1) << 26;

enum Compression : quint32 { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct InfoHeader {
  quint32 size = 0;
  qint32 width = 0;
  qint32 height = 0;
  quint16 bitCount = 0;
  quint32 compression = 0;
  quint32 sizeImage = 0;
  quint32 clrUsed = 0;
};

quint16 Le16(const QByteArray& b, int at) {
  return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 Le32(const QByteArray& b, int at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
}

void Report(velk::Services& services, const char* text) {
  services.messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
}

qint64 RowBytes(qint64 width, int bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

// Bytes between the end of the info header and the first pixel byte at the least.
qint64 TableBytes(const InfoHeader& h) {
  qint64 masks = (h.compression == kBitFields && h.size == kInfoHeaderSize) ? 12 : 0;
  qint64 colours = h.clrUsed != 0 ? h.clrUsed : (h.bitCount <= 8 ? (1 << h.bitCount) : 0);
  return masks + 4 * colours;
}

std::optional<InfoHeader> ParseInfo(const QByteArray& file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
  InfoHeader h;
  const int at = kFileHeaderSize;
  h.size = Le32(file, at);
  h.width = static_cast<qint32>(Le32(file, at + 4));
  h.height = static_cast<qint32>(Le32(file, at + 8));
  h.bitCount = Le16(file, at + 14);
  h.compression = Le32(file, at + 16);
  h.sizeImage = Le32(file, at + 20);
  h.clrUsed = Le32(file, at + 32);
  return h;
}

bool Plausible(const InfoHeader& h) {
  static constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};
  if (h.size < kInfoHeaderSize || h.size > 1024) return false;
  if (std::find(std::begin(kDepths), std::end(kDepths), h.bitCount) == std::end(kDepths))
    return false;
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;
  if (qint64(h.width) * qAbs(qint64(h.height)) > kMaxPixels) return false;
  if (h.bitCount <= 8 && h.clrUsed > (1u << h.bitCount)) return false;
  switch (h.compression) {
    case kRgb:
      return true;
    case kBitFields:
      return h.bitCount == 16 || h.bitCount == 32;
    case kRle8:
      return h.bitCount == 8 && h.height > 0 && h.sizeImage > 0;
    case kRle4:
      return h.bitCount == 4 && h.height > 0 && h.sizeImage > 0;
    default:
      return false;
  }
}

// A whole bitmap file whose headers agree with its length: nothing is read past
// the end, so a truncated file is refused instead of decoded half way.
bool WellFormed(const QByteArray& file) {
  std::optional<InfoHeader> h = ParseInfo(file);
  if (!h || Le16(file, 0) != kTypeBM || !Plausible(*h)) return false;
  const qint64 offBits = Le32(file, 10);
  if (offBits < kFileHeaderSize + h->size + TableBytes(*h)) return false;
  const bool compressed = h->compression == kRle8 || h->compression == kRle4;
  const qint64 bits =
      compressed ? qint64(h->sizeImage) : RowBytes(h->width, h->bitCount) * qAbs(qint64(h->height));
  return offBits + bits <= file.size();
}

// Uncompressed indexed bits, decoded here so that the colour table keeps its order
// and every pixel its index. The file has been checked by WellFormed.
QImage DecodeIndexed(const QByteArray& file, const InfoHeader& h) {
  const int colours = h.clrUsed != 0 ? int(h.clrUsed) : 1 << h.bitCount;
  QVector<QRgb> table;
  for (int i = 0; i < colours; ++i) {
    const quint32 bgr = Le32(file, kFileHeaderSize + int(h.size) + 4 * i);
    table << qRgb(int(bgr >> 16 & 0xff), int(bgr >> 8 & 0xff), int(bgr & 0xff));
  }
  const int height = qAbs(h.height);
  QImage image(h.width, height, QImage::Format_Indexed8);
  image.setColorTable(table);
  const qint64 rowBytes = RowBytes(h.width, h.bitCount);
  const uchar* bits = reinterpret_cast<const uchar*>(file.constData()) + Le32(file, 10);
  const int mask = (1 << h.bitCount) - 1;
  for (int row = 0; row < height; ++row) {
    const uchar* src = bits + rowBytes * row;
    uchar* dst = image.scanLine(h.height > 0 ? height - 1 - row : row);
    for (int x = 0; x < h.width; ++x) {
      const int bit = x * h.bitCount;
      const int index = src[bit / 8] >> (8 - h.bitCount - bit % 8) & mask;
      dst[x] = uchar(index < colours ? index : 0);
    }
  }
  return image;
}

int DepthForColours(int colours) {
  if (colours <= 2) return 1;
  if (colours <= 16) return 4;
  return 8;
}

void PutLe16(QByteArray& b, quint16 v) {
  char raw[2];
  qToLittleEndian(v, raw);
  b.append(raw, 2);
}

void PutLe32(QByteArray& b, quint32 v) {
  char raw[4];
  qToLittleEndian(v, raw);
  b.append(raw, 4);
}

void AppendRow(QByteArray& out, const QImage& image, int y, int bitCount) {
  const qint64 start = out.size();
  if (bitCount == 24) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      out.append(char(qBlue(line[x]))).append(char(qGreen(line[x]))).append(char(qRed(line[x])));
    }
  } else {
    const uchar* line = image.constScanLine(y);
    const int perByte = 8 / bitCount;
    for (int x = 0; x < image.width(); x += perByte) {
      uchar byte = 0;
      for (int i = 0; i < perByte && x + i < image.width(); ++i) {
        byte |= uchar(line[x + i] << (8 - bitCount * (i + 1)));
      }
      out.append(char(byte));
    }
  }
  out.append(QByteArray(RowBytes(image.width(), bitCount) - (out.size() - start), '\0'));
}

QByteArray Encode(const QImage& image, int bitCount) {
  const int colours = bitCount <= 8 ? 1 << bitCount : 0;
  const quint32 offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
  const quint32 bitsSize = quint32(RowBytes(image.width(), bitCount) * image.height());
  QByteArray out;
  out.reserve(int(offBits + bitsSize));
  PutLe16(out, kTypeBM);
  PutLe32(out, offBits + bitsSize);
  PutLe32(out, 0);
  PutLe32(out, offBits);
  for (quint32 v : {quint32(kInfoHeaderSize), quint32(image.width()), quint32(image.height())})
    PutLe32(out, v);
  PutLe16(out, 1);
  PutLe16(out, quint16(bitCount));
  for (quint32 v : {quint32(kRgb), bitsSize, 2835u, 2835u, quint32(colours), 0u}) PutLe32(out, v);
  const QVector<QRgb> table = image.colorTable();
  for (int i = 0; i < colours; ++i) {
    const QRgb c = i < table.size() ? table[i] : 0;
    PutLe32(out, quint32(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16));
  }
  for (int y = image.height() - 1; y >= 0; --y) AppendRow(out, image, y, bitCount);
  return out;
}

}  // namespace

CDib::CDib(QSize size, int bitCount) {
  if (size.isEmpty() || qint64(size.width()) * size.height() > kMaxPixels) return;
  if (bitCount == 24) {
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(Qt::black);
  } else if (bitCount == 1 || bitCount == 4 || bitCount == 8) {
    m_image = QImage(size, QImage::Format_Indexed8);
    m_image.setColorTable(QVector<QRgb>(1 << bitCount, qRgb(0, 0, 0)));
    m_image.fill(0);
  } else {
    return;
  }
  m_bitCount = bitCount;
}

bool CDib::AttachMemory(velk::Services& services, const void* data, std::size_t size) {
  if (data == nullptr || size < std::size_t(kInfoHeaderSize) ||
      size > std::size_t(INT32_MAX - 64)) {
    Report(services, "Fehler in AttachMemory");
    return false;
  }
  // A packed bitmap is a bitmap file without its file header: give it one.
  QByteArray file;
  PutLe16(file, kTypeBM);
  PutLe32(file, quint32(kFileHeaderSize + size));
  PutLe32(file, 0);
  PutLe32(file, 0);  // bits offset, set below once the info header is readable
  file.append(static_cast<const char*>(data), qsizetype(size));
  if (std::optional<InfoHeader> h = ParseInfo(file)) {
    qToLittleEndian(quint32(qMin<qint64>(kFileHeaderSize + h->size + TableBytes(*h), INT32_MAX)),
                    file.data() + 10);
  }
  if (!Decode(file)) {
    Report(services, "Fehler in AttachMemory");
    return false;
  }
  return true;
}

bool CDib::AttachImage(const QImage& image) {
  if (image.isNull()) return false;
  if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
      image.format() == QImage::Format_MonoLSB) {
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    int colours = indexed.colorCount();
    for (int y = 0; y < indexed.height(); ++y) {
      const uchar* line = indexed.constScanLine(y);
      colours = std::max(colours, int(*std::max_element(line, line + indexed.width())) + 1);
    }
    m_bitCount = DepthForColours(colours);
    QVector<QRgb> table = indexed.colorTable();
    table.resize(1 << m_bitCount, qRgb(0, 0, 0));
    indexed.setColorTable(table);
    m_image = indexed;
  } else {
    m_image = image.convertToFormat(QImage::Format_RGB32);
    m_bitCount = 24;
  }
  return true;
}

bool CDib::Decode(const QByteArray& bmpFile) {
  if (!WellFormed(bmpFile)) return false;
  const InfoHeader h = *ParseInfo(bmpFile);
  if (h.bitCount <= 8 && h.compression == kRgb) {
    m_image = DecodeIndexed(bmpFile, h);
    m_bitCount = h.bitCount;
    return true;
  }
  // Compressed and true-colour bitmaps are left to Qt's reader.
  QImage decoded = QImage::fromData(bmpFile, "BMP");
  if (decoded.isNull()) return false;
  if (h.bitCount <= 8) {
    m_image = decoded.convertToFormat(QImage::Format_Indexed8);
    m_bitCount = h.bitCount;
  } else {
    m_image = decoded.convertToFormat(QImage::Format_RGB32);
    m_bitCount = 24;
  }
  return true;
}

bool CDib::Read(velk::Services& services, QIODevice& file) {
  if (!file.isReadable() || !Decode(file.readAll())) {
    Report(services, "Lesefehler");
    return false;
  }
  return true;
}

bool CDib::Write(velk::Services& services, QIODevice& file) const {
  if (IsEmpty() || !file.isWritable()) {
    Report(services, "Fehler beim Schreiben");
    return false;
  }
  const QByteArray bytes = Encode(m_image, m_bitCount);
  if (file.write(bytes) != bytes.size()) {
    Report(services, "Fehler beim Schreiben");
    return false;
  }
  return true;
}

void CDib::Draw(QPainter& painter, const QRectF& target) const {
  if (IsEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, m_image);
  painter.restore();
}

void CDib::Empty() {
  m_image = QImage();
  m_bitCount = 0;
}
