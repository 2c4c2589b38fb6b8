#pragma once

#include <QString>

// Facts about the drive that holds a path, as the relaunch and the card formatter need them.
class DriveInfo
{
public:
    virtual ~DriveInfo() = default;

    // True when the filesystem holding path sits on a removable drive (USB stick, SD card reader).
    // Anything that is not a block device, and any path that cannot be examined, is not removable.
    virtual bool IsRemovableDrive(const QString& path) const = 0;

    // The root folder (mount point) of the filesystem holding path, ending with '/';
    // empty when it cannot be determined.
    virtual QString FilesystemRoot(const QString& path) const = 0;

protected:
    DriveInfo() = default;
    Q_DISABLE_COPY_MOVE(DriveInfo)
};
