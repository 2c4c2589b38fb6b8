#include "skin/NinePatchRenderer.h"

#include "skin/OffscreenSurface.h"
#include "skin/PngResource.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

NinePatchRenderer* g_renderer = nullptr;

bool IsBlack(QRgb pixel)
{
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

bool IsWhite(QRgb pixel)
{
    return qRed(pixel) == 255 && qGreen(pixel) == 255 && qBlue(pixel) == 255;
}

QRgb PixelAt(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// A strip is one column (horizontal pass) or one row (vertical pass). Strips that fall
// outside either image are skipped, so marker positions from any image stay harmless.
int StripCount(const QImage& image, bool rows)
{
    return rows ? image.height() : image.width();
}

// Strips [first, first + count) of the source go to [at, at + count) of the target; strips
// that fall outside either image are left out.
void CopyStrips(const QImage& source, int first, int count, QImage& target, int at, bool rows)
{
    const int begin = std::max({0, -first, -at});
    const int end = std::min({count, StripCount(source, rows) - first, StripCount(target, rows) - at});
    if (begin >= end)
        return;
    if (rows) {
        const size_t bytes = sizeof(QRgb) * size_t(std::min(source.width(), target.width()));
        for (int i = begin; i < end; ++i)
            std::memcpy(target.scanLine(at + i), source.constScanLine(first + i), bytes);
        return;
    }
    const int lines = std::min(source.height(), target.height());
    for (int y = 0; y < lines; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(y)) + first + begin;
        QRgb* to = reinterpret_cast<QRgb*>(target.scanLine(y)) + at + begin;
        std::memcpy(to, from, sizeof(QRgb) * size_t(end - begin));
    }
}

// Repeats one strip `count` times: a stretched column or row is a plain pixel repeat.
void RepeatStrip(const QImage& source, int index, QImage& target, int at, int count, bool rows)
{
    if (index < 0 || index >= StripCount(source, rows))
        return;
    const int begin = std::max(0, -at);
    const int end = std::min(count, StripCount(target, rows) - at);
    if (begin >= end)
        return;
    if (rows) {
        const size_t bytes = sizeof(QRgb) * size_t(std::min(source.width(), target.width()));
        for (int i = begin; i < end; ++i)
            std::memcpy(target.scanLine(at + i), source.constScanLine(index), bytes);
        return;
    }
    const int lines = std::min(source.height(), target.height());
    for (int y = 0; y < lines; ++y) {
        QRgb* to = reinterpret_cast<QRgb*>(target.scanLine(y)) + at;
        std::fill(to + begin, to + end, PixelAt(source, index, y));
    }
}

// One stretch pass along one axis. With one marker the stretched strip takes up all the
// extra length; with two they share it; with three or more the pass draws nothing.
// `targetLength` is the length the pass stretches to; strips past the target image's own
// length are cut off.
void StretchPass(const QImage& source, QImage& target, int targetLength, const QList<int>& markers,
                 QList<int>& amounts, bool rows)
{
    const int sourceLength = StripCount(source, rows);

    if (rows && sourceLength == targetLength) {
        CopyStrips(source, 0, targetLength, target, 0, rows);
        return;
    }

    switch (markers.size()) {
    case 0:
        CopyStrips(source, 0, targetLength, target, 0, rows);
        break;
    case 1: {
        const int m = markers[0];
        const int s = targetLength - sourceLength + 1;
        CopyStrips(source, 0, m, target, 0, rows);
        RepeatStrip(source, m, target, m, s, rows);
        amounts.append(s);
        CopyStrips(source, m + 1, sourceLength - m, target, m + s, rows);
        break;
    }
    case 2: {
        const int m1 = markers[0];
        const int m2 = markers[1];
        const int s = (targetLength - sourceLength + 2) / 2;
        CopyStrips(source, 0, m1, target, 0, rows);
        RepeatStrip(source, m1, target, m1, s, rows);
        amounts.append(s);
        CopyStrips(source, m1 + 1, m2 - m1 - 1, target, m1 + s, rows);
        RepeatStrip(source, m2, target, m2 + s - 1, s, rows);
        amounts.append(s);
        CopyStrips(source, m2, sourceLength - m2, target, m2 + 2 * s - 1, rows);
        break;
    }
    default:
        break;
    }
}

QImage BlankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull())
        image.fill(Qt::transparent);
    return image;
}

