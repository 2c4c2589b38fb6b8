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
QImage tab(TabPosition position, ControlState state);

// 29 x 26 caption tile with a bar (minimise).
QImage minimiseTile(ControlState state);

// 29 x 26 (one rounded corner) or 30 x 26 (both) caption tile with a cross (close).
QImage closeTile(ControlState state, RoundedCorners corners);

// 15 x 31 stretchable push button.
QImage pushButton(ControlState state);

// 29 x 148 stretchable dark panel with a lighter middle section.
QImage panel();

// 197 x 94 grid chart with a rising and a falling red line, optionally a green level line.
QImage chart(bool withLevelLine);

// 48 x 30 flat opaque colour, stored without alpha.
QImage swatch(QRgb colour);

// 231 x 16: two pill-shaped strips of seven dots.
QImage dotStrips(DotPattern pattern);

// 5 x 17 stretchable segment of the memory bar chart.
QImage barSegment(QRgb colour);

// 29 x 101 stretchable main window background.
QImage windowBackground();

// 256 x 256 program icon: a dash cam seen from the front.
QImage programIcon();

} // namespace SkinImages
