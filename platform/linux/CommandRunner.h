#pragma once

#include <QString>
#include <QStringList>

struct CommandResult
{
    int exitCode = -1; // -1 when the program could not be started or did not end in time
    QString output;    // standard output and error together, for the debug output
};

// Runs a system program and waits for it, and waits for a device to be let go. An interface so
// that tests can see every step a formatter would take without taking any.
class CommandRunner
{
public:
    virtual ~CommandRunner() = default;

    virtual CommandResult Run(const QString& program, const QStringList& arguments) const = 0;
    // True once no process holds the device node open; false when one still does after timeoutMs.
    virtual bool WaitUntilReleased(const QString& devicePath, int timeoutMs) const = 0;

protected:
    CommandRunner() = default;
    Q_DISABLE_COPY_MOVE(CommandRunner)
};
