// The node pictures and the device-independent bitmaps that hold them: their
// format, their looks, drawing, and reading and writing bitmap files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QSet>
#include <QtEndian>

#include "app/ui/dib.h"
#include "app/ui/nodebitmaps.h"
#include "app/ui/nodecanvas.h"
#include "app/ui/nodepictures.h"
#include "common/headlessservices.h"

namespace {

using Table = CNodeBitmaps::Table;

class NodeBitmapsTest : public ::testing::Test {
 protected:
  void SetUp() override { bitmaps.Load(services); }

  velk::HeadlessServices services;
  CNodeBitmaps bitmaps;
};

// The badge corner: a badge covers at most this square at the lower left.
constexpr auto InBadgeCorner = [](int x, int y) { return x < 12 && y >= 20; };

// All thirty pictures are 32 by 32 in the sixteen VGA colours, each its own; the
// selected look is blue over the body and leaves the corner badges clear.
TEST_F(NodeBitmapsTest, ThirtyDistinctVgaPicturesWhoseSelectedLookIsBlueWithClearBadges) {
  const QRgb blue = VgaRgb(Vga::Blue);
  for (int i = 0; i < CNodeBitmaps::kCount; ++i) {
    SCOPED_TRACE(i);
    for (Table table : {CNodeBitmaps::kTableA, CNodeBitmaps::kTableB}) {
      const CDib* dib = bitmaps.Get(table, i);
      ASSERT_NE(dib, nullptr) << "table " << table;
      // The palette being VGA's, so is every pixel.
      EXPECT_EQ(std::tuple(dib->GetDimensions(), dib->GetBitCount(), dib->GetColorTable()),
                std::tuple(QSize(32, 32), 4, VgaPalette()));
      QSet<QRgb> used;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) used.insert(dib->GetImage().pixel(x, y));
      EXPECT_GE(used.size(), 5) << "a picture, not a blank";
    }
    const QImage plain = bitmaps.Image(CNodeBitmaps::kTableA, i);
    const QImage selected = bitmaps.Image(CNodeBitmaps::kTableB, i);
    for (int j = 0; j < i; ++j) EXPECT_NE(plain, bitmaps.Image(CNodeBitmaps::kTableA, j)) << j;
    int plainBlue = 0, selectedBlue = 0, badgeChanges = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QRgb p = plain.pixel(x, y);
        plainBlue += p == blue;
        selectedBlue += selected.pixel(x, y) == blue;
        const bool badgePixel = p == VgaRgb(Vga::Red) || p == VgaRgb(Vga::Maroon);
        badgeChanges += i >= 11 && InBadgeCorner(x, y) && badgePixel && selected.pixel(x, y) != p;
      }
    }
    EXPECT_GT(selectedBlue, plainBlue + 60) << "the checkerboard covers the body";
    EXPECT_EQ(badgeChanges, 0);
  }
  for (int bad : {-1, 15}) EXPECT_EQ(bitmaps.Get(CNodeBitmaps::kTableA, bad), nullptr);
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(NodeBitmapsTest, BadgedPicturesAreTheirBasePictureWithACornerBadge) {
  const std::pair<int, int> badged[] = {{11, 3}, {12, 8}, {13, 9}, {14, 8}};
  for (Table table : {CNodeBitmaps::kTableA, CNodeBitmaps::kTableB}) {
    for (auto [withBadge, base] : badged) {
      SCOPED_TRACE(testing::Message() << "table " << table << " picture " << withBadge);
      const QImage a = bitmaps.Image(table, withBadge);
      const QImage b = bitmaps.Image(table, base);
      int cornerDifferences = 0, otherDifferences = 0;
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          const bool differs = a.pixel(x, y) != b.pixel(x, y);
          (InBadgeCorner(x, y) ? cornerDifferences : otherDifferences) += differs;
        }
      }
      EXPECT_GT(cornerDifferences, 40);
      EXPECT_EQ(otherDifferences, 0);
    }
  }
  // Picture 14 carries the shortcut badge, not the exclamation mark of picture 12.
  EXPECT_NE(bitmaps.Image(CNodeBitmaps::kTableA, 14), bitmaps.Image(CNodeBitmaps::kTableA, 12));
}

