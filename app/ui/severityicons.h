#pragma once
// The pictures of the four Info Center severities. Each has its own shape as well
// as its own colour (green circle, blue square, yellow triangle, red octagon), so
// they stay apart at 16 pixels and without colour vision.

#include <QIcon>
#include <QString>

#include "common/services.h"

QIcon SeverityIcon(velk::Severity severity);
// "Success", "Notice", "Warning", "Error".
QString SeverityName(velk::Severity severity);
