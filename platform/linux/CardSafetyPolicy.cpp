#include "platform/linux/CardSafetyPolicy.h"

using namespace Qt::StringLiterals;

namespace {

CardCheck Refuse(QString reason)
{
    CardCheck check;
    check.reason = std::move(reason);
    return check;
}

} // namespace

CardSafetyPolicy::CardSafetyPolicy(const LinuxMountTable& mounts, const LinuxBlockDevices& devices,
                                   QStringList protectedPaths, QString allowedLoopBackingDir)
    : m_mounts(mounts), m_devices(devices), m_protectedPaths(std::move(protectedPaths)),
      m_allowedLoopBackingDir(std::move(allowedLoopBackingDir))
{}

std::optional<BlockDevice> CardSafetyPolicy::DeviceOf(const MountEntry& entry) const
{
    if (entry.major != 0)
        return m_devices.ByNumber(entry.major, entry.minor);
    // A FUSE mount has no device number of its own; its source names the device, if it is one.
    return m_devices.ByNode(entry.source);
}

CardCheck CardSafetyPolicy::Check(const QString& cardFolder) const
{
    const QString target = LinuxMountTable::AbsoluteTarget(cardFolder);
    const MountEntry* card = target.isEmpty() ? nullptr : m_mounts.EntryHolding(target);
    if (!card)
        return Refuse(u"no mounted file system holds %1"_s.arg(cardFolder));
    if (card->root != "/"_L1)
        return Refuse(u"%1 shows only a folder of its file system"_s.arg(card->mountPoint));
    const auto device = DeviceOf(*card);
    if (!device)
        return Refuse(u"%1 is not on a block device"_s.arg(card->mountPoint));

    if (device->disk.startsWith("loop"_L1)) {
        if (!m_devices.IsLoopBackedInside(device->disk, m_allowedLoopBackingDir))
            return Refuse(u"%1 is a loop device outside the allowed folder"_s.arg(device->name));
    } else if (!m_devices.IsRemovableDisk(device->disk)) {
        return Refuse(u"%1 is not a removable memory card"_s.arg(device->disk));
    }
    if (m_devices.HasHolders(device->name) || m_devices.HasHolders(device->disk))
        return Refuse(u"%1 is in use by a mapped device"_s.arg(device->name));

    for (const QString& path : m_protectedPaths) {
        const QString protectedTarget = LinuxMountTable::AbsoluteTarget(path);
        const MountEntry* holder =
            protectedTarget.isEmpty() ? nullptr : m_mounts.EntryHolding(protectedTarget);
        const auto protectedDevice = holder ? DeviceOf(*holder) : std::nullopt;
        if (protectedDevice && m_devices.UnderlyingDisks(protectedDevice->name).contains(device->disk))
            return Refuse(u"%1 holds %2"_s.arg(device->disk, path));
    }

    for (const MountEntry& other : m_mounts.Entries()) {
        if (other.id == card->id)
            continue;
        const auto otherDevice = DeviceOf(other);
        if (!otherDevice)
            continue;
        QStringList disks = m_devices.UnderlyingDisks(otherDevice->name);
        if (disks.isEmpty())
            disks = {otherDevice->disk};
        if (!disks.contains(device->disk))
            continue;
        if (otherDevice->name == device->name)
            return Refuse(u"%1 is mounted at more than one place"_s.arg(device->name));
        return Refuse(u"another partition of %1 is mounted at %2"_s.arg(device->disk, other.mountPoint));
    }

    CardCheck check;
    check.allowed = true;
    check.volume.mountPoint = card->mountPoint;
    check.volume.folder = target == card->mountPoint
                              ? QString()
                              : target.mid(card->mountPoint.size() + (card->mountPoint == "/"_L1 ? 0 : 1));
    check.volume.devicePath = LinuxBlockDevices::NodePath(device->name);
    check.volume.deviceName = device->name;
    check.volume.diskName = device->disk;
    check.volume.isPartition = device->isPartition;
    check.volume.fsType = card->fsType;
    check.volume.superOptions = card->superOptions;
    check.volume.logicalBlockSize = m_devices.LogicalBlockSize(device->disk);
    return check;
}
