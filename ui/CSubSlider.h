#pragma once

#include <QList>
#include <QRect>
#include <QSlider>
#include <QStringList>

class QFont;

// A horizontal slider of the settings pages: a trackbar with ticks on both sides, text labels
// under the tick positions and, while the user drags or steps it, a tooltip with the setting
// value the position stands for.
//
// Ticks (one per value of the range) and labels share one rule: the first lies 14 pixels in
// from the left edge, the last 13 pixels in from the right edge, the others evenly between
// (single-precision steps, truncated); the thumb is centred on them.
//
// Use: SetLabelFont, SetLabels, SetRange (range with the trackbar's page size), setValue,
// SetTooltipKind. Handlers of user changes connect to QAbstractSlider::actionTriggered (and
// sliderReleased), which setValue never emits.
class CSubSlider final : public QSlider
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSubSlider)

public:
    // Tooltip kinds.
    enum Kind
    {
        KindPosition = 0,
        KindHours = 1, // and 4
        KindVolts12 = 2,
        KindVolts24 = 3,
        KindHoursAlt = 4,
        KindMotion = 5,
    };
    // Which of the n labels are drawn. LabelsAll draws every label (with n > 1) whatever the
    // other bits say; otherwise each bit adds the labels it names.
    enum LabelFlag
    {
        LabelsFirstAndLast = 0x01,
        LabelUpperMiddle = 0x04, // index (n + 1) / 2: the fifth of eight
        LabelLowerMiddle = 0x08, // index (n - 1) / 2: the middle of five
        LabelsAll = 0x10,
    };
    Q_DECLARE_FLAGS(LabelFlags, LabelFlag)

    explicit CSubSlider(QWidget* parent = nullptr);
    ~CSubSlider() override;

    void SetTooltipKind(int kind) { m_tooltipKind = kind; }
    int TooltipKind() const { return m_tooltipKind; }
    // Only referenced: the font must outlive the slider.
    void SetLabelFont(const QFont* font);
    // Appends to the labels drawn so far and replaces the flags.
    void SetLabels(const QStringList& labels, LabelFlags flags);
    const QStringList& Labels() const { return m_labels; }
    LabelFlags LabelSelection() const { return m_labelFlags; }
    // Range with a page step of a fifth of it (at least 1), as the trackbar has.
    void SetRange(int minimum, int maximum);

    // The tooltip's text for the current position.
    QString ToolTipText() const;
    static QString ToolTipText(int kind, int position);

    // Centre x of the tick or label `index` of `count` on a control `width` wide.
    static int TickX(int width, int count, int index);
    // The labels drawn, in drawing order: their index and rectangle in control coordinates.
    struct DrawnLabel
    {
        int index;
        QRect rect;
    };
    QList<DrawnLabel> DrawnLabels() const;
    // Centre x of every tick, left to right.
    QList<int> TickPositions() const;
    // Centre x of the thumb.
    int ThumbCentreX() const;

    static constexpr int ThumbWidth = 11;
    static constexpr int ThumbHeight = 21;
    static constexpr int ThumbTop = 6;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ShowValueTip();

    int m_tooltipKind = 0;
    const QFont* m_labelFont = nullptr;
    LabelFlags m_labelFlags;
    QStringList m_labels;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CSubSlider::LabelFlags)