// The content run along the right column (rows) or the bottom row (columns). A run starts
// at the first black pixel; only a run that started past the first pixel ends, at the first
// white pixel after it. Without an end `last` stays -1.
void ContentRun(const QImage& image, bool rows, int& first, int& last)
{
    first = -1;
    last = -1;
    const int length = rows ? image.height() : image.width();
    for (int i = 0; i < length; ++i) {
        const QRgb pixel =
            rows ? PixelAt(image, image.width() - 1, i) : PixelAt(image, i, image.height() - 1);
        if (first == -1) {
            if (IsBlack(pixel))
                first = i;
        } else if (first > 0 && IsWhite(pixel)) {
            last = i - 1;
            break;
        }
    }
}

int StretchedExtent(int first, int last, const QList<int>& markers, const QList<int>& amounts)
{
    int extent = last - first + 1;
    if (amounts.size() != markers.size())
        return extent;
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const int position = markers[i] + 1;
        if (first <= position && position <= last)
            extent += amounts[i];
    }
    return extent;
}

} // namespace

NinePatchRenderer* NinePatchRenderer::Instance()
{
    if (!g_renderer)
        g_renderer = new NinePatchRenderer;
    return g_renderer;
}

void NinePatchRenderer::ReleaseInstance()
{
    delete g_renderer;
    g_renderer = nullptr;
}

bool NinePatchRenderer::DrawImageNatural(OffscreenSurface& surface, int id)
{
    if (!surface.IsCreated())
        return false;
    PngResource png;
    if (!png.LoadPng(id))
        return false;
    QPainter painter(&surface.Image());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, png.Image());
    return true;
}

bool NinePatchRenderer::DrawNinePatch(OffscreenSurface& surface, int id, SkinRect* contentRect)
{
    m_horizontalAmounts.clear();
    m_verticalAmounts.clear();
    m_horizontalMarkers.clear();
    m_verticalMarkers.clear();

    if (!surface.IsCreated())
        return false;
    PngResource png;
    if (!png.LoadPng(id))
        return false;
    const QImage& image = png.Image();
    const int w = image.width();
    const int h = image.height();
    // Without at least one pixel inside the border there is nothing to stretch.
    if (w < 2 || h < 2)
        return false;

    for (int x = 0; x < w; ++x) {
        if (IsBlack(PixelAt(image, x, 0)))
            m_horizontalMarkers.append(x - 1);
    }
    for (int y = 0; y < h; ++y) {
        if (IsBlack(PixelAt(image, 0, y)))
            m_verticalMarkers.append(y - 1);
    }

    const int d = surface.Width();
    const int e = surface.Height();

    // Without the top row and the left column; the content markers stay as the last column
    // and row and are carried through both passes into the extra column and row of P.
    const QImage source = image.copy(1, 1, w - 1, h - 1).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage q = BlankImage(d + 1, h - 1);
    if (source.isNull() || q.isNull())
        return false;
    StretchPass(source, q, d + 1, m_horizontalMarkers, m_horizontalAmounts, false);

    // The vertical pass stretches to E + 1 rows, as into a surface one column and one row
    // larger than the target; writing it straight into the target cuts off that extra column
    // and row (the content markers) without a second full-size image.
    QImage& target = surface.Image();
    target.fill(Qt::transparent);
    StretchPass(q, target, e + 1, m_verticalMarkers, m_verticalAmounts, true);

    if (contentRect)
        *contentRect = ContentRect(image);
    return true;
}

SkinRect NinePatchRenderer::ContentRect(const QImage& image) const
{
    if (image.isNull())
        return {};
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);

    int first = -1;
    int last = -1;
    ContentRun(pixels, true, first, last);
    const int height = StretchedExtent(first, last, m_verticalMarkers, m_verticalAmounts);

    int firstX = -1;
    int lastX = -1;
    ContentRun(pixels, false, firstX, lastX);
    const int width = StretchedExtent(firstX, lastX, m_horizontalMarkers, m_horizontalAmounts);

    return {firstX, first, firstX + width, first + height};
}
