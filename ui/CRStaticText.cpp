#include "ui/CRStaticText.h"

#include "skin/NinePatchRenderer.h"
#include "skin/SkinFont.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

CRStaticText::CRStaticText(int controlId, QWidget* parent) : QWidget(parent), m_controlId(controlId)
{
    setFocusPolicy(Qt::NoFocus);
}

CRStaticText::~CRStaticText() = default;

void CRStaticText::SetLook(int imageId, const QFont* font, const QImage* background,
                           const LabelStyle* labelStyle)
{
    const int w = width();
    const int h = height();
    m_clientRect = SkinRect{0, 0, w, h};
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();

    if (background) {
        m_background.Create(w, h);
        m_background.CopyFrom(*background, x(), y());
    }

    if (labelStyle) {
        m_label = *labelStyle;
        m_font = font ? *font : this->font();
    }

    if (imageId != 0) {
        OffscreenSurface image;
        image.Create(w, h);
        // On failure the text rectangle keeps its previous value.
        renderer->DrawNinePatch(image, imageId, &m_textRect);
        // Without a captured background the image alone is the background.
        m_background.Create(w, h);
        if (m_background.IsCreated() && image.IsCreated()) {
            QPainter painter(&m_background.Image());
            painter.drawImage(0, 0, image.Image());
        }
    } else {
        m_textRect = m_clientRect;
    }

    NinePatchRenderer::ReleaseInstance();
    Redraw();
}

void CRStaticText::Redraw()
{
    m_rebuild = true;
    repaint();
}

void CRStaticText::paintEvent(QPaintEvent*)
{
    m_clientRect = SkinRect::FromQRect(rect());
    if (m_rebuild) {
        m_rebuild = false;
        m_composite = QImage();
    }
    if (m_composite.isNull()) {
        QImage composite(size(), QImage::Format_ARGB32_Premultiplied);
        if (!composite.isNull()) {
            composite.fill(Qt::transparent);
            if (m_background.IsCreated()) {
                QPainter painter(&composite);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(0, 0, m_background.Image());
            }
            DrawAlphaText(composite, m_label.text, m_font, m_textRect, m_label.normalColour,
                          m_label.centring);
            m_composite = std::move(composite);
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_composite);
}

void CRStaticText::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_clientRect = SkinRect::FromQRect(rect());
    Redraw();
}

QPoint CRStaticText::AlphaTextOffset(const SkinRect& rect, const QSize& textSize, int centring)
{
    const int dy = std::max(0, (rect.bottom - rect.top - textSize.height()) / 2);
    int dx = 0;
    if (centring == 1) {
        const int extra = rect.right - rect.left - textSize.width();
        // Odd spare width puts the extra pixel on the left; a text wider than the
        // rectangle starts at its left edge.
        dx = std::max(0, extra / 2 + (extra % 2 == 1 ? 1 : 0));
    }
    return QPoint(dx, dy);
}

void CRStaticText::DrawAlphaText(QImage& surface, const QString& text, const QFont& font,
                                 const SkinRect& rect, const QColor& colour, int centring)
{
    if (text.isEmpty() || surface.isNull())
        return;
    // Measured and drawn as the platform does: one cell per line, widest line.
    const QSize textSize = SkinFont::TextExtent(font, text);
    if (textSize.width() <= 0 || textSize.height() <= 0)
        return;

    // The platform's text drawing gives no alpha; drawing white on opaque black yields the
    // coverage of every pixel, from which the coloured text with alpha is built.
    QImage coverage(textSize, QImage::Format_RGB32);
    if (coverage.isNull())
        return;
    coverage.fill(Qt::black);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        const QFontMetrics metrics(font);
        const QStringList lines = SkinFont::Lines(text);
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(QPoint(0, int(i) * metrics.height() + metrics.ascent()), lines[i]);
    }

    QImage textImage(textSize, QImage::Format_ARGB32_Premultiplied);
    if (textImage.isNull())
        return;
    const int red = colour.red();
    const int green = colour.green();
    const int blue = colour.blue();
    for (int y = 0; y < textSize.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(textImage.scanLine(y));
        for (int x = 0; x < textSize.width(); ++x) {
            const int a = qBlue(in[x]);
            // Premultiplied by shifting, i.e. dividing by 256: full coverage gives 254 of 255.
            out[x] = qRgba((red * a) >> 8, (green * a) >> 8, (blue * a) >> 8, a);
        }
    }

    const QPoint offset = AlphaTextOffset(rect, textSize, centring);
    QPainter painter(&surface);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(rect.left + offset.x(), rect.top + offset.y(), textImage);
}

// The label takes no part in mouse input: leaving the events unaccepted hands them to the
// parent, with coordinates mapped to it.
void CRStaticText::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
}

void CRStaticText::mousePressEvent(QMouseEvent* event)
{
    event->ignore();
}

void CRStaticText::mouseReleaseEvent(QMouseEvent* event)
{
    event->ignore();
}
