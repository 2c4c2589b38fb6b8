#pragma once

#include "platform/linux/CommandRunner.h"

// Runs programs with QProcess, in the C locale, with a time limit; finds who holds a device
// through /proc.
class ProcessCommandRunner final : public CommandRunner
{
public:
    explicit ProcessCommandRunner(int timeoutMs = 10 * 60 * 1000) : m_timeoutMs(timeoutMs) {}

    CommandResult Run(const QString& program, const QStringList& arguments) const override;
    bool WaitUntilReleased(const QString& devicePath, int timeoutMs) const override;

private:
    int m_timeoutMs;
};
