#pragma once
// Window placements of Qt windows in the stored ten-number form.

#include "app/windowplacement.h"

class QWidget;

// The normal rectangle of `w` (frame excluded) with flags 2 and the maximised show
// command when `w` is maximised, else flags 0 and the normal show command.
velk::WindowPlacement PlacementOf(const QWidget* w);
// Applies the normal rectangle when it is not empty and lies at least partly on a
// screen, and the maximised state. Takes effect when the window is (next) shown.
void ApplyPlacement(QWidget* w, const velk::WindowPlacement& p);
