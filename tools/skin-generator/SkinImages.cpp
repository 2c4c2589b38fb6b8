#include "tools/skin-generator/SkinImages.h"

#include "tools/skin-generator/NinePatchLayout.h"
#include "tools/skin-generator/SkinPainting.h"
#include "tools/skin-generator/SkinPalette.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <array>

using namespace SkinPainting;
namespace Palette = SkinPalette;

namespace SkinImages {

namespace {

// Marker layouts. The tabs and buttons are only stretched sideways in the window (their height
// equals the inner height), so their gradients run vertically and the columns around the stretch
// column are identical.
const NinePatchLayout TabLayout{QSize(14, 39), 6, 19, 2, 36, 6, 6};
const NinePatchLayout ButtonLayout{QSize(15, 31), 7, 15, 3, 27, 7, 7};
const NinePatchLayout PanelLayout{QSize(29, 148), 14, 89, -1, -1, -1, -1};
const NinePatchLayout BarLayout{QSize(5, 17), 2, 8, 1, 15, 2, 2};
const NinePatchLayout BackgroundLayout{QSize(29, 101), 14, 42, 2, 98, 2, 26};

constexpr qreal TabCornerRadius = 4.0;
constexpr qreal ButtonCornerRadius = 4.5;
constexpr qreal CaptionCornerRadius = 6.0;

QColor Colour(QRgb rgba)
{
    return QColor::fromRgba(rgba);
}

void FillRows(QPainter& painter, const QPainterPath& shape, qreal y, qreal rows, QRgb rgba)
{
    painter.fillPath(RowsOf(shape, y, rows), Colour(rgba));
}

struct Fill
{
    QRgb top;
    QRgb bottom;
};

} // namespace

QImage Tab(TabPosition position, ControlState state)
{
    QImage canvas = NewCanvas(TabLayout.InnerSize());
    const QRectF area(canvas.rect());
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);

        // Neighbouring tabs meet in a black line followed by a grey one: an engraved divider.
        const bool leftLine = position != TabPosition::Left;
        const bool rightLine = position != TabPosition::Right;
        const QRectF body = area.adjusted(leftLine ? 1 : 0, 0, rightLine ? -1 : 0, 0);
        const QPainterPath shape = RoundedRect(body, position == TabPosition::Left ? TabCornerRadius : 0,
                                               position == TabPosition::Right ? TabCornerRadius : 0, 0, 0);

        switch (state) {
        case ControlState::Normal:
            painter.fillPath(shape, VerticalGradient(body, Palette::TabNormalTop, Palette::TabNormalBottom));
            FillRows(painter, shape, 0, 1, Palette::TabNormalHighlight);
            break;
        case ControlState::Hover:
            painter.fillPath(shape, VerticalGradient(body, Palette::TabHoverTop, Palette::TabHoverBottom));
            FillRows(painter, shape, 0, 1, Palette::TabHoverHighlight);
            break;
        case ControlState::Pressed: {
            painter.fillPath(shape, Colour(Palette::SteelBlueFrame));
            const QRectF inside = body.adjusted(1, 1, -1, -1);
            const QPainterPath insideShape =
                RoundedRect(inside, position == TabPosition::Left ? TabCornerRadius - 1 : 0,
                            position == TabPosition::Right ? TabCornerRadius - 1 : 0, 0, 0);
            painter.fillPath(insideShape, Colour(Palette::SteelBlue));
            break;
        }
        case ControlState::Selected:
            painter.fillPath(shape,
                             VerticalGradient(body, Palette::TabSelectedTop, Palette::TabSelectedBottom));
            // A light accent along the top marks the open page.
            FillRows(painter, shape, 0, 2, Palette::AccentBlueSoft);
            break;
        }

        painter.setRenderHint(QPainter::Antialiasing, false);
        if (leftLine)
            painter.fillRect(QRectF(0, 0, 1, area.height()), Colour(Palette::TabLeftEdge));
        if (rightLine)
            painter.fillRect(QRectF(area.width() - 1, 0, 1, area.height()), Colour(Palette::TabRightEdge));
    }
    return ComposeNinePatch(canvas, TabLayout);
}

