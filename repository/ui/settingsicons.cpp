#include "repository/ui/settingsicons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>

// Outside any namespace: the resource's init function is a global one.
static void InitResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(settingsicons);
    return true;
  }();
  (void)done;
}

namespace {

// Drawn at the size asked for, so that small list pictures stay sharp.
QIcon SvgIcon(const QString& file, std::initializer_list<int> sizes) {
  InitResources();
  QSvgRenderer renderer(file);
  QIcon icon;
  for (int size : sizes) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon OpenDatabaseImage(int index) {
  static const std::array<const char*, 4> files = {":/settings/server.svg", ":/settings/folder.svg",
                                                   ":/settings/template.svg",
                                                   ":/settings/database.svg"};
  if (index < 0 || index >= static_cast<int>(files.size())) return {};
  return SvgIcon(QString::fromLatin1(files[static_cast<std::size_t>(index)]), {16, 32});
}

QIcon SettingsIcon() {
  return SvgIcon(QStringLiteral(":/settings/settings.svg"), {16, 32, 48});
}
