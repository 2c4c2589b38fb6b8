#pragma once

#include <QDateTime>
#include <optional>

// The PC's clock, as the program reads "now": the local time in whole seconds. Tests fix it to a
// time of their own. One per process.
class SystemClock final
{
public:
    static SystemClock& Instance();

    QDateTime Now() const;

    // nullopt: the real clock again.
    void SetFixedNow(std::optional<QDateTime> now) { m_fixedNow = std::move(now); }
    const std::optional<QDateTime>& FixedNow() const { return m_fixedNow; }

private:
    std::optional<QDateTime> m_fixedNow;
};
