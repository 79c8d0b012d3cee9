// The node pictures and the device-independent bitmaps that hold them: their
// format, their looks, a picture that fails, and the refusal of bytes that are no bitmap.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QSet>
#include <QtEndian>

#include "app/ui/dib.h"
#include "app/ui/nodebitmaps.h"
#include "app/ui/nodecanvas.h"
#include "app/ui/nodepictures.h"
#include "common/headlessservices.h"
#include "sheetfixture.h"

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
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          (InBadgeCorner(x, y) ? cornerDifferences : otherDifferences) +=
              a.pixel(x, y) != b.pixel(x, y);
      EXPECT_GT(cornerDifferences, 40);
      EXPECT_EQ(otherDifferences, 0);
    }
  }
  // Picture 14 carries the shortcut badge, not the exclamation mark of picture 12.
  EXPECT_NE(bitmaps.Image(CNodeBitmaps::kTableA, 14), bitmaps.Image(CNodeBitmaps::kTableA, 12));
}

TEST_F(NodeBitmapsTest, APictureThatCannotBeAttachedIsReportedAndLeavesOnlyItsOwnPlaceEmpty) {
  CNodeBitmaps partial;
  partial.Load(services, [](int index, bool selected) {
    return index == 4 && selected ? QImage() : DrawNodePicture(index, selected);
  });
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "DIB AttachMemory failed!");
  EXPECT_EQ(partial.Get(CNodeBitmaps::kTableB, 4), nullptr);
  for (int index : {3, 5, 14})
    EXPECT_EQ(partial.Image(CNodeBitmaps::kTableB, index),
              bitmaps.Image(CNodeBitmaps::kTableB, index));
  EXPECT_EQ(partial.Image(CNodeBitmaps::kTableA, 4), bitmaps.Image(CNodeBitmaps::kTableA, 4));

  partial.Clear();
  EXPECT_EQ(partial.Get(CNodeBitmaps::kTableA, 0), nullptr);
}

// Reading and attaching bitmaps from bytes serve no caller but the tests; what is
// kept of them checks that bytes which are no bitmap are refused, reported and
// leave the picture as it was.
TEST_F(NodeBitmapsTest, DibRefusesDamagedOrForeignBytesAndKeepsThePicture) {
  QBuffer written;
  ASSERT_TRUE(written.open(QIODevice::WriteOnly) &&
              bitmaps.Get(CNodeBitmaps::kTableA, 0)->Write(services, written));
  const QByteArray good = written.data();
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
    velk::HeadlessServices reading;
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    CDib dib(QSize(2, 2), 8);
    EXPECT_FALSE(dib.Read(reading, file));
    EXPECT_EQ(sheettest::Texts(reading), std::vector<std::string>{"Lesefehler"});
    EXPECT_EQ(std::pair(dib.GetDimensions(), dib.GetBitCount()), std::pair(QSize(2, 2), 8));
  }
  CDib dib(QSize(2, 2), 8);
  const QByteArray garbage("not a packed bitmap at all, just some text of sufficient length");
  EXPECT_FALSE(dib.AttachMemory(services, garbage.constData(), std::size_t(garbage.size())));
  EXPECT_FALSE(dib.AttachMemory(services, nullptr, 100));
  EXPECT_FALSE(dib.AttachMemory(services, good.constData() + 14, 10));
  EXPECT_EQ(sheettest::Texts(services), std::vector<std::string>(3, "Fehler in AttachMemory"));
  EXPECT_EQ(std::pair(dib.GetDimensions(), dib.GetBitCount()), std::pair(QSize(2, 2), 8));
}

}  // namespace
