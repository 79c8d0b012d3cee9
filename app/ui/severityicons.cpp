#include "app/ui/severityicons.h"

#include <array>

// Resources of a static library must be registered by name, outside any namespace.
static void initInfoCenterResources() {
  Q_INIT_RESOURCE(infocenter);
}

namespace {
int index(velk::Severity severity) {
  const int i = static_cast<int>(severity);
  return i < 0 ? 0 : (i > 3 ? 3 : i);
}
}  // namespace

QIcon SeverityIcon(velk::Severity severity) {
  // Never destroyed: a static destructor would run after the application object.
  static const auto* icons = [] {
    initInfoCenterResources();
    auto* result = new std::array<QIcon, 4>;
    const char* files[] = {"success", "notice", "warning", "error"};
    for (int i = 0; i < 4; ++i) {
      const QString file = QStringLiteral(":/infocenter/%1.svg").arg(QLatin1String(files[i]));
      // The same picture when selected: a tinted one would blur the colours apart.
      (*result)[i].addFile(file, {}, QIcon::Normal);
      (*result)[i].addFile(file, {}, QIcon::Selected);
    }
    return result;
  }();
  return (*icons)[index(severity)];
}

QString SeverityName(velk::Severity severity) {
  static const char* const names[] = {"Success", "Notice", "Warning", "Error"};
  return QString::fromLatin1(names[index(severity)]);
}
