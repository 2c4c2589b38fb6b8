#pragma once

#include "platform/linux/CardFormatBackend.h"
#include "platform/linux/CommandRunner.h"

#include <memory>

// Formats as root with the system's own tools: umount, mkfs.fat or mkfs.exfat, then mounts the
// card again at the same place with the kernel's driver or, where the kernel has none, a FUSE one.
class RootCardFormatter final : public CardFormatBackend
{
public:
    explicit RootCardFormatter(std::shared_ptr<const CommandRunner> runner);

    QString Format(const CardVolume& volume, const CardFormatJob& job, FormatReports& reports) const override;

    // The mkfs command line for a job, for the device of volume.
    static QStringList MakeFileSystemCommand(const CardVolume& volume, const CardFormatJob& job);

private:
    bool Run(const QString& program, const QStringList& arguments) const;
    bool MountAgain(const CardVolume& volume, const CardFormatJob& job) const;

    std::shared_ptr<const CommandRunner> m_runner;
};
