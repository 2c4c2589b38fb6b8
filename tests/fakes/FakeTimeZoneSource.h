#pragma once

#include "platform/TimeZoneSource.h"

#include <QHash>
#include <QString>
#include <QStringList>

// A time zone database written out in the test: zones in listing order, each with its bias in
// minutes east of UTC (stored the PC's way round) and its standard name; keys listed without
// values cannot be read.
class FakeTimeZoneSource final : public TimeZoneSource
{
public:
    struct Zone
    {
        QString key;
        int minutesEast;
        QString standardName; // empty: the key
        int daylightMinutes = 0;
    };

    explicit FakeTimeZoneSource(const QList<Zone>& zones, QStringList unreadable = {})
        : m_unreadable(std::move(unreadable))
    {
        for (const Zone& zone : zones) {
            m_keys.append(zone.key);
            TimeZoneValues values;
            values.display = QStringLiteral("(zone) ") + zone.key;
            values.standardName = zone.standardName.isEmpty() ? zone.key : zone.standardName;
            values.tzi.Bias = -zone.minutesEast;
            values.tzi.DaylightBias = -zone.daylightMinutes;
            m_values.insert(zone.key, values);
        }
        m_keys += m_unreadable;
    }

    QStringList ZoneKeys() const override { return m_keys; }
    bool ReadZone(const QString& key, TimeZoneValues& values) const override
    {
        if (!m_values.contains(key))
            return false;
        values = m_values.value(key);
        return true;
    }
    CurrentTimeZone CurrentZone() const override { return m_current; }

    void SetCurrent(int minutesEast, const QString& standardName, int standardBias = 0)
    {
        m_current = CurrentTimeZone{-minutesEast, standardBias, standardName};
    }

private:
    QStringList m_keys;
    QStringList m_unreadable;
    QHash<QString, TimeZoneValues> m_values;
    CurrentTimeZone m_current;
};
