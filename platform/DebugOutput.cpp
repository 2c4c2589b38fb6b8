#include "platform/DebugOutput.h"

Q_LOGGING_CATEGORY(lcDebugOutput, "dashcam.debugstream")

void DebugOutput(const QString& line)
{
    qCDebug(lcDebugOutput).noquote().nospace() << line;
}
