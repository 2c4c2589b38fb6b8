#pragma once

#include "platform/ProgramLauncher.h"

#include <QList>
#include <QStringList>

// Starts nothing; remembers each call as its program, argument and working folder.
class RecordingLauncher final : public ProgramLauncher
{
public:
    bool StartDetached(const QString& program, const QString& argument,
                       const QString& workingFolder) const override
    {
        m_calls.append({program, argument, workingFolder});
        return true;
    }
    mutable QList<QStringList> m_calls;
};
