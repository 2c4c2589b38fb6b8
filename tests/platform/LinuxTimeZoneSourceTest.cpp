#include "platform/linux/LinuxTimeZoneSource.h"

#include "tests/support/ScopedEnvironmentVariable.h"

#include <QSet>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// A switch rule as Windows writes it: month, weekday (Sunday 0), occurrence (5 = last), hh:mm.
SystemTime Rule(int month, int dayOfWeek, int occurrence, int hour, int minute)
{
    SystemTime date;
    date.month = quint16(month);
    date.day_of_week = quint16(dayOfWeek);
    date.day = quint16(occurrence);
    date.hour = quint16(hour);
    date.minute = quint16(minute);
    return date;
}

TziFormat Tzi(int bias, int daylightBias = 0, SystemTime standard = {}, SystemTime daylight = {})
{
    TziFormat tzi;
    tzi.Bias = bias;
    tzi.DaylightBias = daylightBias;
    tzi.StandardDate = standard;
    tzi.DaylightDate = daylight;
    return tzi;
}

constexpr int Year = 2025;

} // namespace

// The Windows time zones made from tzdata: the values the camera would get from a Windows PC.
class LinuxTimeZoneSourceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownZones_data();
    void knownZones();
    void negativeDaylightSavingCountsAsWinter();
    void everyKeyIsAWindowsIdWithRules();
    void pcZoneUnderAnySpelling_data();
    void pcZoneUnderAnySpelling();
    void pcZoneFoundByRulesWhenNoIdMaps();
};

void LinuxTimeZoneSourceTest::knownZones_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<TziFormat>("tzi");
    QTest::addColumn<QString>("display");

    QTest::newRow("Tokyo, daylight saving only in the 1940s")
        << u"Tokyo Standard Time"_s << Tzi(-540) << u"(UTC+09:00) Osaka, Sapporo, Tokyo"_s;
    QTest::newRow("New York") << u"Eastern Standard Time"_s
                              << Tzi(300, -60, Rule(11, 0, 1, 2, 0), Rule(3, 0, 2, 2, 0))
                              << u"(UTC-05:00) Eastern Time (US & Canada)"_s;
    QTest::newRow("Los Angeles") << u"Pacific Standard Time"_s
                                 << Tzi(480, -60, Rule(11, 0, 1, 2, 0), Rule(3, 0, 2, 2, 0))
                                 << u"(UTC-08:00) Pacific Time (US & Canada)"_s;
    QTest::newRow("Berlin, last Sundays")
        << u"W. Europe Standard Time"_s << Tzi(-60, -60, Rule(10, 0, 5, 3, 0), Rule(3, 0, 5, 2, 0))
        << u"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna"_s;
    QTest::newRow("London") << u"GMT Standard Time"_s
                            << Tzi(0, -60, Rule(10, 0, 5, 2, 0), Rule(3, 0, 5, 1, 0))
                            << u"(UTC+00:00) Dublin, Edinburgh, Lisbon, London"_s;
    QTest::newRow("Sydney, summer at the year's turn")
        << u"AUS Eastern Standard Time"_s << Tzi(-600, -60, Rule(4, 0, 1, 3, 0), Rule(10, 0, 1, 2, 0))
        << u"(UTC+10:00) Canberra, Melbourne, Sydney"_s;
    QTest::newRow("Lord Howe, half an hour")
        << u"Lord Howe Standard Time"_s << Tzi(-630, -30, Rule(4, 0, 1, 2, 0), Rule(10, 0, 1, 2, 0))
        << u"(UTC+10:30) Lord Howe Island"_s;
    QTest::newRow("Chatham, quarter hours")
        << u"Chatham Islands Standard Time"_s << Tzi(-765, -60, Rule(4, 0, 1, 3, 45), Rule(9, 0, 5, 2, 45))
        << u"(UTC+12:45) Chatham Islands"_s;
    QTest::newRow("India") << u"India Standard Time"_s << Tzi(-330)
                           << u"(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi"_s;
    QTest::newRow("Nepal") << u"Nepal Standard Time"_s << Tzi(-345) << u"(UTC+05:45) Kathmandu"_s;
    QTest::newRow("Brasilia, daylight saving abolished")
        << u"E. South America Standard Time"_s << Tzi(180) << u"(UTC-03:00) Brasilia"_s;
    QTest::newRow("Mexico's -07:00 is Mazatlan, not Chihuahua")
        << u"Mountain Standard Time (Mexico)"_s << Tzi(420) << u"(UTC-07:00) La Paz, Mazatlan"_s;
    QTest::newRow("Central Asia is Bishkek, not Almaty")
        << u"Central Asia Standard Time"_s << Tzi(-360) << u"(UTC+06:00) Bishkek"_s;
    QTest::newRow("key names ignore case")
        << u"tokyo standard time"_s << Tzi(-540) << u"(UTC+09:00) Osaka, Sapporo, Tokyo"_s;
}

