#include "tools/skin-generator/NinePatchLayout.h"

#include <QPainter>

namespace {

constexpr QRgb BorderBlank = qRgba(255, 255, 255, 0);
constexpr QRgb BorderMarker = qRgba(0, 0, 0, 255);

bool InRun(int value, int first, int last)
{
    return first >= 0 && value >= first && value <= last;
}

} // namespace

QImage ComposeNinePatch(const QImage& inner, const NinePatchLayout& layout)
{
    if (inner.size() != layout.InnerSize() || layout.InnerSize().isEmpty())
        return {};

    const int width = layout.size.width();
    const int height = layout.size.height();
    QImage image(layout.size, QImage::Format_ARGB32);
    image.fill(BorderBlank);

    // Copy the look pixel by pixel: a painter would composite and could touch the border.
    const QImage look = inner.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < look.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(look.constScanLine(y));
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y + 1));
        std::copy(source, source + look.width(), target + 1);
    }

    // Corners never carry a marker.
    if (layout.stretchColumn > 0 && layout.stretchColumn < width - 1)
        image.setPixel(layout.stretchColumn, 0, BorderMarker);
    if (layout.stretchRow > 0 && layout.stretchRow < height - 1)
        image.setPixel(0, layout.stretchRow, BorderMarker);
    for (int y = 1; y < height - 1; ++y) {
        if (InRun(y, layout.contentFirstRow, layout.contentLastRow))
            image.setPixel(width - 1, y, BorderMarker);
    }
    for (int x = 1; x < width - 1; ++x) {
        if (InRun(x, layout.contentFirstColumn, layout.contentLastColumn))
            image.setPixel(x, height - 1, BorderMarker);
    }
    return image;
}
