#pragma once

#include <QtGlobal>

// Whether the program can show a window at all. Asked before the toolkit starts, which cannot
// start without a display.
class DisplayAvailability
{
public:
    virtual ~DisplayAvailability() = default;

    virtual bool IsDisplayAvailable() const = 0;

protected:
    DisplayAvailability() = default;
    Q_DISABLE_COPY_MOVE(DisplayAvailability)
};
