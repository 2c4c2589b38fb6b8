#pragma once

#include <QImage>
#include <QRgb>

// One function per image family. Stretchable images come back with their marker border
// (non-premultiplied ARGB32), natural-size images as ARGB32, the flat swatches as RGB888.
namespace SkinImages {

enum class ControlState
{
    Normal,
    Hover,
    Pressed,
    Selected,
};

enum class TabPosition
{
    Left,
    Middle,
    Right,
};

enum class RoundedCorners
{
    LowerLeft,
    LowerRight,
    BothLower,
};

enum class DotPattern
{
    FadeOutward, // brightest at the outer ends
    Wave,        // brightest in the middle of the left strip, at the ends of the right one
    Alternate,   // left strip full, right strip every other dot
};

// 14 x 39 stretchable tab; Selected is the chosen page's tab.
QImage Tab(TabPosition position, ControlState state);

// 29 x 26 caption tile with a bar (minimise).
QImage MinimiseTile(ControlState state);

// 29 x 26 (one rounded corner) or 30 x 26 (both) caption tile with a cross (close).
QImage CloseTile(ControlState state, RoundedCorners corners);

// 15 x 31 stretchable push button.
QImage PushButton(ControlState state);

// 29 x 148 stretchable dark panel with a lighter middle section.
QImage Panel();

// 197 x 94 grid chart with a rising and a falling red line, optionally a green level line.
QImage Chart(bool withLevelLine);

// 48 x 30 flat opaque colour, stored without alpha.
QImage Swatch(QRgb colour);

// 231 x 16: two pill-shaped strips of seven dots.
QImage DotStrips(DotPattern pattern);

// 5 x 17 stretchable segment of the memory bar chart.
QImage BarSegment(QRgb colour);

// 29 x 101 stretchable main window background.
QImage WindowBackground();

// 256 x 256 program icon: a dash cam seen from the front.
QImage ProgramIcon();

} // namespace SkinImages
