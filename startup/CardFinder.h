#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class DriveInfo;
class VolumeList;

// A camera memory card among the mounted file systems.
struct CardCandidate
{
    QString root;  // the mount point, ending with '/'
    QString label; // empty when the file system has no label
    qint64 bytesTotal = 0;
};

// Finds the camera's memory cards among the mounted file systems: removable ones holding the
// settings file or the factory file at their root. A fixed disk is never offered, whatever it
// holds, so a copy of the card's files on the PC cannot be taken for the card.
class CardFinder final
{
public:
    CardFinder(const VolumeList& volumes, const DriveInfo& drives);

    // In the order the system lists the file systems; each device once.
    QList<CardCandidate> FindCards() const;

    // Whether a folder (ending with '/') holds "setup.cfg" or "default.cfg".
    static bool HoldsSettingsFile(const QString& root);

private:
    const VolumeList& m_volumes;
    const DriveInfo& m_drives;
};
