#pragma once

class SettingsRecord;
struct DeviceClock;

// What Save did to the card, so the window can tell the user the truth.
enum class CardSaveResult
{
    Saved,            // setup.cfg written, time.dat written or removed as the clock asks
    NoSettingsFile,   // the card holds no settings file to save into: nothing was written
    SettingsNotSaved, // setup.cfg could not be written; time.dat was not touched
    ClockNotSaved,    // setup.cfg written, but time.dat could not be written or removed
};

// Writes the record to CardRoot + "setup.cfg", then writes or removes CardRoot + "time.dat".
// offsetMinutes is the PC's standard-time offset for the clock line.
CardSaveResult SaveToCard(SettingsRecord& record, const DeviceClock& clock, int offsetMinutes);
CardSaveResult SaveToCard(SettingsRecord& record);
