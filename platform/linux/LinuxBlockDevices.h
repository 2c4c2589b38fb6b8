#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// A block device as the kernel names it: a partition together with its disk, or a whole disk.
struct BlockDevice
{
    QString name; // kernel name, e.g. "sdb1", "mmcblk0p1", "loop3p1", "sdc"
    QString disk; // the disk it belongs to; name itself for a whole disk
    bool isPartition = false;
};

// Facts about block devices from sysfs. The sysfs root can be a fixture tree; only the check of a
// device node looks at the real file system, and tests can replace it.
class LinuxBlockDevices
{
public:
    LinuxBlockDevices();
    explicit LinuxBlockDevices(QString sysfsRoot);
    virtual ~LinuxBlockDevices() = default;

    std::optional<BlockDevice> ByNumber(quint32 major, quint32 minor) const;
    std::optional<BlockDevice> ByName(const QString& name) const;
    // The device behind a node such as "/dev/sdb1", only when it really is a block device node.
    std::optional<BlockDevice> ByNode(const QString& nodePath) const;

    // The disk says it is removable, or it hangs off a USB bus (card readers and many sticks call
    // themselves fixed), or it is an SD card on an MMC bus. A soldered eMMC is none of these.
    bool IsRemovableDisk(const QString& disk) const;
    // The backing file of a loop device; empty for any other disk.
    QString LoopBackingFile(const QString& disk) const;
    // Whether disk is a loop device whose backing file lies inside folder (never for an empty
    // folder, nor for a backing file that was deleted).
    bool IsLoopBackedInside(const QString& disk, const QString& folder) const;
    static bool IsImageInside(const QString& backingFile, const QString& folder);
    // Whether something (a device mapper target, a RAID) is built on top of the device.
    bool HasHolders(const QString& name) const;
    // The physical disks a device lives on: its own disk, or for a mapped device (LVM, LUKS,
    // RAID) the disks of everything beneath it.
    QStringList UnderlyingDisks(const QString& name) const;
    quint32 LogicalBlockSize(const QString& disk) const;

    static QString NodePath(const QString& name);

protected:
    // The major:minor of a block device node; nullopt when the path is anything else.
    virtual std::optional<std::pair<quint32, quint32>> NodeNumber(const QString& nodePath) const;

private:
    std::optional<BlockDevice> FromSysfsFolder(const QString& folder) const;
    QString ReadAttribute(const QString& relativePath) const;
    QStringList UnderlyingDisks(const QString& name, int depth) const;

    QString m_sysfsRoot;
};
