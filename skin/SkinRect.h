#pragma once

#include <QRect>

// A rectangle as left, top, right, bottom with right and bottom exclusive. Skin geometry
// (content rectangles, text rectangles, control placements) is written this way, and the
// arithmetic of the skin rules depends on the exclusive edges, so it is kept apart from
// QRect, whose right() and bottom() are inclusive.
struct SkinRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    static SkinRect FromQRect(const QRect& rect)
    {
        return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    }

    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};
