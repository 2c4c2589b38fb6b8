#include "device/CTimeZoneInfoManager.h"

#include "platform/DebugOutput.h"
#include "platform/PlatformServices.h"
#include "settings/AnsiCodePage.h"
#include "settings/SettingsRecord.h"

#include <QStringView>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString Capped(const QString& text, int capacity)
{
    return text.left(capacity - 1);
}

// Plain UTF-16 code unit order, shorter prefix first: the same on every platform and locale.
bool CodeUnitsLess(const QString& a, const QString& b)
{
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
}

} // namespace

CTimeZoneInfoManager::CTimeZoneInfoManager() : CTimeZoneInfoManager(PlatformServices::Instance().TimeZones())
{}

CTimeZoneInfoManager::CTimeZoneInfoManager(std::shared_ptr<const TimeZoneSource> source)
    : m_source(std::move(source))
{
    Load();
}

CTimeZoneInfoManager::~CTimeZoneInfoManager() = default;

const QStringList& CTimeZoneInfoManager::ExcludedPrefixes()
{
    static const QStringList prefixes{
        u"Argentina"_s, u"Armenian"_s, u"Bahia"_s,     u"Bangladesh"_s, u"Jordan"_s,      u"Kaliningrad"_s,
        u"Kamchatka"_s, u"Magadan"_s,  u"Mauritius"_s, u"Mexico"_s,     u"Middle East"_s, u"Montevideo"_s,
        u"Morocco"_s,   u"Syria"_s,    u"Turkey"_s,    u"UTC"_s,        u"Venezuela"_s,
    };
    return prefixes;
}

void CTimeZoneInfoManager::Exclude(QStringList& keys)
{
    for (const QString& prefix : ExcludedPrefixes()) {
        // A removal restarts the scan for the same prefix from the start of the list.
        bool removed = true;
        while (removed) {
            removed = false;
            for (qsizetype i = 0; i < keys.size(); ++i) {
                const QString& key = keys.at(i);
                if (QStringView(key).left(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0) {
                    keys.removeAt(i);
                    removed = true;
                    break;
                }
            }
        }
    }
}

void CTimeZoneInfoManager::Load()
{
    if (!m_source)
        return;
    m_keyList = m_source->ZoneKeys();
    Exclude(m_keyList);

    for (qsizetype i = 0; i < m_keyList.size(); ++i) {
        const QString& key = m_keyList.at(i);
        TimeZoneValues values;
        if (!m_source->ReadZone(key, values))
            continue;
        auto entry = std::make_unique<CRegTimeZoneInfo>();
        entry->display_name = Capped(values.display, CRegTimeZoneInfo::DisplayNameCapacity);
        entry->standard_name = Capped(values.standardName, CRegTimeZoneInfo::StandardNameCapacity);
        entry->tzi = values.tzi;
        entry->tzi.Bias = -entry->tzi.Bias;
        entry->tzi.DaylightBias = -entry->tzi.DaylightBias;
        entry->key_name = Capped(key, CRegTimeZoneInfo::KeyNameCapacity);
        DebugOutput(u"\t%1\t[%2]\t[%3]\tBias[%4]\tDaylightBias[%5]\n"_s.arg(
            QString::number(i), entry->key_name, entry->display_name, QString::number(entry->tzi.Bias),
            QString::number(entry->tzi.DaylightBias)));
        m_entries.push_back(std::move(entry));
    }

    std::stable_sort(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
        if (a->tzi.Bias != b->tzi.Bias)
            return a->tzi.Bias > b->tzi.Bias;
        return CodeUnitsLess(a->standard_name, b->standard_name);
    });
}

int CTimeZoneInfoManager::FindZone(const QString& name, int bias) const
{
    if (name.isEmpty()) {
        for (int i = 0; i < Count(); ++i) {
            if (Entry(i).tzi.Bias == bias)
                return i;
        }
        return -1;
    }
    constexpr int compared = CRegTimeZoneInfo::DisplayNameCapacity;
    int lastBiasMatch = 0;
    for (int i = 0; i < Count(); ++i) {
        const CRegTimeZoneInfo& entry = Entry(i);
        if (entry.tzi.Bias != bias)
            continue;
        if (QStringView(entry.key_name).left(compared) == QStringView(name).left(compared))
            return i;
        lastBiasMatch = i;
    }
    return lastBiasMatch;
}

int CTimeZoneInfoManager::FindSystemZone() const
{
    return std::max(0, SystemZoneRow(false));
}

int CTimeZoneInfoManager::SystemZoneRow(bool byOffset) const
{
    if (!m_source)
        return -1;
    const CurrentTimeZone current = m_source->CurrentZone();
    const int bias = -current.bias;
    constexpr int compared = 64;
    for (int i = 0; i < Count(); ++i) {
        const CRegTimeZoneInfo& entry = Entry(i);
        if (entry.tzi.Bias == bias && entry.tzi.StandardBias == current.standardBias &&
            QStringView(entry.standard_name).left(compared) ==
                QStringView(current.standardName).left(compared))
            return i;
    }
    // A PC in a zone the camera does not handle (UTC, Turkey, Argentina ...) is better served by
    // a zone with its offset than by the catalogue's first row, 14 hours east.
    return byOffset ? FindZone(QString(), bias) : -1;
}

int CTimeZoneInfoManager::SelectFromRecord(SettingsRecord& record) const
{
    const QString name = record.Text(Field::time_zone_name);
    const int bias = record.Int32(Field::time_zone_bias);
    DebugOutput(u"TimeZone Read  [%1] Bias[%2]\n"_s.arg(name, QString::number(bias)));
    if (!name.isEmpty() || bias != 0) {
        const int row = FindZone(name, bias);
        return row == -1 ? std::max(0, SystemZoneRow(true)) : row;
    }
    const int row = std::max(0, SystemZoneRow(true));
    WriteZone(row, record);
    return row;
}

void CTimeZoneInfoManager::StoreSelection(int row, SettingsRecord& record) const
{
    if (!WriteZone(row, record))
        return;
    DebugOutput(u"TimeZone [%1] Bias[%2]\n"_s.arg(Entry(row).key_name,
                                                  QString::number(record.Int32(Field::time_zone_bias))));
}

bool CTimeZoneInfoManager::WriteZone(int row, SettingsRecord& record) const
{
    if (row < 0 || row >= Count())
        return false;
    const CRegTimeZoneInfo& entry = Entry(row);
    // The camera reads a NUL-terminated name, so at most 31 bytes of it fit.
    const FieldSpec& field = Field::time_zone_name;
    record.SetBytes(field, AnsiCodePage::FromUnicode(entry.key_name).left(field.width - 1));
    record.SetInt32(Field::time_zone_bias, entry.tzi.Bias);
    return true;
}
