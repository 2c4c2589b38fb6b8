#pragma once

#include "settings/DeviceVersionInfo.h"
#include "settings/RecordLayout.h"
#include "settings/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>

// Copies the bundled demo card into a test's own folder, so a test may change it freely.
inline bool CopyDemoCard(const QString& folder)
{
    const QString demo = QStringLiteral(DASHCAM_SOURCE_DIR "/demo/card/");
    if (!QDir().mkpath(folder + QStringLiteral("/lang")))
        return false;
    for (const QString& name :
         {QStringLiteral("setup.cfg"), QStringLiteral("default.cfg"), QStringLiteral("lang/ver.dat")}) {
        if (!QFile::copy(demo + name, folder + u'/' + name))
            return false;
    }
    return true;
}

// Sets the camera's menu language on a card in a test's folder (the camera's language chooses
// the interface language): the code's place in the card's language list goes into setup.cfg.
inline bool SetCameraLanguage(const QString& folder, const QString& code)
{
    DeviceVersionInfo info;
    ReadVersionFile(info, folder + QStringLiteral("/lang/"));
    const qsizetype position = info.codes.indexOf(code);
    QFile setup(folder + QStringLiteral("/setup.cfg"));
    if (position < 0 || !setup.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = setup.readAll();
    if (bytes.size() < Field::device_language.offset + 4)
        return false;
    qToLittleEndian<qint32>(qint32(position), bytes.data() + Field::device_language.offset);
    return setup.seek(0) && setup.write(bytes) == bytes.size();
}