namespace {

Fill CaptionFill(ControlState state)
{
    switch (state) {
    case ControlState::Hover:
        return {Palette::CaptionHoverTop, Palette::CaptionHoverBottom};
    case ControlState::Pressed:
    case ControlState::Selected:
        return {Palette::SteelBlue, Palette::SteelBlueDark};
    case ControlState::Normal:
        break;
    }
    return {Palette::CaptionNormalTop, Palette::CaptionNormalBottom};
}

// The tile hangs from the window's top edge: outlined on the sides and at the bottom only.
// `outlineLeft` is false for the close tile next to the minimise tile, whose right outline
// already separates the two.
void PaintCaptionTile(QPainter& painter, const QSize& size, ControlState state, qreal lowerLeft,
                      qreal lowerRight, bool outlineLeft)
{
    const QRectF outer(0, 0, size.width(), size.height());
    painter.fillPath(RoundedRect(outer, 0, 0, lowerRight, lowerLeft), Colour(Palette::CaptionOutline));
    const QRectF inner = outer.adjusted(outlineLeft ? 1 : 0, 0, -1, -1);
    const QPainterPath face =
        RoundedRect(inner, 0, 0, lowerRight > 0 ? lowerRight - 1 : 0, lowerLeft > 0 ? lowerLeft - 1 : 0);
    const Fill fill = CaptionFill(state);
    painter.fillPath(face, VerticalGradient(inner, fill.top, fill.bottom));
    if (state == ControlState::Normal || state == ControlState::Hover)
        FillRows(painter, face, inner.bottom() - 1, 1, Scaled(fill.bottom, 0.9));
}

QRgb GlyphColour(ControlState state)
{
    switch (state) {
    case ControlState::Hover:
        return Palette::GlyphHover;
    case ControlState::Pressed:
    case ControlState::Selected:
        return Palette::GlyphPressed;
    case ControlState::Normal:
        break;
    }
    return Palette::GlyphNormal;
}

QRgb CrossColour(ControlState state)
{
    switch (state) {
    case ControlState::Hover:
        return Palette::CrossHover;
    case ControlState::Pressed:
    case ControlState::Selected:
        return Palette::CrossPressed;
    case ControlState::Normal:
        break;
    }
    return Palette::CrossNormal;
}

void PaintCross(QPainter& painter, QPointF centre, QRgb rgba)
{
    constexpr qreal HalfSize = 4.5;
    QPen pen(Colour(rgba), 1.9, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(centre + QPointF(-HalfSize, -HalfSize), centre + QPointF(HalfSize, HalfSize));
    painter.drawLine(centre + QPointF(HalfSize, -HalfSize), centre + QPointF(-HalfSize, HalfSize));
    painter.setPen(Qt::NoPen);
}

} // namespace

QImage MinimiseTile(ControlState state)
{
    const QSize size(29, 26);
    QImage canvas = NewCanvas(size);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintCaptionTile(painter, size, state, CaptionCornerRadius, 0, true);
        const QRectF bar(9.5, 14, 10, 3);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colour(GlyphColour(state)));
        painter.drawRoundedRect(bar, 1, 1);
    }
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QImage CloseTile(ControlState state, RoundedCorners corners)
{
    const bool both = corners == RoundedCorners::BothLower;
    const QSize size(both ? 30 : 29, 26);
    QImage canvas = NewCanvas(size);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal lowerLeft = corners == RoundedCorners::LowerRight ? 0 : CaptionCornerRadius;
        const qreal lowerRight = corners == RoundedCorners::LowerLeft ? 0 : CaptionCornerRadius;
        // The standalone tile has its own left outline; the one beside minimise shares it.
        PaintCaptionTile(painter, size, state, lowerLeft, lowerRight, both);
        const qreal faceLeft = both ? 1 : 0;
        const QPointF centre((faceLeft + size.width() - 1) / 2.0, 12.5);
        PaintCross(painter, centre, CrossColour(state));
    }
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QImage PushButton(ControlState state)
{
    QImage canvas = NewCanvas(ButtonLayout.InnerSize());
    const QRectF area(canvas.rect());
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath outline =
            RoundedRect(area, ButtonCornerRadius, ButtonCornerRadius, ButtonCornerRadius, ButtonCornerRadius);
        const QRectF faceRect = area.adjusted(1, 1, -1, -1);
        const qreal faceRadius = ButtonCornerRadius - 1;
        const QPainterPath face = RoundedRect(faceRect, faceRadius, faceRadius, faceRadius, faceRadius);

        switch (state) {
        case ControlState::Normal:
        case ControlState::Selected:
            painter.fillPath(outline, Colour(Palette::ButtonNormalOutline));
            painter.fillPath(
                face, VerticalGradient(faceRect, Palette::ButtonNormalTop, Palette::ButtonNormalBottom));
            FillRows(painter, face, faceRect.top(), 1, Palette::ButtonNormalHighlight);
            break;
        case ControlState::Hover:
            painter.fillPath(outline, Colour(Palette::ButtonHoverOutline));
            painter.fillPath(face,
                             VerticalGradient(faceRect, Palette::ButtonHoverTop, Palette::ButtonHoverBottom));
            FillRows(painter, face, faceRect.top(), 1, Palette::ButtonHoverHighlight);
            break;
        case ControlState::Pressed:
            // Pushed in: darker at the top, with a shadow line under the outline.
            painter.fillPath(outline, Colour(Palette::SteelBlueFrame));
            painter.fillPath(face, VerticalGradient(faceRect, Palette::SteelBlueDark, Palette::SteelBlue));
            FillRows(painter, face, faceRect.top(), 1, Scaled(Palette::SteelBlueDark, 0.85));
            break;
        }
    }
    return ComposeNinePatch(canvas, ButtonLayout);
}

