#include "platform/DebugOutput.h"

// Like a debugger channel, the stream is quiet unless asked for:
// QT_LOGGING_RULES="dashcam.debugstream.debug=true".
Q_LOGGING_CATEGORY(lcDebugOutput, "dashcam.debugstream", QtInfoMsg)

void DebugOutput(const QString& line)
{
    qCDebug(lcDebugOutput).noquote().nospace() << line;
}
