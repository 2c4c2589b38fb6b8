#pragma once

#include "platform/TimeZoneSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QTimeZone;
struct WindowsZone;

// The Windows time zones from the system's tzdata: the ids and display texts come from a table
// made from CLDR, the offsets and switch dates from the zone's IANA rules for one year.
class LinuxTimeZoneSource final : public TimeZoneSource
{
public:
    // Rules of the current year, links read from the system's zoneinfo folder.
    LinuxTimeZoneSource();
    LinuxTimeZoneSource(int year, QString zoneInfoFolder);

    QStringList ZoneKeys() const override;
    bool ReadZone(const QString& key, TimeZoneValues& values) const override;
    CurrentTimeZone CurrentZone() const override;

    // The Windows id of an IANA zone, under its current or any older spelling ("Asia/Kolkata"
    // and "Asia/Calcutta" alike); empty when there is none.
    QString WindowsIdFor(const QByteArray& ianaId) const;

    // The zone's rules in force during `year`, with the biases as the PC stores them.
    static TziFormat RulesForYear(const QTimeZone& zone, int year);
    // "(UTC+09:00) Osaka, Sapporo, Tokyo" for 540 minutes east of UTC.
    static QString DisplayText(int minutesEast, const QString& cities);

private:
    static const WindowsZone* Find(const QString& key);
    // The other names tzdata gives the zone: its target when it is a link, and the links to that.
    QList<QByteArray> OtherSpellings(const QByteArray& ianaId) const;

    int m_year;
    QString m_zoneInfoFolder;
};
