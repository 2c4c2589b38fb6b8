#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// A yearly switch date as Windows stores it in a SYSTEMTIME rule: year 0, month 1-12,
// day_of_week 0 (Sunday) to 6, day the occurrence of that weekday in the month (1-4, 5 for the
// last one), and the local wall-clock time at which the switch happens. All zero: no switch.
struct TziDate
{
    quint16 year = 0;
    quint16 month = 0;
    quint16 day_of_week = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    bool operator==(const TziDate&) const = default;
};

// A zone's rules in the layout of REG_TZI_FORMAT. As the PC stores them, the biases count minutes
// to add to local time to get UTC (UTC+9 has Bias -540; one hour of daylight saving is
// DaylightBias -60).
struct TziFormat
{
    qint32 Bias = 0;
    qint32 StandardBias = 0;
    qint32 DaylightBias = 0;
    TziDate StandardDate;
    TziDate DaylightDate;

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
