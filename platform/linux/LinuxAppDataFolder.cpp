#include "platform/linux/LinuxAppDataFolder.h"

#include <QDir>

using namespace Qt::StringLiterals;

QString LinuxAppDataFolder::LocalAppDataPath() const
{
    // The XDG rules say a relative value is invalid and must be ignored.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(dataHome))
        return QDir::cleanPath(dataHome);
    return QDir::cleanPath(QDir::homePath() + "/.local/share"_L1);
}
