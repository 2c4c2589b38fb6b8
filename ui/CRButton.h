#pragma once

#include "ui/LabelStyle.h"
#include "skin/OffscreenSurface.h"
#include "skin/SkinRect.h"

#include <QFont>
#include <QImage>
#include <QWidget>

// A push button painted entirely from skin images, with a hover, a pressed, a selected and
// an optional disabled look and an optional label. A click is posted to the parent widget
// as a CommandEvent carrying the control id. Tabs use the selected look as a radio group;
// the owner switches it with SetSelected().
//
// The owner creates the button, gives it its final geometry, then prepares the images once.
class CRButton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRButton)

public:
    enum class State
    {
        Normal = 0,
        Hover = 1,
        Pressed = 2,
        Selected = 3,
        Disabled = 4,
    };

    CRButton(int controlId, QWidget* parent);
    ~CRButton() override;

    // `background` is the parent's background in parent coordinates (the part under the
    // button is kept), or null. A disabled image id of 0 means no disabled look.
    void SetImagesNatural(int normalId, int hoverId, int pressedId, const QImage* background,
                          int disabledId = 0);
    void SetImagesStretched(int normalId, int hoverId, int pressedId, const QImage* background,
                            const LabelStyle* labelStyle, int disabledId = 0);
    void SetSelectedImage(int id);
    void SetSelected(bool selected);
    // Rebuilds the composed look on the next paint and paints at once.
    void Redraw();

    int ControlId() const { return m_controlId; }
    State CurrentState() const { return m_state; }
    bool IsSelected() const { return m_selectedFlag; }
    // Where the label goes: the normal image's content rectangle.
    SkinRect TextRect() const { return m_textRect; }
    // The rectangle the label is actually drawn in (top-aligned, clipped to it).
    SkinRect LabelRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PrepareImages(int normalId, int hoverId, int pressedId, const QImage* background,
                       const LabelStyle* labelStyle, int disabledId, bool stretched);
    void SetState(State state);
    void HandleMouseLeave();
    void PostClick();
    const OffscreenSurface& SurfaceForState() const;
    void BuildComposite();
    QColor LabelColour() const;

    const int m_controlId;

    OffscreenSurface m_background;
    OffscreenSurface m_normal;
    OffscreenSurface m_hover;
    OffscreenSurface m_pressed;
    OffscreenSurface m_disabled;
    OffscreenSurface m_selected;
    QImage m_composite;
    bool m_rebuild = true;

    State m_state = State::Normal;
    bool m_selectedFlag = false;
    bool m_hasBackground = false;
    bool m_hasLabel = false;

    LabelStyle m_label;
    SkinRect m_textRect;
    QFont m_labelFont;
};
