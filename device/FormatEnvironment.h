#pragma once

#include "device/CardFormat.h"

#include <QString>
#include <chrono>

// What the card format takes from its surroundings, one set per process; tests change it and
// put it back.
struct FormatEnvironment
{
    QString programFile; // the running program; empty = this process's program file
    std::chrono::milliseconds finalPause{1000};
    CardFormat::CapacityQuery capacity; // empty = the card file system's own
    std::chrono::milliseconds viewerWaitBound{30000};

    static FormatEnvironment& Instance();
};
