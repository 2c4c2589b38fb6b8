#pragma once

class QWidget;

// Formats the memory card at CardRoot while keeping the camera's files: saves them into the
// program's folder, runs the format on a worker thread behind the modal progress window, puts
// them back and tells the user how it went. Runs on the user-interface thread.
class CardFormatProcedure final
{
public:
    CardFormatProcedure() = delete;

    // The viewer hand-shake and the format, as the memory card page runs them on Yes.
    static void HandshakeAndFormat(QWidget* owner);
    static void RunCardFormat(QWidget* owner);
};
