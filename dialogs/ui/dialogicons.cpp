#include "dialogs/ui/dialogicons.h"

#include <array>

// Resources of a static library must be registered by name, outside any namespace.
static void initDialogIconResources() {
  Q_INIT_RESOURCE(dialogicons);
}

QIcon DialogIconOf(DialogIcon icon) {
  // Kept until the process ends: icons must not be destroyed after the
  // application object by a static destructor.
  static const auto* icons = [] {
    initDialogIconResources();
    const char* files[] = {"person", "workgroup", "unit",     "role",
                           "form",   "resource",  "activity", "organisation"};
    auto* result = new std::array<QIcon, 8>;
    for (std::size_t i = 0; i < result->size(); ++i)
      (*result)[i] = QIcon(QStringLiteral(":/dialogs/%1.svg").arg(QLatin1String(files[i])));
    return result;
  }();
  return (*icons)[static_cast<std::size_t>(icon)];
}

QIcon ElementIcon(velk::ElementKind kind) {
  switch (kind) {
    case velk::ElementKind::Workgroup:
      return DialogIconOf(DialogIcon::Workgroup);
    case velk::ElementKind::Unit:
      return DialogIconOf(DialogIcon::Unit);
    case velk::ElementKind::Role:
      return DialogIconOf(DialogIcon::Role);
    case velk::ElementKind::Person:
    case velk::ElementKind::Position:
    case velk::ElementKind::SoftwareAgent:
      break;
  }
  return DialogIconOf(DialogIcon::Person);
}

QIcon ElementIcon(int kind) {
  return ElementIcon(static_cast<velk::ElementKind>(kind));
}
