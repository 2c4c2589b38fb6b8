#pragma once

#include "platform/linux/LinuxBlockDevices.h"
#include "platform/linux/LinuxMountTable.h"

#include <QString>
#include <QStringList>

// The card a format may wipe, as found from the card folder.
struct CardVolume
{
    QString mountPoint; // without a trailing '/'
    QString folder;     // the card folder below the mount point ("" for the mount point itself)
    QString devicePath; // the node to format, e.g. "/dev/sdb1"
    QString deviceName; // kernel name, e.g. "sdb1"
    QString diskName;   // e.g. "sdb"
    bool isPartition = false;
    QString fsType;       // as mounted now
    QString superOptions; // as mounted now
    quint32 logicalBlockSize = 512;
};

struct CardCheck
{
    bool allowed = false;
    QString reason; // why not, in English, for the debug output
    CardVolume volume;
};

// Decides whether the file system that holds a card folder may be formatted: only a removable
// memory card, and never a disk the system or the user's data lives on. Looks, never changes.
class CardSafetyPolicy final
{
public:
    // protectedPaths: the root, /boot, the home folder, the running program; no disk holding one of
    // them is formatted. allowedLoopBackingDir: a loop device whose backing file lies inside this
    // folder counts as a removable card (for tests on image files); empty allows no loop device.
    CardSafetyPolicy(const LinuxMountTable& mounts, const LinuxBlockDevices& devices,
                     QStringList protectedPaths, QString allowedLoopBackingDir);

    CardCheck Check(const QString& cardFolder) const;

private:
    std::optional<BlockDevice> DeviceOf(const MountEntry& entry) const;

    const LinuxMountTable& m_mounts;
    const LinuxBlockDevices& m_devices;
    QStringList m_protectedPaths;
    QString m_allowedLoopBackingDir;
};
