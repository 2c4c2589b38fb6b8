#pragma once

#include "platform/SystemTime.h"

// The date and time to hand to the camera through time.dat, plus the flag that decides whether
// Save writes the file or deletes it. One per process.
struct DeviceClock : SystemTime
{
    bool is_set = false;

    bool operator==(const DeviceClock&) const = default;

    static DeviceClock& Instance();
};
