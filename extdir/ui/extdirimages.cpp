#include "extdir/ui/extdirimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace {

enum class Shape { Globe, Page, Folder, ClosedFolder, Person, Building, Box, Envelope };
enum class Mark { None, ArrowOut, ArrowIn, Pencil, Tick, Cross, Dots, Clock, Star };

struct Picture {
  Shape shape;
  QColor fill;
  Mark mark;
};

const std::array<Picture, kExtDirImageCount>& Pictures() {
  static const std::array<Picture, kExtDirImageCount> pictures = {{
      {Shape::Globe, QColor(70, 130, 220), Mark::ArrowOut},      // 0 published, ordered by us
      {Shape::Globe, QColor(60, 170, 90), Mark::ArrowIn},        // 1 offered, ordered by partners
      {Shape::Page, QColor(250, 230, 120), Mark::Pencil},        // 2 leaf in design
      {Shape::Page, QColor(150, 220, 140), Mark::Tick},          // 3 active leaf
      {Shape::Page, QColor(190, 190, 190), Mark::Cross},         // 4 archived leaf
      {Shape::Page, QColor(150, 190, 240), Mark::Star},          // 5 leaf status 3
      {Shape::Folder, QColor(240, 200, 80), Mark::None},         // 6 branch
      {Shape::Folder, QColor(200, 160, 60), Mark::None},         // 7
      {Shape::ClosedFolder, QColor(230, 180, 70), Mark::Dots},   // 8 leafs not loaded
      {Shape::Page, QColor(230, 230, 250), Mark::None},          // 9
      {Shape::Box, QColor(200, 170, 230), Mark::None},           // 10
      {Shape::Envelope, QColor(240, 240, 200), Mark::None},      // 11
      {Shape::Building, QColor(200, 200, 170), Mark::None},      // 12
      {Shape::Person, QColor(90, 140, 200), Mark::None},         // 13 person
      {Shape::Building, QColor(170, 190, 220), Mark::None},      // 14 registered organisations
      {Shape::Box, QColor(220, 170, 110), Mark::None},           // 15 ordered sub-workflows
      {Shape::Envelope, QColor(150, 210, 240), Mark::Star},      // 16 published and notified
      {Shape::Envelope, QColor(220, 220, 220), Mark::None},      // 17
      {Shape::Envelope, QColor(200, 200, 240), Mark::None},      // 18
      {Shape::Envelope, QColor(250, 240, 170), Mark::Pencil},    // 19 created
      {Shape::Envelope, QColor(160, 225, 150), Mark::Tick},      // 20 performed
      {Shape::Envelope, QColor(250, 210, 130), Mark::Clock},     // 21 submitted
      {Shape::Envelope, QColor(235, 150, 150), Mark::Cross},     // 22 denied, canceled, expired
      {Shape::Box, QColor(180, 220, 200), Mark::None},           // 23
  }};
  return pictures;
}

void DrawShape(QPainter& p, const Picture& pic) {
  p.setPen(QPen(pic.fill.darker(170), 1));
  p.setBrush(pic.fill);
  switch (pic.shape) {
    case Shape::Globe:
      p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
      p.drawLine(QPointF(7.5, 1.5), QPointF(7.5, 13.5));
      p.drawLine(QPointF(1.5, 7.5), QPointF(13.5, 7.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(4.5, 1.5, 6, 12));
      break;
    case Shape::Page: {
      QPainterPath page;
      page.moveTo(3.5, 1.5);
      page.lineTo(9.5, 1.5);
      page.lineTo(12.5, 4.5);
      page.lineTo(12.5, 14.5);
      page.lineTo(3.5, 14.5);
      page.closeSubpath();
      p.drawPath(page);
      p.drawLine(QPointF(5.5, 7.5), QPointF(10.5, 7.5));
      p.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 10.5));
      break;
    }
    case Shape::Folder:
    case Shape::ClosedFolder:
      p.drawRect(QRectF(1.5, 4.5, 13, 9));
      p.drawRect(QRectF(1.5, 2.5, 5, 2));
      if (pic.shape == Shape::Folder) {
        p.setBrush(pic.fill.lighter(120));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5),
                                 QPointF(1.5, 13.5)}));
      }
      break;
    case Shape::Person:
      p.drawEllipse(QRectF(5, 1.5, 6, 6));
      p.drawChord(QRectF(2.5, 8.5, 11, 12), 0, 180 * 16);
      break;
    case Shape::Building:
      p.drawRect(QRectF(2.5, 3.5, 11, 11));
      p.setBrush(Qt::white);
      for (int x : {4, 9})
        for (int y : {5, 9}) p.drawRect(QRectF(x + 0.5, y + 0.5, 2, 2));
      break;
    case Shape::Box:
      p.drawRect(QRectF(2.5, 5.5, 11, 9));
      p.drawPolygon(QPolygonF({QPointF(2.5, 5.5), QPointF(5.5, 2.5), QPointF(15.5, 2.5),
                               QPointF(13.5, 5.5)}));
      break;
    case Shape::Envelope:
      p.drawRect(QRectF(1.5, 3.5, 13, 9));
      p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 9), QPointF(14.5, 3.5)}));
      break;
  }
}

