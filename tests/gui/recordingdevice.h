#pragma once
// A paint device that records what is drawn on it instead of drawing: lines with
// their pens, texts, images, rectangles and filled polygons. At 100 dots per inch
// one device pixel is one logical unit, so records read in drawing units.

#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPolygonF>
#include <QTextItem>
#include <map>
#include <vector>

namespace viewtest {

class RecordingEngine : public QPaintEngine {
 public:
  struct Line {
    QLineF line;
    QPen pen;
  };
  struct Shape {
    QPolygonF points;
    QPen pen;
    QBrush brush;
  };
  struct Image {
    QRectF target;
    QImage image;
  };

  std::vector<Line> lines;
  std::vector<QString> texts;
  std::vector<QPointF> textOrigins;  // the baseline's start of each text
  std::vector<Image> images;
  std::vector<Shape> rects;
  std::vector<Shape> polygons;

  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & DirtyPen) pen_ = state.pen();
    if (state.state() & DirtyBrush) brush_ = state.brush();
  }
  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF&) override {
    images.push_back({r, pm.toImage()});
  }
  void drawImage(const QRectF& r, const QImage& image, const QRectF&,
                 Qt::ImageConversionFlags) override {
    images.push_back({r, image});
  }
  // The integer overloads of QPaintEngine hand over to these.
  void drawLines(const QLineF* l, int count) override {
    for (int i = 0; i < count; ++i) lines.push_back({l[i], pen_});
  }
  void drawRects(const QRectF* r, int count) override {
    for (int i = 0; i < count; ++i) rects.push_back({QPolygonF(r[i]), pen_, brush_});
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
    polygons.push_back({QPolygonF(QList<QPointF>(points, points + count)), pen_, brush_});
  }
  void drawPath(const QPainterPath&) override {}
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    texts.push_back(item.text());
    textOrigins.push_back(p);
  }

 private:
  QPen pen_;
  QBrush brush_;
};

class RecordingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine_; }
  RecordingEngine& Records() const { return engine_; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    if (m == PdmDevicePixelRatioScaled) return static_cast<int>(devicePixelRatioFScale());
    static const std::map<PaintDeviceMetric, int> kMetrics = {
        {PdmWidth, 2100},           {PdmHeight, 3000},       {PdmWidthMM, 533},
        {PdmHeightMM, 762},         {PdmDpiX, 100},          {PdmDpiY, 100},
        {PdmPhysicalDpiX, 100},     {PdmPhysicalDpiY, 100},  {PdmDepth, 32},
        {PdmNumColors, 0x7fffffff}, {PdmDevicePixelRatio, 1}};
    const auto it = kMetrics.find(m);
    return it == kMetrics.end() ? 0 : it->second;
  }

 private:
  mutable RecordingEngine engine_;
};

}  // namespace viewtest
