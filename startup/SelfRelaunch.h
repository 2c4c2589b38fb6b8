#pragma once

#include <QString>

class AppDataFolder;
class DriveInfo;
class ProgramLauncher;

// A program started from the memory card copies itself to the PC and restarts from there, so
// the card can be formatted (and removed) while the editor runs.
class SelfRelaunch final
{
public:
    SelfRelaunch(const DriveInfo& drives, const AppDataFolder& appData, const ProgramLauncher& launcher);

    // The running program's folder with its trailing separator.
    static QString ProgramFolder(const QString& programPath);

    // When `programPath` lies on a removable drive: copies it to the local application-data
    // folder and starts the copy with the program's folder as its one argument. True when the
    // copy was started and this process should quit; false to go on from the card.
    bool RelaunchFromLocalCopy(const QString& programPath);

    QString RelaunchPath() const { return m_relaunchPath; }

private:
    bool CopyToLocalFolder(const QString& programPath);

    const DriveInfo& m_drives;
    const AppDataFolder& m_appData;
    const ProgramLauncher& m_launcher;
    QString m_relaunchPath;
};
