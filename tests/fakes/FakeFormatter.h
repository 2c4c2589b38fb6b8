#pragma once

#include "platform/VolumeFormatter.h"

#include <QList>
#include <QMutex>
#include <optional>

// A formatter that does what a script says: wipes the card folder (or moves it elsewhere, as a
// formatter that mounts the new file system under another name would), gives a number of
// structure reports and ends with the given Done report, or none.
class FakeFormatter final : public VolumeFormatter
{
public:
    struct Script
    {
        FormatOutcome::Kind kind = FormatOutcome::Kind::Ran;
        int structures = 3;
        std::optional<bool> done = true;
        bool wipe = true;
        QString mountAfter;     // where the card folder is afterwards; empty = where it was
        bool mountAgain = true; // false: the new file system could not be mounted
    };

    explicit FakeFormatter(Script script) : m_script(std::move(script)) {}

    FormatOutcome Format(const FormatRequest& request, FormatReports& reports) const override;

    QList<FormatRequest> Requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

private:
    Script m_script;
    mutable QMutex m_mutex;
    mutable QList<FormatRequest> m_requests;
};