void DrawMark(QPainter& p, Mark mark) {
  QPen pen(QColor(30, 30, 30), 1.6);
  p.setBrush(Qt::NoBrush);
  switch (mark) {
    case Mark::None:
      return;
    case Mark::ArrowOut:
    case Mark::ArrowIn: {
      pen.setColor(mark == Mark::ArrowOut ? QColor(200, 40, 40) : QColor(20, 100, 30));
      p.setPen(pen);
      const bool out = mark == Mark::ArrowOut;
      p.drawLine(QPointF(9, 14), QPointF(15, 8));
      const QPointF tip = out ? QPointF(15, 8) : QPointF(9, 14);
      const double d = out ? -1 : 1;
      p.drawLine(tip, tip + QPointF(d * 4, 0));
      p.drawLine(tip, tip + QPointF(0, -d * 4));
      return;
    }
    case Mark::Pencil:
      pen.setColor(QColor(160, 90, 20));
      pen.setWidthF(2);
      p.setPen(pen);
      p.drawLine(QPointF(9, 15), QPointF(15, 9));
      return;
    case Mark::Tick:
      pen.setColor(QColor(20, 120, 20));
      pen.setWidthF(2);
      p.setPen(pen);
      p.drawPolyline(QPolygonF({QPointF(8, 12), QPointF(10.5, 14.5), QPointF(15, 8.5)}));
      return;
    case Mark::Cross:
      pen.setColor(QColor(190, 20, 20));
      pen.setWidthF(2);
      p.setPen(pen);
      p.drawLine(QPointF(9, 9), QPointF(15, 15));
      p.drawLine(QPointF(15, 9), QPointF(9, 15));
      return;
    case Mark::Dots:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 60, 60));
      for (int x : {5, 8, 11}) p.drawEllipse(QRectF(x - 0.5, 8.5, 2, 2));
      return;
    case Mark::Clock:
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
      p.drawLine(QPointF(12, 12), QPointF(12, 9.5));
      p.drawLine(QPointF(12, 12), QPointF(14, 12));
      return;
    case Mark::Star:
      p.setPen(QPen(QColor(170, 120, 0), 1));
      p.setBrush(QColor(255, 210, 0));
      p.drawPolygon(QPolygonF({QPointF(12, 8), QPointF(13.2, 10.8), QPointF(16, 11),
                               QPointF(13.8, 12.8), QPointF(14.5, 15.5), QPointF(12, 14),
                               QPointF(9.5, 15.5), QPointF(10.2, 12.8), QPointF(8, 11),
                               QPointF(10.8, 10.8)}));
      return;
  }
}

QPixmap Draw(const Picture& pic) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawShape(p, pic);
  DrawMark(p, pic.mark);
  return pixmap;
}

}  // namespace

QIcon ExtDirImage(int index) {
  static std::array<QIcon, kExtDirImageCount> icons;
  if (index < 0 || index >= kExtDirImageCount) return {};
  if (icons[index].isNull()) icons[index] = QIcon(Draw(Pictures()[index]));
  return icons[index];
}
