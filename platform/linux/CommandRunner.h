#pragma once

#include <QString>
#include <QStringList>

struct CommandResult
{
    int exitCode = -1; // -1 when the program could not be started or did not end in time
    QString output;    // standard output and error together, for the debug output
};

// Runs a system program and waits for it. An interface so that tests can see every command a
// formatter would run without running any.
class CommandRunner
{
public:
    virtual ~CommandRunner() = default;

    virtual CommandResult Run(const QString& program, const QStringList& arguments) const = 0;

protected:
    CommandRunner() = default;
    Q_DISABLE_COPY_MOVE(CommandRunner)
};
