#pragma once

#include "ui/LabelStyle.h"
#include "skin/OffscreenSurface.h"
#include "skin/SkinRect.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

// A skinned, non-interactive text label: antialiased text with per-pixel alpha over a copy
// of the parent's background, optionally over a stretched skin image. Mouse input is left
// to the parent, so a borderless window can be dragged by its title too.
class CRStaticText final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRStaticText)

public:
    CRStaticText(int controlId, QWidget* parent);
    ~CRStaticText() override;

    // Any argument may be absent (0 or null). `background` is the parent's background in
    // parent coordinates; of the style only the text, the normal colour and the centring
    // flag are used. The font is taken only together with a style.
    void SetLook(int imageId, const QFont* font, const QImage* background, const LabelStyle* labelStyle);
    // Rebuilds the cached look on the next paint and paints at once.
    void Redraw();

    int ControlId() const { return m_controlId; }
    SkinRect TextRect() const { return m_textRect; }

    // Draws `text` (lines separated by line breaks) in `colour` over `surface`: vertically
    // centred in `rect` and, with centring 1, horizontally centred, else at its left edge.
    // The text is not clipped to `rect`.
    static void DrawAlphaText(QImage& surface, const QString& text, const QFont& font, const SkinRect& rect,
                              const QColor& colour, int centring);
    // Where DrawAlphaText puts a text of `textSize` relative to the top left of `rect`.
    static QPoint AlphaTextOffset(const SkinRect& rect, const QSize& textSize, int centring);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const int m_controlId;

    QImage m_composite;
    bool m_rebuild = true;
    SkinRect m_clientRect;
    SkinRect m_textRect;
    OffscreenSurface m_background;
    QFont m_font;

    LabelStyle m_label; // only the text, the normal colour and the centring flag are used
};
