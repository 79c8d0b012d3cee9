#include "dialogs/ui/chooserimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

void DrawFolder(QPainter& p, bool open) {
  p.setPen(QColor(128, 96, 0));
  p.setBrush(QColor(240, 200, 80));
  p.drawRect(QRectF(1.5, 4.5, 13, 10));
  p.drawRect(QRectF(1.5, 2.5, 5, 2));
  if (open) {
    p.setBrush(QColor(255, 230, 140));
    p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 14.5}, {1.5, 14.5}}));
  }
}

// A sheet with a folded corner, tinted by status.
void DrawSheet(QPainter& p, const QColor& tint) {
  QPainterPath sheet;
  sheet.moveTo(3.5, 1.5);
  sheet.lineTo(10.5, 1.5);
  sheet.lineTo(13.5, 4.5);
  sheet.lineTo(13.5, 14.5);
  sheet.lineTo(3.5, 14.5);
  sheet.closeSubpath();
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
  p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
  p.setPen(QPen(tint, 1));
  for (double y : {6.5, 8.5, 10.5}) p.drawLine(QPointF(5, y), QPointF(11, y));
}

// The status mark in the lower right corner.
void DrawMark(QPainter& p, int status) {
  p.setRenderHint(QPainter::Antialiasing, true);
  switch (status) {
    case 0:  // Design: a pencil stroke
      p.setPen(QPen(QColor(0, 0, 200), 2));
      p.drawLine(QPointF(9, 15), QPointF(15, 9));
      break;
    case 1:  // Active: a green running mark
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 160, 0));
      p.drawPolygon(QPolygonF({{9, 9}, {15.5, 12.5}, {9, 16}}));
      break;
    case 2:  // Freeze: an ice-blue crystal
      p.setPen(QPen(QColor(0, 150, 220), 1.4));
      p.drawLine(QPointF(12, 8.5), QPointF(12, 15.5));
      p.drawLine(QPointF(9, 10), QPointF(15, 14));
      p.drawLine(QPointF(9, 14), QPointF(15, 10));
      break;
    case 3:  // Template: a purple stamp
      p.setPen(QPen(QColor(130, 0, 160), 1.2));
      p.setBrush(QColor(210, 160, 230));
      p.drawEllipse(QRectF(9, 9, 6.5, 6.5));
      break;
    case 4:  // Testing: an orange flask
      p.setPen(QPen(QColor(200, 90, 0), 1.2));
      p.setBrush(QColor(255, 170, 60));
      p.drawPolygon(
          QPolygonF({{11, 8.5}, {13, 8.5}, {13, 11}, {15.5, 15.5}, {8.5, 15.5}, {11, 11}}));
      break;
    default:
      break;
  }
}

}  // namespace

QPixmap ChooserPixmap(int index) {
  if (index < 0 || index >= kChooserImageCount) return {};
  QPixmap image(kChooserImageSize);
  image.fill(Qt::transparent);
  QPainter p(&image);
  if (index < 2) {
    DrawFolder(p, index == 1);
  } else {
    static const QColor tints[] = {QColor(0, 0, 200), QColor(0, 140, 0), QColor(0, 150, 220),
                                   QColor(130, 0, 160), QColor(200, 90, 0)};
    DrawSheet(p, tints[index - 2]);
    DrawMark(p, index - 2);
  }
  return image;
}

QIcon ChooserCategoryIcon() {
  QIcon icon(ChooserPixmap(0));
  icon.addPixmap(ChooserPixmap(1), QIcon::Selected);
  return icon;
}

QIcon ChooserVersionIcon(int index) {
  QIcon icon(ChooserPixmap(index));
  icon.addPixmap(ChooserPixmap(index), QIcon::Selected);
  return icon;
}
