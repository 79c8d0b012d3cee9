#include <gtest/gtest.h>

#include <QPainter>
#include <QSet>

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
bool InBadgeCorner(int x, int y) {
  return x < 12 && y >= 20;
}

// All thirty pictures are 32 by 32 in the sixteen VGA colours, each its own; the
// selected look is blue over the body and leaves the corner badges clear.
TEST_F(NodeBitmapsTest, ThirtyDistinctVgaPicturesWhoseSelectedLookIsBlueWithClearBadges) {
  const QSet<QRgb> vga(VgaPalette().begin(), VgaPalette().end());
  const QRgb blue = VgaRgb(Vga::Blue);
  for (int i = 0; i < CNodeBitmaps::kCount; ++i) {
    SCOPED_TRACE(i);
    for (Table table : {CNodeBitmaps::kTableA, CNodeBitmaps::kTableB}) {
      const CDib* dib = bitmaps.Get(table, i);
      ASSERT_NE(dib, nullptr) << "table " << table;
      EXPECT_EQ(dib->GetDimensions(), QSize(32, 32));
      EXPECT_EQ(dib->GetBitCount(), 4);
      EXPECT_EQ(dib->GetColorTable(), VgaPalette());
      QSet<QRgb> used;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) used.insert(dib->GetImage().pixel(x, y));
      EXPECT_TRUE(vga.contains(used));
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
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(NodeBitmapsTest, ResourceNumbersNameTheirTableAndIndex) {
  struct Case {
    int resource;
    Table table;
    int index;
  };
  const Case cases[] = {{149, CNodeBitmaps::kTableA, 0},
                        {281, CNodeBitmaps::kTableA, 14},
                        {226, CNodeBitmaps::kTableB, 0},
                        {282, CNodeBitmaps::kTableB, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resource);
    Table table;
    int index = -1;
    ASSERT_TRUE(CNodeBitmaps::FindResource(c.resource, table, index));
    EXPECT_EQ(table, c.table);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(bitmaps.GetByResource(c.resource), bitmaps.Get(c.table, c.index));
    EXPECT_EQ(bitmaps.ImageByResource(c.resource), bitmaps.Image(c.table, c.index));
  }
  for (int unknown : {0, 150, 225, 283, -1}) {
    Table table;
    int index;
    EXPECT_FALSE(CNodeBitmaps::FindResource(unknown, table, index)) << unknown;
    EXPECT_EQ(bitmaps.GetByResource(unknown), nullptr);
    EXPECT_TRUE(bitmaps.ImageByResource(unknown).isNull());
  }
  for (int bad : {-1, 15}) EXPECT_EQ(bitmaps.Get(CNodeBitmaps::kTableA, bad), nullptr);
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
  for (bool selected : {false, true}) {
    QImage target(34, 34, QImage::Format_RGB32);
    target.fill(Qt::magenta);
    QPainter painter(&target);
    bitmaps.Draw(painter, QRectF(0, 0, 34, 34), 7, selected);
    painter.end();
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
  QImage untouched(34, 34, QImage::Format_RGB32);
  untouched.fill(Qt::magenta);
  QPainter painter(&untouched);
  bitmaps.Draw(painter, QRectF(0, 0, 34, 34), 15, false);
  painter.end();
  EXPECT_EQ(untouched.pixel(17, 17), QColor(Qt::magenta).rgb()) << "unknown picture draws nothing";
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

}  // namespace
