#pragma once

#include <QLoggingCategory>
#include <QString>

// The program's debug output stream: the logging category "dashcam.debugstream", off unless
// enabled with QT_LOGGING_RULES="dashcam.debugstream.debug=true". Lines go out exactly as given
// (no level, no quoting), so they read the same on every platform and tests can match them.
Q_DECLARE_LOGGING_CATEGORY(lcDebugOutput)

void DebugOutput(const QString& line);
