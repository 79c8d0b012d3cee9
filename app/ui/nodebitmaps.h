#pragma once
// The two tables of node pictures the application owns: table A for unselected
// nodes, table B for selected ones, fifteen pictures each. A node's picture number
// is the index into a table; each picture also has its fixed resource number.

#include <QImage>
#include <QPixmap>
#include <array>
#include <functional>

#include "app/ui/dib.h"

class QPainter;
class QRectF;

class CNodeBitmaps {
 public:
  enum Table { kTableA = 0, kTableB = 1 };
  static constexpr int kCount = 15;
  static constexpr int kSize = 32;

  // Resource numbers of a table in index order.
  static const std::array<int, kCount>& ResourceIds(Table table);
  // Where a resource number lives; false if it is none of the thirty.
  static bool FindResource(int resourceId, Table& table, int& index);

  // Picture source: (index, selected) -> picture; the built-in drawing by default.
  using Source = std::function<QImage(int index, bool selected)>;

  // Fills table A, then table B. A picture that cannot be attached is reported with
  // "DIB AttachMemory failed!" and its place stays empty, so that every other index
  // keeps its own picture.
  void Load(velk::Services& services, const Source& source = {});
  void Clear();

  // nullptr for an unknown index or a picture that failed to load.
  const CDib* Get(Table table, int index) const;
  const CDib* GetByResource(int resourceId) const;
  // Null image / pixmap where Get gives nullptr.
  QImage Image(Table table, int index) const;
  QImage ImageByResource(int resourceId) const;
  QPixmap Pixmap(Table table, int index) const;

  // The node picture stretched to `rect`, from table B when selected; nothing when
  // the picture is missing.
  void Draw(QPainter& painter, const QRectF& rect, int index, bool selected) const;

 private:
  std::array<std::array<CDib, kCount>, 2> m_tables;
};
