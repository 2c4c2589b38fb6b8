#include "ui/CSubSlider.h"

#include "settings/SliderTables.h"
#include "skin/SkinFont.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kFirstTick = 14; // from the left edge
constexpr int kLastTick = 13;  // from the right edge
constexpr int kTickLength = 4;
constexpr int kMaxTicks = 200; // beyond this, ticks would merge into a bar

int TickCount(int minimum, int maximum)
{
    return maximum > minimum ? std::min(maximum - minimum + 1, kMaxTicks) : 1;
}

float Step(int width, int count)
{
    return count > 1 ? float(width - kFirstTick - kLastTick) / float(count - 1) : 0.0f;
}

// Centre x of value `position` of the range on a control `width` wide.
int ValueX(int width, int minimum, int maximum, int position)
{
    if (maximum <= minimum)
        return kFirstTick;
    position = std::clamp(position, minimum, maximum);
    const float step = float(width - kFirstTick - kLastTick) / float(maximum - minimum);
    return int(float(position - minimum) * step + float(kFirstTick));
}

// Puts the slider's thumb and channel where the ticks and labels are, so the slider's own mouse
// handling (dragging, paging toward a click) works on what is drawn.
class SubSliderStyle final : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_Slider || !slider)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const int width = slider->rect.width();
        const int half = CSubSlider::ThumbWidth / 2;
        switch (sub) {
        case SC_SliderHandle: {
            const int x = ValueX(width, slider->minimum, slider->maximum, slider->sliderPosition);
            return QRect(x - half, CSubSlider::ThumbTop, CSubSlider::ThumbWidth, CSubSlider::ThumbHeight);
        }
        case SC_SliderGroove:
            // The thumb's centre travels from the first tick to the last.
            return QRect(kFirstTick - half, 0, width - kFirstTick - kLastTick + CSubSlider::ThumbWidth,
                         CSubSlider::ThumbTop + CSubSlider::ThumbHeight + kTickLength + 2);
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }
};

QStyle* SharedSliderStyle()
{
    static QPointer<SubSliderStyle> style;
    if (!style) {
        style = new SubSliderStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

CSubSlider::CSubSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setStyle(SharedSliderStyle());
    setTickPosition(QSlider::TicksBothSides);
    setTickInterval(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int) { ShowValueTip(); });
}

CSubSlider::~CSubSlider() = default;

void CSubSlider::SetLabelFont(const QFont* font)
{
    m_labelFont = font;
    update();
}

void CSubSlider::SetLabels(const QStringList& labels, LabelFlags flags)
{
    m_labels.append(labels);
    m_labelFlags = flags;
    update();
}

void CSubSlider::SetRange(int minimum, int maximum)
{
    setRange(minimum, maximum);
    setPageStep(std::max(1, (maximum - minimum) / 5));
}

QString CSubSlider::ToolTipText(int kind, int position)
{
    const auto inTable = [position](const auto& table) {
        return position >= 0 && position < int(table.size());
    };
    switch (kind) {
    case KindHours:
    case KindHoursAlt:
        if (position >= 0 && position + 1 < int(SliderTables::Hours.size()))
            return QString::number(SliderTables::Hours[position + 1]);
        break;
    case KindVolts12:
        if (inTable(SliderTables::Volts12))
            return QString::asprintf("%0.1f", double(SliderTables::Volts12[position]));
        break;
    case KindVolts24:
        if (inTable(SliderTables::Volts24))
            return QString::asprintf("%0.1f", double(SliderTables::Volts24[position]));
        break;
    case KindMotion:
        if (inTable(SliderTables::Motion))
            return QString::number(SliderTables::Motion[position]);
        break;
    default:
        break;
    }
    return QString::number(position);
}

QString CSubSlider::ToolTipText() const
{
    return ToolTipText(m_tooltipKind, sliderPosition());
}

void CSubSlider::ShowValueTip()
{
    if (!isVisible())
        return;
    // Above the thumb, clear of the pointer: the tip opens below and right of its anchor.
    const QPoint anchor(ValueX(width(), minimum(), maximum(), sliderPosition()) - 4, ThumbTop - 36);
    QToolTip::showText(mapToGlobal(anchor), ToolTipText(), this, QRect(), 1500);
}

int CSubSlider::TickX(int width, int count, int index)
{
    return int(float(index) * Step(width, count) + float(kFirstTick));
}

QList<int> CSubSlider::TickPositions() const
{
    QList<int> ticks;
    const int count = TickCount(minimum(), maximum());
    for (int i = 0; i < count; ++i)
        ticks.append(TickX(width(), count, i));
    return ticks;
}