void LinuxTimeZoneSourceTest::knownZones()
{
    QFETCH(QString, key);
    QFETCH(TziFormat, tzi);
    QFETCH(QString, display);

    const LinuxTimeZoneSource source(Year, u"/usr/share/zoneinfo/"_s);
    TimeZoneValues values;
    QVERIFY(source.ReadZone(key, values));
    QCOMPARE(values.tzi.Bias, tzi.Bias);
    QCOMPARE(values.tzi.StandardBias, 0);
    QCOMPARE(values.tzi.DaylightBias, tzi.DaylightBias);
    QVERIFY(values.tzi.StandardDate == tzi.StandardDate);
    QVERIFY(values.tzi.DaylightDate == tzi.DaylightDate);
    QCOMPARE(values.display, display);
    QCOMPARE(values.standardName.toLower(), key.toLower());
}

void LinuxTimeZoneSourceTest::negativeDaylightSavingCountsAsWinter()
{
    // tzdata keeps Irish summer time as the standard and winter as a negative saving.
    const TziFormat dublin = LinuxTimeZoneSource::RulesForYear(QTimeZone("Europe/Dublin"), Year);
    QVERIFY(dublin == Tzi(0, -60, Rule(10, 0, 5, 2, 0), Rule(3, 0, 5, 1, 0)));
}

void LinuxTimeZoneSourceTest::everyKeyIsAWindowsIdWithRules()
{
    const LinuxTimeZoneSource source;
    const QStringList keys = source.ZoneKeys();
    QCOMPARE(keys.size(), 139);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys.at(i);
        QVERIFY2(!QTimeZone::windowsIdToDefaultIanaId(key.toLatin1()).isEmpty(), qPrintable(key));
        if (i > 0)
            QVERIFY2(keys.at(i - 1).compare(key, Qt::CaseInsensitive) < 0, qPrintable(key));
        TimeZoneValues values;
        QVERIFY2(source.ReadZone(key, values), qPrintable(key));
        const int east = -values.tzi.Bias;
        QVERIFY2(east >= -12 * 60 && east <= 14 * 60, qPrintable(key));
        QVERIFY2(values.display.startsWith(LinuxTimeZoneSource::DisplayText(east, QString())),
                 qPrintable(values.display));
        const bool switches = values.tzi.DaylightDate.month != 0;
        QCOMPARE(values.tzi.StandardDate.month != 0, switches);
        QCOMPARE(values.tzi.DaylightBias != 0, switches);
    }
    TimeZoneValues values;
    QVERIFY(!source.ReadZone(u"Atlantis Standard Time"_s, values));
}

void LinuxTimeZoneSourceTest::pcZoneUnderAnySpelling_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QString>("standardName");
    QTest::addColumn<int>("bias");

    QTest::newRow("Tokyo") << "Asia/Tokyo"_ba << u"Tokyo Standard Time"_s << -540;
    QTest::newRow("Kolkata, new spelling") << "Asia/Kolkata"_ba << u"India Standard Time"_s << -330;
    QTest::newRow("Calcutta, old spelling") << "Asia/Calcutta"_ba << u"India Standard Time"_s << -330;
    QTest::newRow("Kyiv") << "Europe/Kyiv"_ba << u"FLE Standard Time"_s << -120;
    QTest::newRow("Nuuk") << "America/Nuuk"_ba << u"Greenland Standard Time"_s << 120;
    QTest::newRow("Kathmandu") << "Asia/Kathmandu"_ba << u"Nepal Standard Time"_s << -345;
    QTest::newRow("Yangon") << "Asia/Yangon"_ba << u"Myanmar Standard Time"_s << -390;
    QTest::newRow("New York") << "America/New_York"_ba << u"Eastern Standard Time"_s << 300;
    QTest::newRow("Dublin") << "Europe/Dublin"_ba << u"GMT Standard Time"_s << 0;
}

void LinuxTimeZoneSourceTest::pcZoneUnderAnySpelling()
{
    QFETCH(QByteArray, tz);
    QFETCH(QString, standardName);
    QFETCH(int, bias);

    const ScopedEnvironmentVariable zone("TZ", tz);
    QCOMPARE(QTimeZone::systemTimeZoneId(), tz);
    const LinuxTimeZoneSource source;
    const CurrentTimeZone current = source.CurrentZone();
    QCOMPARE(current.standardName, standardName);
    QCOMPARE(current.bias, bias);
    QCOMPARE(current.standardBias, 0);
    QCOMPARE(source.WindowsIdFor(tz), standardName);
}

void LinuxTimeZoneSourceTest::pcZoneFoundByRulesWhenNoIdMaps()
{
    // Without tzdata's link list the new spelling maps to nothing; the zone keeping the same time
    // this year stands in. Chihuahua's id still maps to the -07:00 zone it left in 2022.
    for (const QByteArray& tz : {"Asia/Kolkata"_ba, "America/Chihuahua"_ba}) {
        const ScopedEnvironmentVariable zone("TZ", tz);
        const LinuxTimeZoneSource source(Year, u"/nonexistent/"_s);
        const CurrentTimeZone current = source.CurrentZone();
        TimeZoneValues values;
        QVERIFY2(source.ReadZone(current.standardName, values), tz.constData());
        QVERIFY(values.tzi == LinuxTimeZoneSource::RulesForYear(QTimeZone(tz), Year));
        QCOMPARE(current.bias, values.tzi.Bias);
    }
    const ScopedEnvironmentVariable zone("TZ", "America/Chihuahua"_ba);
    QCOMPARE(LinuxTimeZoneSource().CurrentZone().bias, 360);
}

QTEST_GUILESS_MAIN(LinuxTimeZoneSourceTest)
#include "LinuxTimeZoneSourceTest.moc"
