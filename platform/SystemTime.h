#pragma once

#include <QtGlobal>

// A date and time laid out like the Windows SYSTEMTIME, as both the camera's time.dat clock and
// the yearly switch rules of the PC's time zone database keep them. day_of_week runs from 0
// (Sunday) to 6.
struct SystemTime
{
    quint16 year = 0;
    quint16 month = 0;
    quint16 day_of_week = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    bool operator==(const SystemTime&) const = default;
};
