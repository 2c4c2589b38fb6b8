#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Copies the bundled demo card into a test's own folder, so a test may change it freely.
inline bool CopyDemoCard(const QString& folder)
{
    const QString demo = QStringLiteral(DASHCAM_SOURCE_DIR "/demo/card/");
    if (!QDir().mkpath(folder + QStringLiteral("/lang")))
        return false;
    for (const QString& name : {QStringLiteral("setup.cfg"), QStringLiteral("default.cfg"),
                                QStringLiteral("lang/ver.dat")}) {
        if (!QFile::copy(demo + name, folder + u'/' + name))
            return false;
    }
    return true;
}
