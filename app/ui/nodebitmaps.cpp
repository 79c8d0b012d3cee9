#include "app/ui/nodebitmaps.h"

#include <QRectF>

#include "app/ui/nodepictures.h"
#include "common/services.h"

static_assert(CNodeBitmaps::kCount == kNodePictureCount);

const std::array<int, CNodeBitmaps::kCount>& CNodeBitmaps::ResourceIds(Table table) {
  static constexpr std::array<int, kCount> kTableAIds = {149, 139, 138, 151, 154, 203, 208, 209,
                                                         207, 210, 205, 222, 223, 224, 281};
  static constexpr std::array<int, kCount> kTableBIds = {226, 227, 230, 228, 229, 240, 239, 235,
                                                         237, 231, 253, 233, 238, 232, 282};
  return table == kTableB ? kTableBIds : kTableAIds;
}

bool CNodeBitmaps::FindResource(int resourceId, Table& table, int& index) {
  for (Table t : {kTableA, kTableB}) {
    const auto& ids = ResourceIds(t);
    for (int i = 0; i < kCount; ++i) {
      if (ids[i] == resourceId) {
        table = t;
        index = i;
        return true;
      }
    }
  }
  return false;
}

void CNodeBitmaps::Load(velk::Services& services, const Source& source) {
  const Source draw = source ? source : Source(DrawNodePicture);
  for (Table table : {kTableA, kTableB}) {
    for (int index = 0; index < kCount; ++index) {
      CDib& dib = m_tables[table][index];
      dib.Empty();
      if (!dib.AttachImage(draw(index, table == kTableB))) {
        services.messageBox("DIB AttachMemory failed!", velk::MsgIcon::Exclamation,
                            velk::MsgButtons::Ok);
      }
    }
  }
}

void CNodeBitmaps::Clear() {
  for (auto& table : m_tables) {
    for (CDib& dib : table) dib.Empty();
  }
}

const CDib* CNodeBitmaps::Get(Table table, int index) const {
  if ((table != kTableA && table != kTableB) || index < 0 || index >= kCount) return nullptr;
  const CDib& dib = m_tables[table][index];
  return dib.IsEmpty() ? nullptr : &dib;
}

const CDib* CNodeBitmaps::GetByResource(int resourceId) const {
  Table table;
  int index;
  return FindResource(resourceId, table, index) ? Get(table, index) : nullptr;
}

QImage CNodeBitmaps::Image(Table table, int index) const {
  const CDib* dib = Get(table, index);
  return dib ? dib->GetImage() : QImage();
}

QImage CNodeBitmaps::ImageByResource(int resourceId) const {
  const CDib* dib = GetByResource(resourceId);
  return dib ? dib->GetImage() : QImage();
}

QPixmap CNodeBitmaps::Pixmap(Table table, int index) const {
  const CDib* dib = Get(table, index);
  return dib ? QPixmap::fromImage(dib->GetImage()) : QPixmap();
}

void CNodeBitmaps::Draw(QPainter& painter, const QRectF& rect, int index, bool selected) const {
  if (const CDib* dib = Get(selected ? kTableB : kTableA, index)) dib->Draw(painter, rect);
}
