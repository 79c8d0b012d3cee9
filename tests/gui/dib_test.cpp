#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>

#include "app/ui/dib.h"
#include "common/headlessservices.h"

namespace {

std::vector<std::string> Texts(velk::HeadlessServices& services) {
  std::vector<std::string> texts;
  for (const auto& message : services.messages) texts.push_back(message.text);
  return texts;
}

QByteArray WriteToBytes(velk::Services& services, const CDib& dib) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(dib.Write(services, buffer));
  return buffer.data();
}

bool ReadFromBytes(velk::Services& services, CDib& dib, const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return dib.Read(services, buffer);
}

// A picture of the given depth whose pixels differ along both axes.
CDib Pattern(int width, int height, int bitCount) {
  QImage image;
  if (bitCount == 24) {
    image = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        image.setPixel(x, y, qRgb(x * 40 % 256, y * 70 % 256, (x + y) * 9 % 256));
  } else {
    const int colours = 1 << bitCount;
    image = QImage(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i) table << qRgb(i, 255 - i, i * 7 % 256);
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.setPixel(x, y, uint((x * 3 + y * 5) % colours));
  }
  CDib dib;
  EXPECT_TRUE(dib.AttachImage(image));
  return dib;
}

bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

TEST(DibTest, WrittenBitmapsReadBackWithTheirDepthPaletteAndPixels) {
  struct Case {
    int width, height, bitCount;
  };
  // Odd widths exercise the padding of rows to four bytes.
  for (const Case c :
       {Case{32, 32, 4}, Case{13, 3, 1}, Case{7, 5, 4}, Case{9, 2, 8}, Case{5, 3, 24}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bitCount);
    velk::HeadlessServices services;
    const CDib original = Pattern(c.width, c.height, c.bitCount);
    ASSERT_EQ(original.GetBitCount(), c.bitCount);
    const QByteArray bytes = WriteToBytes(services, original);
    ASSERT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
    CDib copy;
    ASSERT_TRUE(ReadFromBytes(services, copy, bytes));
    EXPECT_EQ(copy.GetBitCount(), c.bitCount);
    EXPECT_EQ(copy.GetColorTable(), original.GetColorTable());
    EXPECT_TRUE(SamePixels(copy.GetImage(), original.GetImage()));
    EXPECT_TRUE(services.messages.empty());
  }
}

TEST(DibTest, PackedBitmapInMemoryAttachesAndItsCallerKeepsTheMemory) {
  velk::HeadlessServices services;
  const CDib original = Pattern(6, 4, 4);
  QByteArray packed = WriteToBytes(services, original).mid(14);
  CDib dib;
  ASSERT_TRUE(dib.AttachMemory(services, packed.constData(), std::size_t(packed.size())));
  packed.fill('\0');  // the bitmap owns a copy
  EXPECT_TRUE(SamePixels(dib.GetImage(), original.GetImage()));

  const QByteArray garbage("not a packed bitmap at all, just some text of sufficient length");
  EXPECT_FALSE(dib.AttachMemory(services, garbage.constData(), std::size_t(garbage.size())));
  EXPECT_FALSE(dib.AttachMemory(services, nullptr, 100));
  EXPECT_FALSE(dib.AttachMemory(services, packed.constData(), 10));
  EXPECT_EQ(Texts(services), std::vector<std::string>(3, "Fehler in AttachMemory"));
  EXPECT_TRUE(SamePixels(dib.GetImage(), original.GetImage()))
      << "a failed attach keeps the picture";
}

TEST(DibTest, DamagedOrForeignFilesAreReadFailuresThatKeepThePicture) {
  velk::HeadlessServices writing;
  const QByteArray good = WriteToBytes(writing, Pattern(8, 8, 4));
  auto patched = [&](int at, quint32 value) {
    QByteArray bytes = good;
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
  };
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty file", QByteArray()},
      {"text file", QByteArray("Hello, this is not a bitmap but a plain text file.\n")},
      {"short info header", good.left(30)},
      {"wrong type", QByteArray("MB") + good.mid(2)},
      {"PNG image", QByteArray::fromHex("89504E470D0A1A0A0000000D49484452") + good.mid(16)},
      {"truncated bits", good.left(good.size() - 1)},
      {"bits offset past the end", patched(10, quint32(good.size() + 10))},
      {"bits offset inside the colour table", patched(10, 14 + 40 + 8)},
      {"zero width", patched(18, 0)},
      {"absurd size", patched(18, 0x7fffffff)},
      {"unknown compression", patched(30, 7)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    velk::HeadlessServices services;
    CDib dib(QSize(2, 2), 8);
    EXPECT_FALSE(ReadFromBytes(services, dib, bytes));
    EXPECT_EQ(Texts(services), std::vector<std::string>{"Lesefehler"});
    EXPECT_EQ(dib.GetDimensions(), QSize(2, 2));
    EXPECT_EQ(dib.GetBitCount(), 8);
  }
}

TEST(DibTest, TopDownBitmapsAndQtWrittenBitmapsAreRead) {
  velk::HeadlessServices services;
  const CDib original = Pattern(3, 2, 24);
  QByteArray topDown = WriteToBytes(services, original);
  qToLittleEndian(quint32(-2), topDown.data() + 22);
  CDib flipped;
  ASSERT_TRUE(ReadFromBytes(services, flipped, topDown));
  EXPECT_TRUE(SamePixels(flipped.GetImage(), original.GetImage().mirrored(false, true)));

  QByteArray qtBytes;
  QBuffer qtBuffer(&qtBytes);
  qtBuffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(original.GetImage().save(&qtBuffer, "BMP"));
  CDib fromQt;
  ASSERT_TRUE(ReadFromBytes(services, fromQt, qtBytes));
  EXPECT_TRUE(SamePixels(fromQt.GetImage(), original.GetImage()));
  EXPECT_TRUE(services.messages.empty());
}

TEST(DibTest, WriteFailuresAreReported) {
  velk::HeadlessServices services;
  QBuffer readOnly;
  readOnly.setData("x");
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_FALSE(Pattern(4, 4, 4).Write(services, readOnly));
  QBuffer closed;
  EXPECT_FALSE(Pattern(4, 4, 4).Write(services, closed));
  QBuffer open;
  open.open(QIODevice::WriteOnly);
  EXPECT_FALSE(CDib().Write(services, open)) << "nothing to write";
  EXPECT_EQ(Texts(services), std::vector<std::string>(3, "Fehler beim Schreiben"));
}

TEST(DibTest, BlankBitmapHasABlackPaletteOfItsDepth) {
  const CDib four(QSize(3, 2), 4);
  EXPECT_EQ(four.GetDimensions(), QSize(3, 2));
  EXPECT_EQ(four.GetBitCount(), 4);
  EXPECT_EQ(four.GetColorTable(), QVector<QRgb>(16, qRgb(0, 0, 0)));
  EXPECT_EQ(CDib(QSize(3, 2), 24).GetBitCount(), 24);
  for (int bad : {0, 2, 16, 32}) EXPECT_TRUE(CDib(QSize(3, 2), bad).IsEmpty()) << bad;
  EXPECT_TRUE(CDib(QSize(0, 2), 4).IsEmpty());
}

}  // namespace
