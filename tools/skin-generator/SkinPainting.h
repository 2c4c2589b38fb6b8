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
QImage NewCanvas(const QSize& size);

// A gradient running from `top` at y = top edge to `bottom` at the bottom edge of `rect`.
QLinearGradient VerticalGradient(const QRectF& rect, QRgb top, QRgb bottom);

// A rectangle with its own radius for each corner (0 = square corner).
QPainterPath RoundedRect(const QRectF& rect, qreal topLeft, qreal topRight, qreal bottomRight,
                         qreal bottomLeft);

// The part of `shape` that lies in the rows [y, y + rows).
QPainterPath RowsOf(const QPainterPath& shape, qreal y, qreal rows);

// `colour` with its channels scaled by `factor` (clamped), alpha kept.
QRgb Scaled(QRgb colour, qreal factor);

// `colour` with alpha `alpha`.
QRgb WithAlpha(QRgb colour, int alpha);

} // namespace SkinPainting
