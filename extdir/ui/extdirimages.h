#pragma once
// The 24 small pictures of the directory tree, 16 by 16 pixels, drawn here so
// that every index the items name has a picture of its own.

#include <QIcon>

inline constexpr int kExtDirImageCount = 24;

// The picture of an index; an index outside 0..23 gives an empty icon.
QIcon ExtDirImage(int index);
