#include "settings/CardSave.h"

#include "settings/CardRoot.h"
#include "settings/ClockFile.h"
#include "settings/DeviceClock.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QFileInfo>

CardSaveResult SaveToCard(SettingsRecord& record, const DeviceClock& clock, int offsetMinutes)
{
    const QString settingsPath = CardRoot::Instance().Path(u"setup.cfg");
    // A block of no bytes (no setup.cfg and no default.cfg were found) would become an empty
    // setup.cfg and the user's edits would vanish without a word. An existing file, even an empty
    // one the camera left, is written as usual: its bytes stay as they were.
    // A missing card folder is left to the write, which fails like any other unwritable card.
    const quint32 size = record.UInt32(Field::record_size);
    if (size == 0 && QFileInfo(CardRoot::Instance().Folder()).isDir() && !QFileInfo::exists(settingsPath))
        return CardSaveResult::NoSettingsFile;
    if (!SaveSettingsFile(record, settingsPath))
        return CardSaveResult::SettingsNotSaved;
    if (!WriteClockFile(clock, CardRoot::Instance().Path(u"time.dat"), offsetMinutes))
        return CardSaveResult::ClockNotSaved;
    return CardSaveResult::Saved;
}

CardSaveResult SaveToCard(SettingsRecord& record)
{
    return SaveToCard(record, DeviceClock::Instance(), StandardTimeOffsetMinutes());
}
