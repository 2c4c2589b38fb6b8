#pragma once

#include "platform/linux/CommandRunner.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

// Records every command instead of running it; answers with the exit code set for its program.
class RecordingCommandRunner final : public CommandRunner
{
public:
    RecordingCommandRunner() = default;

    CommandResult Run(const QString& program, const QStringList& arguments) const override
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append((QStringList{program} + arguments).join(QLatin1Char(' ')));
        return {m_exitCodes.value(program, 0), QStringLiteral("stand-in output")};
    }

    bool WaitUntilReleased(const QString& devicePath, int) const override
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringLiteral("(wait until released) ") + devicePath);
        return !m_stillHeld;
    }

    void SetExitCode(const QString& program, int code) { m_exitCodes.insert(program, code); }
    void SetStillHeld(bool held) { m_stillHeld = held; }
    QStringList Calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

private:
    mutable QMutex m_mutex;
    mutable QStringList m_calls;
    QHash<QString, int> m_exitCodes;
    bool m_stillHeld = false;
};
