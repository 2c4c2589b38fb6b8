#pragma once

#include <QString>

// The user's folder for local application data; the program keeps its relaunch copy below it.
class AppDataFolder
{
public:
    virtual ~AppDataFolder() = default;

    // Absolute path without a trailing separator; the caller appends its own sub-folder.
    virtual QString LocalAppDataPath() const = 0;

protected:
    AppDataFolder() = default;
    Q_DISABLE_COPY_MOVE(AppDataFolder)
};
