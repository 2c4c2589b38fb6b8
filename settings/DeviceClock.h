#pragma once

#include <QtGlobal>

// The date and time to hand to the camera through time.dat, laid out like a SYSTEMTIME, plus
// the flag that decides whether Save writes the file or deletes it. One per process.
struct DeviceClock
{
    bool is_set = false;
    quint16 year = 0;
    quint16 month = 0;
    quint16 day_of_week = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    static DeviceClock& Instance();
};
