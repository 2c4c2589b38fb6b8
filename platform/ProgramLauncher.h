#pragma once

#include <QString>

// Starts another program that outlives this one.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;

    // Starts program detached with exactly one argument, handed over as a single argument
    // whatever blanks or quotes it holds, in workingFolder. Returns whether the program started.
    virtual bool StartDetached(const QString& program, const QString& argument,
                               const QString& workingFolder) const = 0;

protected:
    ProgramLauncher() = default;
    Q_DISABLE_COPY_MOVE(ProgramLauncher)
};