int CSubSlider::ThumbCentreX() const
{
    return ValueX(width(), minimum(), maximum(), sliderPosition());
}

QList<CSubSlider::DrawnLabel> CSubSlider::DrawnLabels() const
{
    QList<DrawnLabel> drawn;
    const int n = int(m_labels.size());
    if (n == 0 || !m_labelFont)
        return drawn;
    const float x0 = float(kFirstTick);
    const float step = Step(width(), n);
    const int bottom = height();
    const auto place = [&](int index, float x) {
        if (index < 0 || index >= n)
            return;
        const QSize size = SkinFont::TextExtent(*m_labelFont, m_labels[index]);
        const int left = int(x - float(size.width() / 2));
        const int right = int(x + float(size.width()));
        drawn.append({index, QRect(QPoint(left, bottom - size.height()), QPoint(right - 1, bottom - 1))});
    };
    if (m_labelFlags & LabelsAll) {
        if (n > 1) {
            float x = x0;
            for (int i = 0; i < n; ++i) {
                place(i, x);
                x += step;
            }
        }
        return drawn;
    }
    const auto at = [&](int index) { place(index, float(int(float(index) * step + x0))); };
    if (m_labelFlags & LabelsFirstAndLast) {
        at(0);
        at(n - 1);
    }
    if (m_labelFlags & LabelUpperMiddle)
        at((n + 1) / 2);
    if (m_labelFlags & LabelLowerMiddle)
        at((n - 1) / 2);
    return drawn;
}

// As on the trackbar: Up, Page Up and the wheel turned away from the user move the thumb toward
// the minimum; Down, Page Down and the wheel turned toward the user toward the maximum.
void CSubSlider::keyPressEvent(QKeyEvent* event)
{
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    default:
        QSlider::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

void CSubSlider::wheelEvent(QWheelEvent* event)
{
    setInvertedControls(true);
    QSlider::wheelEvent(event);
    setInvertedControls(false);
}

void CSubSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const bool enabled = isEnabled();
    const int w = width();
    const int centreY = ThumbTop + ThumbHeight / 2;

    // Channel: a sunken groove along the ticks.
    const QRect channel(8, centreY - 2, w - 16, 4);
    painter.fillRect(channel, QColor(231, 234, 234));
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(channel.topLeft(), channel.topRight());
    painter.drawLine(channel.topLeft(), channel.bottomLeft());
    painter.setPen(Qt::white);
    painter.drawLine(channel.bottomLeft(), channel.bottomRight());
    painter.drawLine(channel.topRight(), channel.bottomRight());

    // Ticks above and below the thumb.
    painter.setPen(enabled ? QColor(0, 0, 0) : QColor(160, 160, 160));
    const int tickTop = ThumbTop - 2 - kTickLength;
    const int tickBottom = ThumbTop + ThumbHeight + 2;
    for (int x : TickPositions()) {
        painter.drawLine(x, tickTop, x, tickTop + kTickLength - 1);
        painter.drawLine(x, tickBottom, x, tickBottom + kTickLength - 1);
    }

    // Thumb.
    const int thumbX = ThumbCentreX() - ThumbWidth / 2;
    const QRect thumb(thumbX, ThumbTop, ThumbWidth, ThumbHeight);
    const QColor face = !enabled         ? QColor(244, 244, 244)
                        : isSliderDown() ? QColor(204, 228, 247)
                                         : QColor(236, 236, 236);
    painter.fillRect(thumb, face);
    painter.setPen(enabled ? QColor(112, 112, 112) : QColor(191, 191, 191));
    painter.drawRect(thumb.adjusted(0, 0, -1, -1));
    if (enabled) {
        painter.setPen(Qt::white);
        painter.drawLine(thumb.left() + 1, thumb.top() + 1, thumb.right() - 1, thumb.top() + 1);
        painter.drawLine(thumb.left() + 1, thumb.top() + 1, thumb.left() + 1, thumb.bottom() - 1);
    }

    if (hasFocus()) {
        QPen dotted(colours.color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(QRect(0, 0, w, tickBottom + kTickLength + 1).adjusted(0, 0, -1, -1));
    }

    // Labels, after the control itself, in the default text colour.
    if (m_labelFont) {
        painter.setFont(*m_labelFont);
        painter.setPen(QColor(0, 0, 0));
        for (const DrawnLabel& label : DrawnLabels())
            painter.drawText(label.rect, Qt::AlignLeft | Qt::AlignTop, m_labels[label.index]);
    }
}
