#pragma once

#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRectF>
#include <QRgb>
#include <QSize>

// Small drawing helpers shared by the image families.
namespace SkinPainting {

// A fully transparent premultiplied canvas, the fastest format for QPainter.
QImage newCanvas(const QSize& size);

// A gradient running from `top` at y = top edge to `bottom` at the bottom edge of `rect`.
QLinearGradient verticalGradient(const QRectF& rect, QRgb top, QRgb bottom);

// A rectangle with its own radius for each corner (0 = square corner).
QPainterPath roundedRect(const QRectF& rect, qreal topLeft, qreal topRight, qreal bottomRight,
                         qreal bottomLeft);

// The part of `shape` that lies in the rows [y, y + rows).
QPainterPath rowsOf(const QPainterPath& shape, qreal y, qreal rows);

// `colour` with its channels scaled by `factor` (clamped), alpha kept.
QRgb scaled(QRgb colour, qreal factor);

// `colour` with alpha `alpha`.
QRgb withAlpha(QRgb colour, int alpha);

} // namespace SkinPainting
