#pragma once

#include <QLoggingCategory>
#include <QString>

// The program's debug output stream (category "dashcam.debugstream"; silence it with
// QT_LOGGING_RULES="dashcam.debugstream=false"). Lines go out exactly as given (no level, no quoting),
// so they read the same on every platform and tests can match them literally.
Q_DECLARE_LOGGING_CATEGORY(lcDebugOutput)

void DebugOutput(const QString& line);