QImage Panel()
{
    QImage canvas = NewCanvas(PanelLayout.InnerSize());
    const QRectF area(canvas.rect());
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        constexpr qreal Radius = 5;
        painter.fillPath(RoundedRect(area, Radius, Radius, Radius, Radius), Colour(Palette::PanelOutline));
        const QRectF faceRect = area.adjusted(1, 1, -1, -1);
        const QPainterPath face = RoundedRect(faceRect, Radius - 1, Radius - 1, Radius - 1, Radius - 1);
        painter.fillPath(face, Colour(Palette::PanelFill));
        FillRows(painter, face, faceRect.top(), 1, Palette::TitleHighlight);

        // The middle section holds the stretch row, so it grows with the panel.
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRectF middle(4, 40, area.width() - 8, 92);
        painter.fillRect(middle, Colour(Palette::PanelOutline));
        painter.fillRect(middle.adjusted(1, 1, -1, -1), Colour(Palette::PanelMiddle));
        painter.fillRect(QRectF(middle.left() + 1, middle.top() + 1, middle.width() - 2, 1),
                         Colour(Scaled(Palette::PanelMiddle, 1.2)));
    }
    return ComposeNinePatch(canvas, PanelLayout);
}

QImage Chart(bool withLevelLine)
{
    const QSize size(197, 94);
    QImage canvas = NewCanvas(size);
    {
        QPainter painter(&canvas);
        const QRectF plot(0, 0, size.width(), size.height());
        painter.fillRect(plot, Colour(Palette::ChartBackground));

        // Grid on whole pixels, without antialiasing, so the lines stay one pixel wide.
        constexpr int ColumnStep = 24;
        constexpr int RowStep = 15;
        for (int x = 8 + ColumnStep; x < size.width() - 8; x += ColumnStep)
            painter.fillRect(x, 4, 1, size.height() - 8, Colour(Palette::ChartGrid));
        for (int y = 4 + RowStep; y < size.height() - 4; y += RowStep)
            painter.fillRect(8, y, size.width() - 16, 1, Colour(Palette::ChartGrid));
        painter.fillRect(8, 4, 1, size.height() - 8, Colour(Palette::ChartFrame));
        painter.fillRect(8, size.height() - 5, size.width() - 16, 1, Colour(Palette::ChartFrame));

        painter.setRenderHint(QPainter::Antialiasing);
        const QPolygonF rising{{9, 84},   {34, 76},  {58, 70},  {82, 58}, {106, 52},
                               {130, 38}, {154, 30}, {178, 18}, {188, 12}};
        const QPolygonF falling{{9, 14},   {34, 20},  {58, 30},  {82, 34}, {106, 48},
                                {130, 56}, {154, 68}, {178, 74}, {188, 82}};
        if (withLevelLine) {
            painter.setPen(QPen(Colour(Palette::ChartGreen), 2, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(9, 48), QPointF(188, 48));
        }
        const QPen red(Colour(Palette::ChartRed), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(red);
        painter.drawPolyline(rising);
        painter.drawPolyline(falling);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colour(Palette::ChartRed));
        for (const QPointF& point : {rising.last(), falling.last()})
            painter.drawEllipse(point, 2.5, 2.5);
    }
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QImage Swatch(QRgb rgb)
{
    QImage image(QSize(48, 30), QImage::Format_RGB888);
    image.fill(Colour(rgb));
    return image;
}

namespace {

// Brightness of each of the fourteen dots (seven per strip): 0 off ... 3 brightest.
using DotLevels = std::array<int, 14>;

DotLevels LevelsOf(DotPattern pattern)
{
    switch (pattern) {
    case DotPattern::FadeOutward:
        return {3, 2, 1, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 1, 2, 3};
    case DotPattern::Wave:
        return {0, 1, 2, 3, 2, 1, 0, /**/ 3, 2, 1, 0, 1, 2, 3};
    case DotPattern::Alternate:
        break;
    }
    return {3, 3, 3, 3, 3, 3, 3, /**/ 2, 0, 2, 0, 2, 0, 2};
}

QRgb DotColour(int level)
{
    constexpr std::array<QRgb, 4> Levels{Palette::DotOff, Palette::DotDim, Palette::DotMid,
                                         Palette::DotBright};
    return Levels[static_cast<std::size_t>(std::clamp(level, 0, 3))];
}

} // namespace

QImage DotStrips(DotPattern pattern)
{
    const QSize size(231, 16);
    constexpr qreal StripWidth = 113;
    constexpr qreal StripGap = 5;
    constexpr qreal DotPitch = 16;
    constexpr qreal DotRadius = 4;
    const DotLevels levels = LevelsOf(pattern);

    QImage canvas = NewCanvas(size);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int strip = 0; strip < 2; ++strip) {
            const QRectF outer(strip * (StripWidth + StripGap), 0, StripWidth, size.height());
            const qreal radius = outer.height() / 2;
            painter.fillPath(RoundedRect(outer, radius, radius, radius, radius),
                             Colour(Palette::StripOutline));
            const QRectF inner = outer.adjusted(1, 1, -1, -1);
            const qreal innerRadius = inner.height() / 2;
            painter.fillPath(
                RoundedRect(inner, innerRadius, innerRadius, innerRadius, innerRadius),
                VerticalGradient(inner, Scaled(Palette::StripFill, 1.15), Scaled(Palette::StripFill, 0.85)));
            for (int dot = 0; dot < 7; ++dot) {
                const int level = levels[static_cast<std::size_t>(strip * 7 + dot)];
                const QPointF centre(outer.left() + 8.5 + dot * DotPitch, outer.center().y());
                if (level == 3) {
                    // The brightest dots glow a little.
                    QRadialGradient glow(centre, DotRadius + 3);
                    glow.setColorAt(0.0, Colour(WithAlpha(Palette::DotBright, 110)));
                    glow.setColorAt(1.0, Colour(WithAlpha(Palette::DotBright, 0)));
                    painter.setBrush(glow);
                    painter.drawEllipse(centre, DotRadius + 3, DotRadius + 3);
                }
                painter.setBrush(Colour(DotColour(level)));
                painter.drawEllipse(centre, DotRadius, DotRadius);
                painter.setBrush(Colour(WithAlpha(Palette::GlyphPressed, 40 + 25 * level)));
                painter.drawEllipse(centre + QPointF(-1.2, -1.4), 1.4, 1.1);
            }
        }
    }
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QImage BarSegment(QRgb rgb)
{
    QImage canvas = NewCanvas(BarLayout.InnerSize());
    const QRectF area(canvas.rect());
    {
        QPainter painter(&canvas);
        // A soft bevel: light top row, darker bottom row, slightly transparent darker sides so
        // adjacent segments stay apart on any page colour.
        painter.fillRect(area, VerticalGradient(area, Scaled(rgb, 1.12), Scaled(rgb, 0.9)));
        painter.fillRect(QRectF(0, 0, area.width(), 1), Colour(Scaled(rgb, 1.22)));
        painter.fillRect(QRectF(0, area.height() - 1, area.width(), 1), Colour(Scaled(rgb, 0.78)));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QLinearGradient sides =
            VerticalGradient(area, WithAlpha(Scaled(rgb, 0.95), 215), WithAlpha(Scaled(rgb, 0.72), 215));
        painter.fillRect(QRectF(0, 0, 1, area.height()), sides);
        painter.fillRect(QRectF(area.width() - 1, 0, 1, area.height()), sides);
    }
    return ComposeNinePatch(canvas, BarLayout);
}

QImage WindowBackground()
{
    // Inner rows map onto the window as: 0-40 title area (40 = separator), 41 = stretch row
    // (tabs, page and margins, y 41-529 in a 722 x 587 window), 42-98 footer (42 = separator).
    // Inner columns 0-12 and 14-26 are the fixed side margins, 13 is stretched.
    QImage canvas = NewCanvas(BackgroundLayout.InnerSize());
    const int width = canvas.width();
    const int height = canvas.height();
    constexpr int TitleSeparatorRow = 40;
    constexpr int BodyRow = 41;
    constexpr int FooterSeparatorRow = 42;
    {
        QPainter painter(&canvas);
        painter.fillRect(canvas.rect(), Colour(Palette::WindowField));

        const QRect title(1, 1, width - 2, TitleSeparatorRow - 1);
        painter.fillRect(title, VerticalGradient(title, Palette::TitleTop, Palette::TitleBottom));
        painter.fillRect(QRect(1, 1, width - 2, 1), Colour(Palette::TitleHighlight));
        painter.fillRect(QRect(1, TitleSeparatorRow, width - 2, 1), Colour(Palette::Separator));

        painter.fillRect(QRect(1, BodyRow, width - 2, 1), Colour(Palette::WindowField));

        painter.fillRect(QRect(1, FooterSeparatorRow, width - 2, 1), Colour(Palette::Separator));
        const QRect footer(1, FooterSeparatorRow + 1, width - 2, height - FooterSeparatorRow - 2);
        painter.fillRect(footer, VerticalGradient(footer, Palette::FooterTop, Palette::FooterBottom));
        painter.fillRect(QRect(1, FooterSeparatorRow + 1, width - 2, 1), Colour(Palette::FooterHighlight));

        // The lighter frame around the whole window.
        painter.setPen(Colour(Palette::WindowFrame));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, width - 1, height - 1));
    }
    return ComposeNinePatch(canvas, BackgroundLayout);
}

