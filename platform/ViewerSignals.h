#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

// A named event of another program, opened by its name; the other program signals it.
class NamedEvent
{
public:
    virtual ~NamedEvent() = default;

    // True once the event has been signalled; never blocks.
    virtual bool TryWait() = 0;

protected:
    NamedEvent() = default;
    Q_DISABLE_COPY_MOVE(NamedEvent)
};

// How the program talks to the maker's PC viewer: window messages posted to one of its windows
// and named events the viewer signals.
class ViewerSignals
{
public:
    virtual ~ViewerSignals() = default;

    // Posts message (with its two parameters) to a window found by a WindowFinder and returns at
    // once; false when it could not be delivered.
    virtual bool PostWindowMessage(quint64 window, quint32 message, quint64 wParam, qint64 lParam) const = 0;

    // The event of that name when the viewer has created it, else null.
    virtual std::unique_ptr<NamedEvent> OpenEvent(const QString& name) const = 0;

protected:
    ViewerSignals() = default;
    Q_DISABLE_COPY_MOVE(ViewerSignals)
};
