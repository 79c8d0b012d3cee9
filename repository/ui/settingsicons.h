#pragma once
// The pictures of "Open Database" and the icon of "Modeler Settings".

#include <QIcon>

// The four 16 x 16 pictures of the database list: 0 server, 1 folder,
// 2 template, 3 database.
QIcon OpenDatabaseImage(int index);
QIcon SettingsIcon();
