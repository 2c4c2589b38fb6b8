#include "startup/SelfRelaunch.h"

#include "platform/AppDataFolder.h"
#include "platform/DebugOutput.h"
#include "platform/DriveInfo.h"
#include "platform/ProgramLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

SelfRelaunch::SelfRelaunch(const DriveInfo& drives, const AppDataFolder& appData,
                           const ProgramLauncher& launcher)
    : m_drives(drives), m_appData(appData), m_launcher(launcher)
{}

QString SelfRelaunch::ProgramFolder(const QString& programPath)
{
    return programPath.left(programPath.lastIndexOf(u'/') + 1);
}

bool SelfRelaunch::CopyToLocalFolder(const QString& programPath)
{
    const QString folder = m_appData.LocalAppDataPath() + u"/Quelvix"_s;
    QDir().mkpath(folder);
    const QString target = folder + programPath.mid(programPath.lastIndexOf(u'/'));
    if (QFileInfo(target) == QFileInfo(programPath))
        return false;
    // Overwrite an older copy; unlinking works even while that copy runs.
    if (QFileInfo::exists(target) && !QFile::remove(target))
        return false;
    if (!QFile::copy(programPath, target))
        return false;
    QFile::setPermissions(target,
                          QFile::permissions(programPath) | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    m_relaunchPath = target;
    return true;
}

bool SelfRelaunch::RelaunchFromLocalCopy(const QString& programPath)
{
    m_relaunchPath.clear();
    const QString programFolder = ProgramFolder(programPath);
    if (!m_drives.IsRemovableDrive(programFolder) || !CopyToLocalFolder(programPath))
        return false;
    const QString workingFolder = m_drives.FilesystemRoot(m_relaunchPath);
    const bool started = m_launcher.StartDetached(m_relaunchPath, programFolder, workingFolder);
    DebugOutput(m_relaunchPath);
    DebugOutput(programFolder);
    DebugOutput(workingFolder);
    // A copy that did not start must not leave the user with nothing: go on from the card.
    return started;
}
