#pragma once

#include "platform/DriveInfo.h"

#include <QString>
#include <QtGlobal>

// Drive facts from the kernel: the block device behind a path is found through sysfs, mount
// points through the process's mount table. Both roots can be pointed at fixture trees.
class LinuxDriveInfo final : public DriveInfo
{
public:
    LinuxDriveInfo();
    LinuxDriveInfo(QString sysfsRoot, QString mountInfoPath);

    bool IsRemovableDrive(const QString& path) const override;
    QString FilesystemRoot(const QString& path) const override;

    // Whether the block device deviceMajor:deviceMinor (or, for a partition, its disk) is removable: the
    // disk says so itself, or it hangs off a USB or MMC/SD bus (card readers and many USB
    // sticks report themselves as fixed). A loop device only when its backing file lies inside the
    // folder named by DASHCAM_ALLOW_LOOP_BACKING_DIR (tests on image files).
    bool IsRemovableDevice(quint32 deviceMajor, quint32 deviceMinor) const;

private:
    QString MountPointFromTable(const QString& absolutePath) const;
    static QString MountPointByDeviceWalk(const QString& absolutePath);

    QString m_sysfsRoot;
    QString m_mountInfoPath;
};
