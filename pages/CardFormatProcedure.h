#pragma once

#include "device/CardFormat.h"

#include <QString>
#include <chrono>

class QWidget;

// Formats the memory card at CardRoot while keeping the camera's files: saves them into the
// program's folder, runs the format on a worker thread behind the modal progress window, puts
// them back and tells the user how it went. Runs on the user-interface thread.
class CardFormatProcedure final
{
public:
    CardFormatProcedure() = delete;

    // What the procedure takes from its surroundings; tests change it and put it back.
    struct Environment
    {
        QString programFile; // the running program; empty = this process's program file
        std::chrono::milliseconds finalPause{1000};
        CardFormat::CapacityQuery capacity; // empty = the card file system's own
        std::chrono::milliseconds viewerWaitBound{30000};
    };
    static Environment& Current();

    // The viewer hand-shake and the format, as the memory card page runs them on Yes.
    static void HandshakeAndFormat(QWidget* owner);
    static void RunCardFormat(QWidget* owner);
};
