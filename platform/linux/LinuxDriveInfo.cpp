#include "platform/linux/LinuxDriveInfo.h"

#include "platform/linux/LinuxBlockDevices.h"
#include "platform/linux/LinuxMountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {

// The mount table of a machine with many containers can be long, but never this long.
constexpr qint64 kMaxMountTableBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxAttributeBytes = 64;

bool StatPath(const QString& path, struct stat& info)
{
    const QByteArray encoded = QFile::encodeName(path);
    return !encoded.isEmpty() && ::stat(encoded.constData(), &info) == 0;
}

QByteArray ReadSmallFile(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Kernel files report no size; read them in chunks up to the limit.
    QByteArray content;
    while (content.size() < limit) {
        const QByteArray chunk = file.read(qMin<qint64>(limit - content.size(), 64 * 1024));
        if (chunk.isEmpty())
            break;
        content += chunk;
    }
    return content;
}

} // namespace

LinuxDriveInfo::LinuxDriveInfo() : LinuxDriveInfo(u"/sys"_s, u"/proc/self/mountinfo"_s) {}

LinuxDriveInfo::LinuxDriveInfo(QString sysfsRoot, QString mountInfoPath)
    : m_sysfsRoot(std::move(sysfsRoot)), m_mountInfoPath(std::move(mountInfoPath))
{}

bool LinuxDriveInfo::IsRemovableDrive(const QString& path) const
{
    struct stat info
    {
    };
    if (!StatPath(path, info))
        return false;
    if (major(info.st_dev) != 0)
        return IsRemovableDevice(major(info.st_dev), minor(info.st_dev));
    // A FUSE file system has no device number of its own; the mount's source names the device
    // when it is one (exfat-fuse and fusefat with fsname do).
    const LinuxMountTable table = LinuxMountTable::Read(m_mountInfoPath);
    const MountEntry* mount = table.EntryHolding(LinuxMountTable::AbsoluteTarget(path));
    struct stat source
    {
    };
    if (!mount || !mount->source.startsWith(u'/') || !StatPath(mount->source, source) ||
        !S_ISBLK(source.st_mode))
        return false;
    return IsRemovableDevice(major(source.st_rdev), minor(source.st_rdev));
}

bool LinuxDriveInfo::IsRemovableDevice(quint32 deviceMajor, quint32 deviceMinor) const
{
    const QString root = QFileInfo(m_sysfsRoot).canonicalFilePath();
    if (root.isEmpty())
        return false;
    // Filesystems without a block device (tmpfs, overlay, network shares) have no entry here.
    const QString link =
        root + "/dev/block/"_L1 + QString::number(deviceMajor) + u':' + QString::number(deviceMinor);
    QString disk = QFileInfo(link).canonicalFilePath();
    if (disk.isEmpty() || !LinuxMountTable::IsInside(disk, root))
        return false;
    if (QFileInfo::exists(disk + "/partition"_L1))
        disk = QFileInfo(disk).path();
    // An image file attached for a test counts as a card only inside the folder named for it.
    const QString diskName = QFileInfo(disk).fileName();
    if (diskName.startsWith("loop"_L1))
        return LinuxBlockDevices::IsImageInside(
            QString::fromUtf8(ReadSmallFile(disk + "/loop/backing_file"_L1, 4096)).trimmed(),
            qEnvironmentVariable("DASHCAM_ALLOW_LOOP_BACKING_DIR"));
    if (ReadSmallFile(disk + "/removable"_L1, kMaxAttributeBytes).trimmed() == "1")
        return true;
    // Only the device's place inside sysfs counts, not where the sysfs tree itself lies.
    // On an MMC bus only an SD card counts: "MMC" is an eMMC soldered in as the system disk.
    const QString busPath = disk.mid(root.size());
    if (busPath.contains("/usb"_L1))
        return true;
    return busPath.contains("/mmc"_L1) &&
           ReadSmallFile(disk + "/device/type"_L1, kMaxAttributeBytes).trimmed() == "SD";
}

QString LinuxDriveInfo::FilesystemRoot(const QString& path) const
{
    const QString target = LinuxMountTable::AbsoluteTarget(path);
    if (target.isEmpty())
        return {};
    QString root = MountPointFromTable(target);
    if (root.isEmpty())
        root = MountPointByDeviceWalk(target);
    if (root.isEmpty())
        return {};
    return root.endsWith(u'/') ? root : root + u'/';
}

QString LinuxDriveInfo::MountPointFromTable(const QString& absolutePath) const
{
    const QByteArray table = ReadSmallFile(m_mountInfoPath, kMaxMountTableBytes);
    QString best;
    for (const QByteArray& line : table.split('\n')) {
        // Fields: id, parent id, major:minor, root, mount point, ...
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5 || fields[4].isEmpty())
            continue;
        const QString mountPoint = QDir::cleanPath(LinuxMountTable::UnescapeField(fields[4]));
        if (!mountPoint.startsWith(u'/') || !LinuxMountTable::IsInside(absolutePath, mountPoint))
            continue;
        // The deepest mount point wins; of equal ones the later, which is mounted over the earlier.
        if (mountPoint.size() >= best.size())
            best = mountPoint;
    }
    return best;
}

QString LinuxDriveInfo::MountPointByDeviceWalk(const QString& absolutePath)
{
    QString current = absolutePath;
    struct stat info
    {
    };
    while (!StatPath(current, info)) {
        if (current == "/"_L1)
            return {};
        current = QFileInfo(current).path();
    }
    const dev_t device = info.st_dev;
    while (current != "/"_L1) {
        const QString parent = QFileInfo(current).path();
        struct stat parentInfo
        {
        };
        if (!StatPath(parent, parentInfo) || parentInfo.st_dev != device)
            break;
        current = parent;
    }
    return current;
}
