#pragma once

#include "platform/VolumeFormatter.h"

#include <QList>
#include <QStringList>

// Keeps the two reports in the order they came.
class RecordingReports final : public FormatReports
{
public:
    RecordingReports() = default;

    void StructureProgress() override { m_events.append(QStringLiteral("progress")); }
    void Done(bool success) override
    {
        m_events.append(success ? QStringLiteral("done ok") : QStringLiteral("done failed"));
    }

    const QStringList& Events() const { return m_events; }
    int ProgressReports() const { return int(m_events.count(QStringLiteral("progress"))); }
    // The success of each Done report.
    QList<bool> DoneReports() const
    {
        QList<bool> done;
        for (const QString& event : m_events) {
            if (event.startsWith(QStringLiteral("done")))
                done.append(event == QStringLiteral("done ok"));
        }
        return done;
    }

private:
    QStringList m_events;
};
