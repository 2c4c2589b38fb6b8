#pragma once

#include "device/FormatProgress.h"

#include <QList>
#include <QMutex>

// Remembers the progress window's calls.
class RecordingProgress final : public FormatProgress
{
public:
    void SetPos(int pos) override
    {
        QMutexLocker lock(&m_mutex);
        m_pos = qMin(pos, 100);
        m_history.append(m_pos);
    }
    int GetPos() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_pos;
    }
    void RequestClose() override
    {
        QMutexLocker lock(&m_mutex);
        ++m_closeRequests;
    }
    QList<int> History() const
    {
        QMutexLocker lock(&m_mutex);
        return m_history;
    }
    int CloseRequests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_closeRequests;
    }

private:
    mutable QMutex m_mutex;
    int m_pos = 0;
    QList<int> m_history;
    int m_closeRequests = 0;
};
