#pragma once

#include "device/CRegTimeZoneInfo.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class SettingsRecord;
class TimeZoneSource;

// The PC's time zones the camera can be set to: read once, without the zones the camera does not
// handle, sorted from the easternmost to the westernmost. Also maps the settings block's zone
// fields onto a catalogue row and back.
class CTimeZoneInfoManager final
{
public:
    // Loads from the platform's time zone database.
    CTimeZoneInfoManager();
    explicit CTimeZoneInfoManager(std::shared_ptr<const TimeZoneSource> source);
    ~CTimeZoneInfoManager();
    Q_DISABLE_COPY_MOVE(CTimeZoneInfoManager)

    int Count() const { return int(m_entries.size()); }
    const CRegTimeZoneInfo& Entry(int index) const { return *m_entries.at(size_t(index)); }
    // The zone ids that survived the exclusion, in the database's order.
    const QStringList& KeyList() const { return m_keyList; }

    // The row for a stored name and bias; -1 only when the name is empty and no zone has the bias.
    int FindZone(const QString& name, int bias) const;
    // The row of the PC's own zone, 0 when it is not in the catalogue.
    int FindSystemZone() const;

    // The row to show for the block's zone fields. An unset zone (empty name, bias 0) becomes
    // the PC's zone and is written into the block; any other value leaves the block as it is.
    // Where the PC's own zone is one the catalogue leaves out, the first zone with its offset
    // stands for it.
    int SelectFromRecord(SettingsRecord& record) const;
    // Writes the zone of the row the user picked into the block's zone fields.
    void StoreSelection(int row, SettingsRecord& record) const;

    // Drops the ids the camera does not handle, by their case-insensitive prefixes.
    static void Exclude(QStringList& keys);
    static const QStringList& ExcludedPrefixes();

private:
    void Load();
    bool WriteZone(int row, SettingsRecord& record) const;
    // The PC's zone; else, with byOffset, the first zone at its offset; else -1.
    int SystemZoneRow(bool byOffset) const;

    std::shared_ptr<const TimeZoneSource> m_source;
    QStringList m_keyList;
    std::vector<std::unique_ptr<CRegTimeZoneInfo>> m_entries;
};
