#pragma once

#include <span>

// The Windows time zone ids the camera understands, in the order Windows lists them, with the
// city part of their display text and the IANA zone whose rules stand for them.
struct WindowsZone
{
    const char16_t* windowsId;
    const char16_t* cities;
    const char* ianaId;
};

std::span<const WindowsZone> WindowsZones();
