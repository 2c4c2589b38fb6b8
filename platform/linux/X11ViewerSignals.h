#pragma once

#include "platform/ViewerSignals.h"

#include <QString>
#include <optional>

// The viewer's window messages and named events on Linux.
//
// A window message is an X11 ClientMessage sent to the window, of type "DASHCAM_WINDOW_MESSAGE"
// and format 32, with data.l[0] = message number, data.l[1] = wParam and data.l[2] = lParam
// (both truncated to 32 bits). The X server hands it to the program that created the window.
//
// A named event is the POSIX named semaphore "/" + name (for "EVENT_FILE_PARSING" the file
// /dev/shm/sem.EVENT_FILE_PARSING). The viewer creates it; it signals the event with sem_post().
// Opening never creates it, so a viewer that does not use the event is never waited for.
class X11ViewerSignals final : public ViewerSignals
{
public:
    // The display named by $DISPLAY at the time of each message; semaphores by their own name.
    X11ViewerSignals() = default;
    // A given display, and a prefix put before every event name (tests keep to their own names).
    X11ViewerSignals(QString displayName, QString eventPrefix);

    bool PostWindowMessage(quint64 window, quint32 message, quint64 wParam, qint64 lParam) const override;
    std::unique_ptr<NamedEvent> OpenEvent(const QString& name) const override;

    static constexpr const char* MessageAtomName = "DASHCAM_WINDOW_MESSAGE";
    // The semaphore name an event name maps to.
    QByteArray SemaphoreName(const QString& name) const;

private:
    std::optional<QString> m_displayName;
    QString m_eventPrefix;
};
