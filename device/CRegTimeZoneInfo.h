#pragma once

#include "platform/TimeZoneSource.h"

#include <QString>

// One zone of the catalogue. Once loaded, tzi.Bias counts minutes east of UTC (UTC+9 is 540),
// the value the settings block stores, and tzi.DaylightBias the minutes daylight saving adds.
struct CRegTimeZoneInfo
{
    // Text capacities, terminator included, of the fixed-size record the catalogue was made for.
    static constexpr int KeyNameCapacity = 255;
    static constexpr int DisplayNameCapacity = 510;
    static constexpr int StandardNameCapacity = 255;

    QString key_name;
    QString display_name;
    QString standard_name;
    TziFormat tzi;
};
