#pragma once

#include <QString>
#include <QStringList>

// The parsed lang/ver.dat of the card. `codes` is the camera's menu language list in file order;
// `names` holds a display name for each code, position for position.
struct DeviceVersionInfo
{
    QString version;
    QStringList codes;
    QStringList names;
    QString pack_name;
    QString device;
};
