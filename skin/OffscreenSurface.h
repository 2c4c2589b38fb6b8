#pragma once

#include <QImage>

// A drawing surface of fixed size that a control renders its looks into once and then only
// copies from. A new surface is fully transparent (not black): skin images drawn into it
// keep their own per-pixel alpha, so when the surface is later composed source-over onto a
// background, transparent and partly transparent skin pixels (rounded corners, soft edges)
// show that background instead of a black fringe.
class OffscreenSurface final
{
    Q_DISABLE_COPY_MOVE(OffscreenSurface)

public:
    OffscreenSurface() = default;
    ~OffscreenSurface() = default;

    // Fails, keeping the surface as it is, when it already exists, when a side is not
    // positive or when the pixels cannot be allocated.
    bool Create(int width, int height);
    void Release();

    bool IsCreated() const { return !m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }

    // Format_ARGB32_Premultiplied; null while the surface is not created.
    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    // Replaces the surface's pixels with the surface-sized area of `source` whose top left
    // corner is (sourceX, sourceY). Surface pixels that area does not cover keep their content.
    void CopyFrom(const QImage& source, int sourceX, int sourceY);

private:
    QImage m_image;
};
