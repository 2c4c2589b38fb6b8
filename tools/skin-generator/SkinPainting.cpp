#include "tools/skin-generator/SkinPainting.h"

#include <QColor>
#include <algorithm>
#include <cmath>

namespace SkinPainting {

QImage NewCanvas(const QSize& size)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

QLinearGradient VerticalGradient(const QRectF& rect, QRgb top, QRgb bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, QColor::fromRgba(top));
    gradient.setColorAt(1.0, QColor::fromRgba(bottom));
    return gradient;
}

QPainterPath RoundedRect(const QRectF& rect, qreal topLeft, qreal topRight, qreal bottomRight,
                         qreal bottomLeft)
{
    QPainterPath path;
    path.moveTo(rect.left() + topLeft, rect.top());
    path.lineTo(rect.right() - topRight, rect.top());
    if (topRight > 0)
        path.arcTo(rect.right() - 2 * topRight, rect.top(), 2 * topRight, 2 * topRight, 90, -90);
    path.lineTo(rect.right(), rect.bottom() - bottomRight);
    if (bottomRight > 0)
        path.arcTo(rect.right() - 2 * bottomRight, rect.bottom() - 2 * bottomRight, 2 * bottomRight,
                   2 * bottomRight, 0, -90);
    path.lineTo(rect.left() + bottomLeft, rect.bottom());
    if (bottomLeft > 0)
        path.arcTo(rect.left(), rect.bottom() - 2 * bottomLeft, 2 * bottomLeft, 2 * bottomLeft, 270, -90);
    path.lineTo(rect.left(), rect.top() + topLeft);
    if (topLeft > 0)
        path.arcTo(rect.left(), rect.top(), 2 * topLeft, 2 * topLeft, 180, -90);
    path.closeSubpath();
    return path;
}

QPainterPath RowsOf(const QPainterPath& shape, qreal y, qreal rows)
{
    QPainterPath band;
    band.addRect(shape.boundingRect().left() - 1, y, shape.boundingRect().width() + 2, rows);
    return shape.intersected(band);
}

QRgb Scaled(QRgb colour, qreal factor)
{
    const auto channel = [factor](int value) {
        return std::clamp(static_cast<int>(std::lround(value * factor)), 0, 255);
    };
    return qRgba(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)), qAlpha(colour));
}

QRgb WithAlpha(QRgb colour, int alpha)
{
    return qRgba(qRed(colour), qGreen(colour), qBlue(colour), std::clamp(alpha, 0, 255));
}

} // namespace SkinPainting
