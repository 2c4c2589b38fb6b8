#include "platform/linux/LinuxTimeZoneSource.h"

#include "platform/linux/WindowsZoneTable.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A switch moment (local wall-clock time just before it) as a yearly Windows rule.
SystemTime RuleDate(const QDateTime& wallClock)
{
    const QDate date = wallClock.date();
    const QTime time = wallClock.time();
    SystemTime rule;
    rule.month = quint16(date.month());
    rule.day_of_week = quint16(date.dayOfWeek() % 7);
    rule.day = quint16(date.day() + 7 > date.daysInMonth() ? 5 : (date.day() - 1) / 7 + 1);
    rule.hour = quint16(time.hour());
    rule.minute = quint16(time.minute());
    rule.second = quint16(time.second());
    return rule;
}

} // namespace

LinuxTimeZoneSource::LinuxTimeZoneSource()
    : LinuxTimeZoneSource(QDate::currentDate().year(), u"/usr/share/zoneinfo/"_s)
{}

LinuxTimeZoneSource::LinuxTimeZoneSource(int year, QString zoneInfoFolder)
    : m_year(year), m_zoneInfoFolder(std::move(zoneInfoFolder))
{}

QStringList LinuxTimeZoneSource::ZoneKeys() const
{
    QStringList keys;
    for (const WindowsZone& zone : WindowsZones())
        keys.append(QString::fromUtf16(zone.windowsId));
    return keys;
}

const WindowsZone* LinuxTimeZoneSource::Find(const QString& key)
{
    // Registry key names ignore case.
    const auto zones = WindowsZones();
    const auto found = std::find_if(zones.begin(), zones.end(), [&key](const WindowsZone& zone) {
        return key.compare(QStringView(zone.windowsId), Qt::CaseInsensitive) == 0;
    });
    return found == zones.end() ? nullptr : &*found;
}

bool LinuxTimeZoneSource::ReadZone(const QString& key, TimeZoneValues& values) const
{
    const WindowsZone* zone = Find(key);
    if (!zone)
        return false;
    const QTimeZone rules(QByteArray(zone->ianaId));
    if (!rules.isValid())
        return false;
    values.tzi = RulesForYear(rules, m_year);
    values.display = DisplayText(-values.tzi.Bias, QString::fromUtf16(zone->cities));
    // Windows' own standard names are not in CLDR; for all but a few zones they equal the id.
    values.standardName = QString::fromUtf16(zone->windowsId);
    return true;
}

CurrentTimeZone LinuxTimeZoneSource::CurrentZone() const
{
    const QTimeZone system = QTimeZone::systemTimeZone();
    const TziFormat rules = RulesForYear(system, m_year);
    CurrentTimeZone current;
    current.bias = rules.Bias;
    current.standardBias = rules.StandardBias;
    current.standardName = QString::fromLatin1(system.id());

    // The id's own Windows zone, when its rules still are the PC's (a zone can change its
    // offset after the mapping was made); otherwise the first zone that keeps the same time.
    TimeZoneValues values;
    const QString mapped = WindowsIdFor(system.id());
    if (!mapped.isEmpty() && ReadZone(mapped, values) && values.tzi == rules) {
        current.standardName = values.standardName;
        return current;
    }
    for (const WindowsZone& zone : WindowsZones()) {
        if (ReadZone(QString::fromUtf16(zone.windowsId), values) && values.tzi == rules) {
            current.standardName = values.standardName;
            break;
        }
    }
    return current;
}

QString LinuxTimeZoneSource::WindowsIdFor(const QByteArray& ianaId) const
{
    if (ianaId.isEmpty())
        return QString();
    // Qt's table knows only one spelling of many zones, often the older one.
    QList<QByteArray> candidates{ianaId};
    if (QTimeZone::ianaIdToWindowsId(ianaId).isEmpty())
        candidates += OtherSpellings(ianaId);
    for (const QByteArray& candidate : std::as_const(candidates)) {
        const QString windowsId = QString::fromLatin1(QTimeZone::ianaIdToWindowsId(candidate));
        if (const WindowsZone* zone = windowsId.isEmpty() ? nullptr : Find(windowsId))
            return QString::fromUtf16(zone->windowsId);
    }
    return QString();
}

QList<QByteArray> LinuxTimeZoneSource::OtherSpellings(const QByteArray& ianaId) const
{
    // tzdata.zi lists every link as "L <target> <link>".
    QFile file(m_zoneInfoFolder + u"tzdata.zi"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<std::pair<QByteArray, QByteArray>> links;
    QByteArray target = ianaId;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith("L "))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        links.append({fields.at(1), fields.at(2)});
        if (fields.at(2) == ianaId)
            target = fields.at(1);
    }
    QList<QByteArray> spellings;
    if (target != ianaId)
        spellings.append(target);
    for (const auto& [linkTarget, link] : std::as_const(links)) {
        if (linkTarget == target && link != ianaId)
            spellings.append(link);
    }
    return spellings;
}

TziFormat LinuxTimeZoneSource::RulesForYear(const QTimeZone& zone, int year)
{
    const QDateTime start(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime end = QDateTime(QDate(year + 1, 1, 1), QTime(0, 0), Qt::UTC).addMSecs(-1);
    const QTimeZone::OffsetDataList transitions = zone.transitions(start, end);

    const int startOffset = zone.offsetFromUtc(start);
    int low = startOffset;
    int high = startOffset;
    for (const QTimeZone::OffsetData& transition : transitions) {
        low = std::min(low, transition.offsetFromUtc);
        high = std::max(high, transition.offsetFromUtc);
    }

    // Daylight saving is a year that moves to the higher offset and back. The lower offset is
    // standard time even where tzdata calls it a negative daylight saving (Ireland's winter):
    // Windows counts it that way. Looking at transitions rather than hasDaylightTime() keeps
    // zones that kept daylight saving long ago (Tokyo in 1948) without switch dates.
    bool toDaylightSeen = false;
    bool toStandardSeen = false;
    TziFormat tzi;
    int previous = startOffset;
    for (const QTimeZone::OffsetData& transition : transitions) {
        const QDateTime wallClock = transition.atUtc.addSecs(previous);
        if (high != low && previous == low && transition.offsetFromUtc == high && !toDaylightSeen) {
            tzi.DaylightDate = RuleDate(wallClock);
            toDaylightSeen = true;
        } else if (high != low && previous == high && transition.offsetFromUtc == low && !toStandardSeen) {
            tzi.StandardDate = RuleDate(wallClock);
            toStandardSeen = true;
        }
        previous = transition.offsetFromUtc;
    }
    if (toDaylightSeen && toStandardSeen) {
        tzi.Bias = -low / 60;
        tzi.DaylightBias = -(high - low) / 60;
    } else {
        // No daylight saving this year; a zone that moved for good keeps its new offset.
        tzi = TziFormat();
        tzi.Bias = -previous / 60;
    }
    return tzi;
}

QString LinuxTimeZoneSource::DisplayText(int minutesEast, const QString& cities)
{
    const int magnitude = std::abs(minutesEast);
    const QChar sign = minutesEast < 0 ? u'-' : u'+';
    const QChar zero = u'0';
    return u"(UTC"_s + sign + u"%1:%2) "_s.arg(magnitude / 60, 2, 10, zero).arg(magnitude % 60, 2, 10, zero) +
           cities;
}
