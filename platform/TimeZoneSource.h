#pragma once

#include "platform/SystemTime.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// A zone's rules in the layout of REG_TZI_FORMAT. As the PC stores them, the biases count minutes
// to add to local time to get UTC (UTC+9 has Bias -540; one hour of daylight saving is
// DaylightBias -60).
struct TziFormat
{
    qint32 Bias = 0;
    qint32 StandardBias = 0;
    qint32 DaylightBias = 0;
    // The yearly switch dates as Windows writes them: year 0, month 1-12, day_of_week the weekday,
    // day the occurrence of that weekday in the month (1-4, 5 for the last one), and the local
    // wall-clock time of the switch. All zero: no switch.
    SystemTime StandardDate;
    SystemTime DaylightDate;

    bool operator==(const TziFormat&) const = default;
};
static_assert(sizeof(TziFormat) == 44, "REG_TZI_FORMAT is 44 bytes");

// What the PC's time zone database tells about one zone.
struct TimeZoneValues
{
    QString display;      // "(UTC+09:00) Osaka, Sapporo, Tokyo"
    QString standardName; // "Tokyo Standard Time"
    TziFormat tzi;
};

// The PC's own zone, as GetTimeZoneInformation reports it (same sign as TziFormat).
struct CurrentTimeZone
{
    qint32 bias = 0;
    qint32 standardBias = 0;
    QString standardName;
};

// The PC's time zone database, keyed by Windows time zone ids ("Tokyo Standard Time"), which is
// what the camera understands.
class TimeZoneSource
{
public:
    virtual ~TimeZoneSource() = default;

    // The zone ids in the order the PC lists them; empty when the database cannot be read.
    virtual QStringList ZoneKeys() const = 0;
    // One zone's values; false when the zone cannot be read.
    virtual bool ReadZone(const QString& key, TimeZoneValues& values) const = 0;
    virtual CurrentTimeZone CurrentZone() const = 0;

protected:
    TimeZoneSource() = default;
    Q_DISABLE_COPY_MOVE(TimeZoneSource)
};
