#include "ui/CRButton.h"

#include "ui/CommandEvent.h"
#include "skin/NinePatchRenderer.h"
#include "skin/SkinFont.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

CRButton::CRButton(int controlId, QWidget* parent) : QWidget(parent), m_controlId(controlId)
{
    setFocusPolicy(Qt::NoFocus);
    // Hover begins with the first mouse move over the button, not with entering it.
    setMouseTracking(true);
}

CRButton::~CRButton() = default;

void CRButton::SetImagesNatural(int normalId, int hoverId, int pressedId, const QImage* background,
                                int disabledId)
{
    PrepareImages(normalId, hoverId, pressedId, background, nullptr, disabledId, false);
}

void CRButton::SetImagesStretched(int normalId, int hoverId, int pressedId, const QImage* background,
                                  const LabelStyle* labelStyle, int disabledId)
{
    PrepareImages(normalId, hoverId, pressedId, background, labelStyle, disabledId, true);
}

void CRButton::PrepareImages(int normalId, int hoverId, int pressedId, const QImage* background,
                             const LabelStyle* labelStyle, int disabledId, bool stretched)
{
    const int w = width();
    const int h = height();
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();

    if (background) {
        // An existing surface is not recreated; the copy then refreshes it.
        m_background.Create(w, h);
        m_background.CopyFrom(*background, x(), y());
        m_hasBackground = m_background.IsCreated();
    }

    const bool withLabel = stretched && labelStyle;
    if (withLabel) {
        m_label = *labelStyle;
        m_labelFont = SkinFont::Create(m_label.fontHeight, true);
        m_hasLabel = true;
    }

    const auto prepare = [&](OffscreenSurface& surface, int id, SkinRect* contentRect) {
        surface.Create(w, h);
        if (stretched)
            renderer->DrawNinePatch(surface, id, contentRect);
        else
            renderer->DrawImageNatural(surface, id);
    };
    prepare(m_normal, normalId, withLabel ? &m_textRect : nullptr);
    prepare(m_hover, hoverId, nullptr);
    prepare(m_pressed, pressedId, nullptr);
    if (disabledId != 0)
        prepare(m_disabled, disabledId, nullptr);

    NinePatchRenderer::ReleaseInstance();
}

void CRButton::SetSelectedImage(int id)
{
    m_selected.Create(width(), height());
    NinePatchRenderer::Instance()->DrawNinePatch(m_selected, id);
    NinePatchRenderer::ReleaseInstance();
}

void CRButton::SetSelected(bool selected)
{
    m_selectedFlag = selected;
    SetState(selected ? State::Selected : State::Normal);
}

void CRButton::Redraw()
{
    m_rebuild = true;
    repaint();
}

void CRButton::SetState(State state)
{
    m_state = state;
    Redraw();
}

SkinRect CRButton::LabelRect() const
{
    SkinRect rect = m_textRect;
    if (m_label.centring == 1)
        rect.top += (rect.bottom - m_label.fontHeight - rect.top) / 2;
    return rect;
}

const OffscreenSurface& CRButton::SurfaceForState() const
{
    switch (m_state) {
    case State::Hover:
        return m_hover;
    case State::Pressed:
        return m_pressed;
    case State::Selected:
        return m_selected;
    case State::Disabled:
        return m_disabled;
    case State::Normal:
        break;
    }
    return m_normal;
}

void CRButton::BuildComposite()
{
    QImage composite(size(), QImage::Format_ARGB32_Premultiplied);
    if (composite.isNull())
        return;
    composite.fill(Qt::transparent);
    QPainter painter(&composite);
    if (m_hasBackground) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_background.Image());
    }
    // A state without a prepared image shows only the background.
    const OffscreenSurface& state = SurfaceForState();
    if (state.IsCreated()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, state.Image());
    }
    painter.end();
    m_composite = std::move(composite);
}

QColor CRButton::LabelColour() const
{
    switch (m_state) {
    case State::Hover:
        return m_label.hoverColour;
    case State::Pressed:
    case State::Selected:
        return m_label.pressedColour;
    case State::Normal:
    case State::Disabled:
        break;
    }
    return m_label.normalColour;
}

void CRButton::paintEvent(QPaintEvent*)
{
    if (m_rebuild) {
        m_rebuild = false;
        m_composite = QImage();
    }
    if (m_composite.isNull())
        BuildComposite();

    QPainter painter(this);
    // Source-over: where the composite is transparent (no background captured) the parent's
    // own painting shows through.
    painter.drawImage(0, 0, m_composite);

    // The label is not part of the cached composite: it is drawn on every paint.
    if (m_hasLabel) {
        painter.setFont(m_labelFont);
        painter.setPen(LabelColour());
        const int alignment = m_label.centring == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
        // Top-aligned and clipped to the rectangle; '&' marks a mnemonic as in the platform's
        // plain text drawing.
        painter.drawText(LabelRect().ToQRect(), alignment | Qt::AlignTop | Qt::TextShowMnemonic,
                         m_label.text);
    }
}

void CRButton::HandleMouseLeave()
{
    // A disabled button keeps its disabled look; it gets no mouse input until enabled.
    if (m_state == State::Disabled || m_selectedFlag)
        return;
    if (m_state != State::Normal)
        SetState(State::Normal);
}

void CRButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    // While a button is held Qt keeps sending moves here even off the button; the button
    // does not capture the mouse, so leaving it ends the hover or press as a leave would.
    if (!rect().contains(event->position().toPoint())) {
        HandleMouseLeave();
        return;
    }
    if (m_state == State::Normal)
        SetState(State::Hover);
}

void CRButton::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    SetState(State::Pressed);
}

void CRButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    // Released off the button: no click, as the release would have gone to another window.
    if (!rect().contains(event->position().toPoint())) {
        HandleMouseLeave();
        return;
    }
    PostClick();
    if (!m_selected.IsCreated() || !m_selectedFlag)
        SetState(State::Hover);
}

void CRButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    HandleMouseLeave();
}

void CRButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    if (!isEnabled()) {
        if (m_disabled.IsCreated())
            SetState(State::Disabled);
    } else if (m_state == State::Disabled) {
        SetState(State::Normal);
    }
}

void CRButton::PostClick()
{
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent, new CommandEvent(m_controlId));
}
