// The drawing font and the node pictures of the published site, from the
// modeler's own painter and picture tables, so the site draws as the view does.

#include <QBuffer>
#include <QFontMetricsF>
#include <cmath>

#include "app/ui/nodebitmaps.h"
#include "commands.h"
#include "editor/ui/workflowpainter.h"
#include "guistart.h"
#include "publish/publisher.h"

namespace velkcli {

namespace {

// Pixels per unit of the layout font, as the painter lays texts out.
constexpr double kScale = 10.0;

struct GuiParts {
  std::unique_ptr<QGuiApplication> app;
  CNodeBitmaps bitmaps;
  QFont font;
  QFont italic;
};

}  // namespace

velk::PublishTools publishTools(velk::Services& services) {
  auto gui = std::make_shared<GuiParts>();
  gui->app = StartGui();
  gui->bitmaps.Load(services);
  gui->font = CWorkflowPainter::TextFont(kScale, 100.0);
  gui->italic = gui->font;
  gui->italic.setItalic(true);
  const QFontMetricsF metrics(gui->font);
  QFont hundred = gui->font;
  hundred.setPixelSize(100);
  // The CSS font size whose line is as high as the measuring font's.
  const double heightPerSize = QFontMetricsF(hundred).height() / 100.0;

  velk::PublishTools tools;
  tools.font.lineHeight = std::max(1, static_cast<int>(std::lround(metrics.height() / kScale)));
  tools.font.size = metrics.height() / kScale / heightPerSize;
  tools.font.ascent = metrics.ascent() / kScale;
  auto measure = [gui](bool italic) {
    return [gui, italic](std::string_view text) {
      const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
      return QFontMetricsF(italic ? gui->italic : gui->font).horizontalAdvance(s) / kScale;
    };
  };
  tools.font.width = measure(false);
  tools.font.italicWidth = measure(true);
  tools.picturePng = [gui](int index, bool selected) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    gui->bitmaps.Image(selected ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA, index)
        .save(&buffer, "PNG");
    return bytes.toStdString();
  };
  return tools;
}

}  // namespace velkcli
