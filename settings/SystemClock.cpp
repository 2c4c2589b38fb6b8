#include "settings/SystemClock.h"

SystemClock& SystemClock::Instance()
{
    static SystemClock clock;
    return clock;
}

QDateTime SystemClock::Now() const
{
    if (m_fixedNow)
        return *m_fixedNow;
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
}
