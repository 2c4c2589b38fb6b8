#pragma once

#include "platform/AppDataFolder.h"

// The XDG data home: $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
// The environment is read at every call.
class LinuxAppDataFolder final : public AppDataFolder
{
public:
    LinuxAppDataFolder() = default;

    QString LocalAppDataPath() const override;
};
