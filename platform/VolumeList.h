#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// One mounted file system as the card search sees it.
struct MountedVolume
{
    QString rootPath; // the mount point, ending with '/'
    QString label;    // the file system's label; empty when it has none
    qint64 bytesTotal = 0;
    QByteArray device; // the device it is mounted from, such as "/dev/sdb1"; may be empty
    bool ready = true; // false when the file system cannot be read (a reader without a card)
};

// The file systems mounted on this PC, so the program can find a camera's memory card itself.
class VolumeList
{
public:
    virtual ~VolumeList() = default;

    // Read afresh at every call: a card inserted meanwhile is in the next answer.
    virtual QList<MountedVolume> MountedVolumes() const = 0;

protected:
    VolumeList() = default;
    Q_DISABLE_COPY_MOVE(VolumeList)
};
