#include "platform/linux/LinuxVolumeFormatter.h"

#include "platform/DebugOutput.h"
#include "platform/linux/CardSafetyPolicy.h"
#include "platform/linux/LinuxMountTable.h"
#include "platform/linux/ProcessCommandRunner.h"
#include "platform/linux/RootCardFormatter.h"
#include "platform/linux/UDisks2CardFormatter.h"
#include "platform/linux/VolumeLabel.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Names a folder whose image files, attached to loop devices, count as memory cards: for tests.
constexpr const char* kAllowLoopBackingDirVariable = "DASHCAM_ALLOW_LOOP_BACKING_DIR";

FormatOutcome NotRunning(FormatOutcome::Kind kind, const QString& reason)
{
    DebugOutput(u"Format not started: "_s + reason);
    FormatOutcome outcome;
    outcome.kind = kind;
    outcome.reason = reason;
    return outcome;
}

QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

LinuxVolumeFormatter::LinuxVolumeFormatter()
    : LinuxVolumeFormatter(Setup{std::make_shared<LinuxBlockDevices>(), u"/proc/self/mountinfo"_s,
                                 SystemPaths(), std::nullopt, nullptr})
{}

LinuxVolumeFormatter::LinuxVolumeFormatter(Setup setup) : m_setup(std::move(setup)) {}

QStringList LinuxVolumeFormatter::SystemPaths()
{
    QStringList paths{u"/"_s, u"/boot"_s, QDir::homePath()};
    const QString program = QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
    if (!program.isEmpty())
        paths << program;
    if (QCoreApplication::instance())
        paths << QCoreApplication::applicationFilePath();
    return paths;
}

std::shared_ptr<const CardFormatBackend> LinuxVolumeFormatter::ChooseBackend(QString& reason) const
{
    if (m_setup.backend)
        return m_setup.backend;
    if (::geteuid() == 0)
        return std::make_shared<RootCardFormatter>(std::make_shared<ProcessCommandRunner>());
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (UDisks2CardFormatter::IsAvailable(bus))
        return std::make_shared<UDisks2CardFormatter>(bus);
    reason = u"not root and no UDisks2 service on the system bus"_s;
    return nullptr;
}

FormatOutcome LinuxVolumeFormatter::Format(const FormatRequest& request, FormatReports& reports) const
{
    CardFormatJob job;
    if (request.fileSystem.compare("FAT32"_L1, Qt::CaseInsensitive) == 0) {
        job.fileSystem = CardFormatJob::FileSystem::Fat32;
        job.label = VolumeLabel::ForFat(request.label);
    } else if (request.fileSystem.compare("exfat"_L1, Qt::CaseInsensitive) == 0) {
        job.fileSystem = CardFormatJob::FileSystem::Exfat;
        job.label = VolumeLabel::ForExfat(request.label);
    } else {
        return NotRunning(FormatOutcome::Kind::Refused, u"unknown file system "_s + request.fileSystem);
    }
    job.clusterSize = request.clusterSize;

    const LinuxMountTable mounts = LinuxMountTable::Read(m_setup.mountInfoPath);
    const CardSafetyPolicy policy(
        mounts, *m_setup.devices, m_setup.protectedPaths,
        m_setup.allowedLoopBackingDir.value_or(qEnvironmentVariable(kAllowLoopBackingDirVariable)));
    const CardCheck check = policy.Check(request.cardRoot);
    if (!check.allowed)
        return NotRunning(FormatOutcome::Kind::Refused, check.reason);

    QString reason;
    const auto backend = ChooseBackend(reason);
    if (!backend)
        return NotRunning(FormatOutcome::Kind::NotAvailable, reason);

    const QString mountPoint = backend->Format(check.volume, job, reports);
    FormatOutcome outcome;
    outcome.kind = FormatOutcome::Kind::Ran;
    outcome.cardRootAfter =
        WithSlash(check.volume.folder.isEmpty() ? mountPoint : WithSlash(mountPoint) + check.volume.folder);
    return outcome;
}