TEST_F(NodeBitmapsTest, DrawStretchesThePictureOfTheSelectionStateWithoutSmoothing) {
  const auto drawn = [this](int picture, bool selected) {
    QImage target(34, 34, QImage::Format_RGB32);
    target.fill(Qt::magenta);
    QPainter painter(&target);
    bitmaps.Draw(painter, QRectF(0, 0, 34, 34), picture, selected);
    return target;
  };
  for (bool selected : {false, true}) {
    const QImage target = drawn(7, selected);
    const QImage expected =
        bitmaps.Image(selected ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA, 7)
            .convertToFormat(QImage::Format_RGB32)
            .scaled(34, 34, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int mismatches = 0;
    for (int y = 0; y < 34; ++y) {
      for (int x = 0; x < 34; ++x) {
        EXPECT_TRUE(VgaPalette().contains(target.pixel(x, y))) << x << "," << y;
        mismatches += target.pixel(x, y) != expected.pixel(x, y);
      }
    }
    // Nearest-neighbour sampling may pick the neighbouring source column at a seam.
    EXPECT_LT(mismatches, 34 * 4) << "selected " << selected;
  }
  EXPECT_EQ(drawn(15, false).pixel(17, 17), QColor(Qt::magenta).rgb())
      << "unknown picture draws nothing";
}

TEST_F(NodeBitmapsTest, APictureThatCannotBeAttachedIsReportedAndLeavesOnlyItsOwnPlaceEmpty) {
  CNodeBitmaps partial;
  partial.Load(services, [](int index, bool selected) {
    return index == 4 && selected ? QImage() : DrawNodePicture(index, selected);
  });
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "DIB AttachMemory failed!");
  EXPECT_EQ(partial.Get(CNodeBitmaps::kTableB, 4), nullptr);
  EXPECT_TRUE(partial.Pixmap(CNodeBitmaps::kTableB, 4).isNull());
  for (int index : {3, 5, 14}) {
    EXPECT_EQ(partial.Image(CNodeBitmaps::kTableB, index),
              bitmaps.Image(CNodeBitmaps::kTableB, index));
  }
  EXPECT_EQ(partial.Image(CNodeBitmaps::kTableA, 4), bitmaps.Image(CNodeBitmaps::kTableA, 4));
  EXPECT_FALSE(partial.Pixmap(CNodeBitmaps::kTableA, 4).isNull());

  partial.Clear();
  EXPECT_EQ(partial.Get(CNodeBitmaps::kTableA, 0), nullptr);
}

std::vector<std::string> Texts(velk::HeadlessServices& services) {
  std::vector<std::string> texts;
  for (const auto& message : services.messages) texts.push_back(message.text);
  return texts;
}

QByteArray WriteToBytes(velk::Services& services, const CDib& dib) {
  QBuffer buffer;
  EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && dib.Write(services, buffer));
  return buffer.data();
}

bool ReadFromBytes(velk::Services& services, CDib& dib, QByteArray bytes) {
  QBuffer buffer(&bytes);
  return buffer.open(QIODevice::ReadOnly) && dib.Read(services, buffer);
}

// A picture of the given depth whose pixels differ along both axes.
CDib Pattern(int width, int height, int bitCount) {
  const int colours = bitCount == 24 ? 256 : 1 << bitCount;
  QImage image(width, height, QImage::Format_Indexed8);
  QVector<QRgb> table;
  for (int i = 0; i < colours; ++i) table << qRgb(i, 255 - i, i * 7 % 256);
  image.setColorTable(table);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, uint((x * 3 + y * 5) % colours));
  CDib dib;
  EXPECT_TRUE(
      dib.AttachImage(bitCount == 24 ? image.convertToFormat(QImage::Format_RGB32) : image));
  return dib;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

TEST(DibTest, WrittenTopDownAndQtWrittenBitmapsReadBackWithTheirDepthPaletteAndPixels) {
  // Width, height and depth; odd widths exercise the padding of rows to four bytes.
  const std::tuple<int, int, int> cases[] = {
      {32, 32, 4}, {13, 3, 1}, {7, 5, 4}, {9, 2, 8}, {5, 3, 24}};
  for (const auto& [width, height, bitCount] : cases) {
    SCOPED_TRACE(testing::Message() << width << "x" << height << "x" << bitCount);
    velk::HeadlessServices services;
    const CDib original = Pattern(width, height, bitCount);
    ASSERT_EQ(original.GetBitCount(), bitCount);
    const QByteArray bytes = WriteToBytes(services, original);
    ASSERT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
    CDib copy;
    ASSERT_TRUE(ReadFromBytes(services, copy, bytes));
    EXPECT_EQ(copy.GetBitCount(), bitCount);
    EXPECT_EQ(copy.GetColorTable(), original.GetColorTable());
    EXPECT_TRUE(SamePixels(copy.GetImage(), original.GetImage()));
    // Bitmaps stored top down, and those Qt writes, read as well.
    QByteArray topDown = bytes;
    qToLittleEndian(-height, topDown.data() + 22);
    ASSERT_TRUE(ReadFromBytes(services, copy, topDown));
    EXPECT_TRUE(SamePixels(copy.GetImage(), original.GetImage().mirrored(false, true)));
    QBuffer qtBuffer;
    qtBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(original.GetImage().save(&qtBuffer, "BMP"));
    ASSERT_TRUE(ReadFromBytes(services, copy, qtBuffer.data()));
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
    EXPECT_EQ(std::pair(dib.GetDimensions(), dib.GetBitCount()), std::pair(QSize(2, 2), 8));
  }
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

}  // namespace
