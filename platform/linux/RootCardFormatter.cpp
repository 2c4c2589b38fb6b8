#include "platform/linux/RootCardFormatter.h"

#include "platform/DebugOutput.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

constexpr int kReleaseTimeoutMs = 15000;

// The owner and permission options of the mount being replaced, so that the user who could
// write to the card before still can. FUSE mounts say user_id/group_id where the kernel says uid/gid.
QStringList OwnerOptions(const QString& superOptions)
{
    QStringList kept;
    for (const QString& option : superOptions.split(u',', Qt::SkipEmptyParts)) {
        const QString key = option.section(u'=', 0, 0);
        const QString value = option.section(u'=', 1);
        bool numeric = false;
        value.toUInt(&numeric);
        if (!numeric)
            continue;
        if (key == "uid"_L1 || key == "user_id"_L1)
            kept << u"uid="_s + value;
        else if (key == "gid"_L1 || key == "group_id"_L1)
            kept << u"gid="_s + value;
        else if (key == "umask"_L1 || key == "fmask"_L1 || key == "dmask"_L1)
            kept << option;
    }
    return kept;
}

} // namespace

RootCardFormatter::RootCardFormatter(std::shared_ptr<const CommandRunner> runner)
    : m_runner(std::move(runner))
{}

bool RootCardFormatter::Run(const QString& program, const QStringList& arguments) const
{
    const CommandResult result = m_runner->Run(program, arguments);
    if (result.exitCode == 0)
        return true;
    DebugOutput(u"%1 failed (%2): %3"_s.arg(program, QString::number(result.exitCode), result.output));
    return false;
}

QStringList RootCardFormatter::MakeFileSystemCommand(const CardVolume& volume, const CardFormatJob& job)
{
    if (job.fileSystem == CardFormatJob::FileSystem::Exfat) {
        QStringList command{u"mkfs.exfat"_s, u"-L"_s, job.label};
        if (job.clusterSize != 0)
            command << u"-c"_s << QString::number(job.clusterSize);
        return command << volume.devicePath;
    }
    QStringList command{u"mkfs.fat"_s, u"-F"_s, u"32"_s};
    const quint32 sector = volume.logicalBlockSize == 0 ? 512 : volume.logicalBlockSize;
    if (job.clusterSize >= sector)
        command << u"-s"_s << QString::number(job.clusterSize / sector);
    command << u"-n"_s << job.label;
    // A card without a partition table carries its file system on the whole disk.
    if (!volume.isPartition)
        command << u"-I"_s;
    return command << volume.devicePath;
}

bool RootCardFormatter::MountAgain(const CardVolume& volume, const CardFormatJob& job) const
{
    QDir().mkpath(volume.mountPoint);
    const bool fat = job.fileSystem == CardFormatJob::FileSystem::Fat32;
    const QStringList owner = OwnerOptions(volume.superOptions);
    QStringList kernel{u"-t"_s, fat ? u"vfat"_s : u"exfat"_s};
    if (!owner.isEmpty())
        kernel << u"-o"_s << owner.join(u',');
    if (Run(u"mount"_s, kernel << volume.devicePath << volume.mountPoint))
        return true;
    // No driver in this kernel: the FUSE one. fsname keeps the device visible in the mount table,
    // so the card is recognised as such the next time.
    if (fat)
        return Run(u"fusefat"_s,
                   {u"-o"_s, u"rw+,fsname="_s + volume.devicePath, volume.devicePath, volume.mountPoint});
    QStringList fuse;
    if (!owner.isEmpty())
        fuse << u"-o"_s << owner.join(u',');
    return Run(u"mount.exfat-fuse"_s, fuse << volume.devicePath << volume.mountPoint);
}

QString RootCardFormatter::Format(const CardVolume& volume, const CardFormatJob& job,
                                  FormatReports& reports) const
{
    // No lazy unmount: a card that a program still holds stays as it is, files and all.
    if (!Run(u"umount"_s, {volume.mountPoint})) {
        reports.Done(false);
        return volume.mountPoint;
    }
    reports.StructureProgress();

    // A FUSE driver writes its last blocks after umount has returned: those must not land in the
    // new file system. Whatever still holds the card after that long is not ours to overrule.
    const QStringList command = MakeFileSystemCommand(volume, job);
    const bool released = m_runner->WaitUntilReleased(volume.devicePath, kReleaseTimeoutMs);
    if (!released)
        DebugOutput(volume.devicePath + u" is still in use after unmounting: not formatted"_s);
    const bool made = released && Run(command.first(), command.mid(1));
    reports.StructureProgress();

    // Mount again even after a failed mkfs: the old file system is then most likely still there.
    const bool mounted = MountAgain(volume, job);
    if (mounted)
        reports.StructureProgress();
    reports.Done(made && mounted);
    return volume.mountPoint;
}
