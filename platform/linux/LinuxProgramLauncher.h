#pragma once

#include "platform/ProgramLauncher.h"

class LinuxProgramLauncher final : public ProgramLauncher
{
public:
    LinuxProgramLauncher() = default;

    bool StartDetached(const QString& program, const QString& argument,
                       const QString& workingFolder) const override;
};
