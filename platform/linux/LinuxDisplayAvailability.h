#pragma once

#include "platform/DisplayAvailability.h"

// A Wayland session names its compositor in WAYLAND_DISPLAY; an X display counts only when a
// connection to it succeeds, since a stale DISPLAY would make the toolkit abort.
class LinuxDisplayAvailability final : public DisplayAvailability
{
public:
    LinuxDisplayAvailability() = default;

    bool IsDisplayAvailable() const override;
};
