#pragma once
// Fonts and images need the GUI library; only the drawing commands start it,
// and without a display unless the caller chose a platform.

#include <QGuiApplication>
#include <memory>

namespace velkcli {

// Null when the library is already running.
std::unique_ptr<QGuiApplication> StartGui();

}  // namespace velkcli
