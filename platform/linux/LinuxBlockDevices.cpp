#include "platform/linux/LinuxBlockDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMaxAttributeBytes = 4096;
// Device mapper stacks are shallow; the limit only guards against a looping fixture.
constexpr int kMaxStackDepth = 8;

bool IsInsideFolder(const QString& path, const QString& folder)
{
    return path.startsWith(folder) && path.size() > folder.size() && path.at(folder.size()) == u'/';
}

} // namespace

LinuxBlockDevices::LinuxBlockDevices() : LinuxBlockDevices(u"/sys"_s) {}

LinuxBlockDevices::LinuxBlockDevices(QString sysfsRoot) : m_sysfsRoot(std::move(sysfsRoot)) {}

QString LinuxBlockDevices::NodePath(const QString& name)
{
    return u"/dev/"_s + name;
}

std::optional<BlockDevice> LinuxBlockDevices::ByNumber(quint32 major, quint32 minor) const
{
    // Major 0 is the kernel's number for file systems without a device (tmpfs, FUSE).
    if (major == 0)
        return std::nullopt;
    return FromSysfsFolder(m_sysfsRoot + "/dev/block/"_L1 + QString::number(major) + u':' +
                           QString::number(minor));
}

std::optional<BlockDevice> LinuxBlockDevices::ByName(const QString& name) const
{
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.'))
        return std::nullopt;
    return FromSysfsFolder(m_sysfsRoot + "/class/block/"_L1 + name);
}

std::optional<BlockDevice> LinuxBlockDevices::ByNode(const QString& nodePath) const
{
    const auto number = NodeNumber(nodePath);
    if (!number)
        return std::nullopt;
    return ByNumber(number->first, number->second);
}

std::optional<std::pair<quint32, quint32>> LinuxBlockDevices::NodeNumber(const QString& nodePath) const
{
    if (!nodePath.startsWith(u'/'))
        return std::nullopt;
    struct stat info
    {
    };
    const QByteArray encoded = QFile::encodeName(nodePath);
    if (::stat(encoded.constData(), &info) != 0 || !S_ISBLK(info.st_mode))
        return std::nullopt;
    return std::make_pair(static_cast<quint32>(major(info.st_rdev)),
                          static_cast<quint32>(minor(info.st_rdev)));
}

std::optional<BlockDevice> LinuxBlockDevices::FromSysfsFolder(const QString& link) const
{
    const QString root = QFileInfo(m_sysfsRoot).canonicalFilePath();
    const QString folder = QFileInfo(link).canonicalFilePath();
    if (root.isEmpty() || folder.isEmpty() || !IsInsideFolder(folder, root))
        return std::nullopt;
    BlockDevice device;
    device.name = QFileInfo(folder).fileName();
    device.isPartition = QFileInfo::exists(folder + "/partition"_L1);
    device.disk = device.isPartition ? QFileInfo(QFileInfo(folder).path()).fileName() : device.name;
    return device;
}

QString LinuxBlockDevices::ReadAttribute(const QString& relativePath) const
{
    QFile file(m_sysfsRoot + u'/' + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kMaxAttributeBytes)).trimmed();
}

bool LinuxBlockDevices::IsRemovableDisk(const QString& disk) const
{
    const QString folder = QFileInfo(m_sysfsRoot + "/class/block/"_L1 + disk).canonicalFilePath();
    const QString root = QFileInfo(m_sysfsRoot).canonicalFilePath();
    if (disk.isEmpty() || folder.isEmpty() || root.isEmpty() || !IsInsideFolder(folder, root))
        return false;
    if (ReadAttribute(u"class/block/"_s + disk + "/removable"_L1) == "1"_L1)
        return true;
    // Only the device's place in the tree counts, not where the tree itself lies.
    const QString busPath = folder.mid(root.size());
    if (busPath.contains("/usb"_L1))
        return true;
    const bool onMmcBus =
        busPath.contains("/mmc_host/"_L1) ||
        QFileInfo(folder + "/device/subsystem"_L1).canonicalFilePath().endsWith("/bus/mmc"_L1);
    return onMmcBus && ReadAttribute(u"class/block/"_s + disk + "/device/type"_L1) == "SD"_L1;
}

QString LinuxBlockDevices::LoopBackingFile(const QString& disk) const
{
    if (disk.isEmpty() || disk.contains(u'/'))
        return {};
    return ReadAttribute(u"class/block/"_s + disk + "/loop/backing_file"_L1);
}

bool LinuxBlockDevices::IsLoopBackedInside(const QString& disk, const QString& folder) const
{
    return disk.startsWith("loop"_L1) && IsImageInside(LoopBackingFile(disk), folder);
}

bool LinuxBlockDevices::IsImageInside(const QString& backingFile, const QString& folder)
{
    if (folder.isEmpty() || backingFile.isEmpty())
        return false;
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    // A deleted backing file reads "... (deleted)" and resolves to nothing.
    const QString backing = QFileInfo(backingFile).canonicalFilePath();
    return !canonicalFolder.isEmpty() && !backing.isEmpty() && IsInsideFolder(backing, canonicalFolder);
}

bool LinuxBlockDevices::HasHolders(const QString& name) const
{
    if (name.isEmpty() || name.contains(u'/'))
        return false;
    return !QDir(m_sysfsRoot + "/class/block/"_L1 + name + "/holders"_L1)
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                .isEmpty();
}

QStringList LinuxBlockDevices::UnderlyingDisks(const QString& name) const
{
    QStringList disks = UnderlyingDisks(name, 0);
    disks.removeDuplicates();
    return disks;
}

QStringList LinuxBlockDevices::UnderlyingDisks(const QString& name, int depth) const
{
    const auto device = ByName(name);
    if (!device || depth > kMaxStackDepth)
        return {};
    const QStringList slaves = QDir(m_sysfsRoot + "/class/block/"_L1 + device->name + "/slaves"_L1)
                                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (slaves.isEmpty())
        return {device->disk};
    QStringList disks;
    for (const QString& slave : slaves)
        disks += UnderlyingDisks(slave, depth + 1);
    return disks;
}

quint32 LinuxBlockDevices::LogicalBlockSize(const QString& disk) const
{
    bool ok = false;
    const quint32 size = ReadAttribute(u"class/block/"_s + disk + "/queue/logical_block_size"_L1).toUInt(&ok);
    // Sizes are powers of two between 512 and 4096; anything else is not a value to build on.
    if (!ok || size < 512 || size > 65536 || (size & (size - 1)) != 0)
        return 512;
    return size;
}
