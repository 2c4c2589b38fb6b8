#include "skin/OffscreenSurface.h"

#include <QPainter>
#include <utility>

bool OffscreenSurface::Create(int width, int height)
{
    if (IsCreated() || width <= 0 || height <= 0)
        return false;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return false;
    image.fill(Qt::transparent);
    m_image = std::move(image);
    return true;
}

void OffscreenSurface::Release()
{
    m_image = QImage();
}

void OffscreenSurface::CopyFrom(const QImage& source, int sourceX, int sourceY)
{
    if (!IsCreated() || source.isNull())
        return;
    const QRect wanted(sourceX, sourceY, Width(), Height());
    const QRect available = wanted.intersected(source.rect());
    if (available.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(available.topLeft() - wanted.topLeft(), source, available);
}
