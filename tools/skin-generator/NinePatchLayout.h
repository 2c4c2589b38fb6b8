#pragma once

#include <QImage>
#include <QSize>

// Where the one-pixel border of a stretchable image carries its black markers. Positions are
// image coordinates (the border included); -1 leaves a marker or a content run out.
struct NinePatchLayout
{
    QSize size;
    int stretchColumn = -1;   // x of the marker in the top row
    int stretchRow = -1;      // y of the marker in the left column
    int contentFirstRow = -1; // black run in the right column
    int contentLastRow = -1;
    int contentFirstColumn = -1; // black run in the bottom row
    int contentLastColumn = -1;

    // The drawn look without the border.
    QSize InnerSize() const { return size - QSize(2, 2); }
};

// Frames `inner` (innerSize() pixels, any format) with the transparent white border and its
// black markers. The result is non-premultiplied ARGB32, so the border keeps RGB 255 where alpha is
// 0; a premultiplied image would turn it into black and every border pixel into a marker.
// Returns a null image when `inner` does not have the layout's inner size.
QImage ComposeNinePatch(const QImage& inner, const NinePatchLayout& layout);
