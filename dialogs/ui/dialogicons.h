#pragma once
// The 15 x 15 list icons of the property dialogs (transparent background).

#include <QIcon>
#include <QSize>

#include "dialogs/repositorylists.h"

enum class DialogIcon { Person, Workgroup, Unit, Role, Form, Resource, Activity, Organisation };

inline constexpr QSize kDialogIconSize{15, 15};

QIcon DialogIconOf(DialogIcon icon);
// Persons, workgroups, units and roles have their own icons; positions and
// software agents, which no repository holds, show the person icon.
QIcon ElementIcon(velk::ElementKind kind);
QIcon ElementIcon(int kind);