QImage ProgramIcon()
{
    const QSize size(256, 256);
    QImage canvas = NewCanvas(size);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);

        // Windscreen mount: an adhesive pad on a short stem above the wide body.
        const QRectF pad(72, 22, 112, 22);
        painter.fillPath(RoundedRect(pad, 11, 11, 6, 6), Colour(Palette::IconOutline));
        const QRectF padFace = pad.adjusted(4, 4, -4, -4);
        painter.fillPath(RoundedRect(padFace, 7, 7, 3, 3),
                         VerticalGradient(padFace, Palette::IconBodyTop, Palette::IconBodyBottom));
        const QRectF stem(110, 40, 36, 34);
        painter.fillRect(stem, Colour(Palette::IconOutline));
        painter.fillRect(stem.adjusted(4, 0, -4, 0),
                         VerticalGradient(stem, Palette::IconBodyBottom, Palette::IconBodyTop));

        // Body.
        const QRectF body(10, 66, 236, 160);
        painter.fillPath(RoundedRect(body, 36, 36, 36, 36), Colour(Palette::IconOutline));
        const QRectF face = body.adjusted(5, 5, -5, -5);
        const QPainterPath faceShape = RoundedRect(face, 31, 31, 31, 31);
        painter.fillPath(faceShape, VerticalGradient(face, Palette::IconBodyTop, Palette::IconBodyBottom));
        painter.fillPath(RowsOf(faceShape, face.top(), 3), Colour(WithAlpha(Palette::GlyphPressed, 50)));

        // Vent slots on the left.
        for (int slot = 0; slot < 3; ++slot) {
            const QRectF vent(28, 124 + slot * 16, 26, 6);
            painter.setBrush(Colour(Palette::IconOutline));
            painter.drawRoundedRect(vent, 3, 3);
        }

        // Lens: steel-blue barrel, black ring, deep blue glass with a light iris and a reflection.
        const QPointF centre(138, 146);
        QLinearGradient barrel(centre + QPointF(0, -62), centre + QPointF(0, 62));
        barrel.setColorAt(0.0, Colour(Palette::SteelBlueLight));
        barrel.setColorAt(1.0, Colour(Palette::SteelBlueFrame));
        painter.setBrush(Colour(Palette::IconOutline));
        painter.drawEllipse(centre, 66, 66);
        painter.setBrush(barrel);
        painter.drawEllipse(centre, 62, 62);
        painter.setBrush(Colour(Palette::IconOutline));
        painter.drawEllipse(centre, 50, 50);

        QRadialGradient glass(centre, 45, centre + QPointF(-8, -10));
        glass.setColorAt(0.0, Colour(Palette::IconGlassCentre));
        glass.setColorAt(1.0, Colour(Palette::IconGlassEdge));
        painter.setBrush(glass);
        painter.drawEllipse(centre, 45, 45);

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Colour(WithAlpha(Palette::AccentBlue, 150)), 3));
        painter.drawEllipse(centre, 25, 25);
        painter.setPen(QPen(Colour(WithAlpha(Palette::AccentBlue, 70)), 2));
        painter.drawEllipse(centre, 35, 35);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colour(Palette::IconGlassEdge));
        painter.drawEllipse(centre, 13, 13);

        painter.setBrush(Colour(WithAlpha(Palette::GlyphPressed, 120)));
        painter.drawEllipse(centre + QPointF(-17, -18), 11, 7.5);
        painter.setBrush(Colour(WithAlpha(Palette::GlyphPressed, 70)));
        painter.drawEllipse(centre + QPointF(17, 18), 4, 3.5);

        // Recording light.
        const QPointF light(218, 94);
        QRadialGradient glow(light, 14);
        glow.setColorAt(0.0, Colour(WithAlpha(Palette::IconRecord, 160)));
        glow.setColorAt(1.0, Colour(WithAlpha(Palette::IconRecord, 0)));
        painter.setBrush(glow);
        painter.drawEllipse(light, 14, 14);
        painter.setBrush(Colour(Palette::IconRecord));
        painter.drawEllipse(light, 7, 7);
        painter.setBrush(Colour(WithAlpha(Palette::GlyphPressed, 140)));
        painter.drawEllipse(light + QPointF(-2.2, -2.2), 2.2, 1.8);
    }
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

} // namespace SkinImages
