#include "ui/CBaseDialog.h"

#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "ui/CSubSlider.h"

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>

// The scrolling client area: every control lives here, so scrolling it moves them all.
class CBaseDialog::ContentWidget final : public QWidget
{
public:
    explicit ContentWidget(CBaseDialog* page) : QWidget(page), m_page(page) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), BackgroundColor);
        m_page->PaintPage(painter);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_page->OnBackgroundPressed();
        event->accept();
    }

private:
    CBaseDialog* m_page;
};

CBaseDialog::CBaseDialog(int templateId, QWidget* parent) : QWidget(parent), m_templateId(templateId)
{
    setFixedSize(Width, Height);
    QPalette palette = this->palette();
    // Near white, not white: the page is told apart from the white page area behind it. Labels
    // are read-only edit fields on the same background.
    palette.setColor(QPalette::Window, BackgroundColor);
    palette.setColor(QPalette::Base, BackgroundColor);
    setPalette(palette);
    setAutoFillBackground(true);

    m_content = new ContentWidget(this);
    m_content->setGeometry(0, 0, ClientWidth, Height);
    m_content->installEventFilter(this);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setGeometry(ClientWidth, 0, ScrollBarWidth, Height);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &CBaseDialog::OnBarAction);
    ConfigureScrollBar();
}

CBaseDialog::~CBaseDialog() = default;

// --- Controls -------------------------------------------------------------------------------

void CBaseDialog::Register(int id, QWidget* control)
{
    control->setParent(m_content);
    control->setGeometry(0, 0, 0, 0);
    control->installEventFilter(this);
    if (!m_controls.contains(id))
        m_controlOrder.append(id);
    m_controls.insert(id, control);
}

QWidget* CBaseDialog::Control(int id) const
{
    return m_controls.value(id, nullptr);
}

QAbstractButton* CBaseDialog::Button(int id) const
{
    return ControlAs<QAbstractButton>(id);
}

CSubSlider* CBaseDialog::Slider(int id) const
{
    return ControlAs<CSubSlider>(id);
}

bool CBaseDialog::IsChecked(int id) const
{
    const QAbstractButton* button = Button(id);
    return button && button->isCheckable() && button->isChecked();
}

bool CBaseDialog::IsEnabled(int id) const
{
    const QWidget* control = Control(id);
    return control && control->isEnabled();
}

QLineEdit* CBaseDialog::AddLabel(int id, Qt::Alignment alignment)
{
    auto* label = new QLineEdit(m_content);
    label->setReadOnly(true);
    label->setFrame(false);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setContextMenuPolicy(Qt::NoContextMenu);
    // A label never takes the focus: a focused read-only field shows its whole text selected.
    label->setFocusPolicy(Qt::NoFocus);
    Register(id, label);
    return label;
}

QRadioButton* CBaseDialog::AddRadio(int id, int group)
{
    auto* radio = new QRadioButton(m_content);
    QButtonGroup*& buttons = m_radioGroups[group];
    if (!buttons) {
        buttons = new QButtonGroup(this);
        buttons->setExclusive(true);
    }
    buttons->addButton(radio, id);
    Register(id, radio);
    return radio;
}

QCheckBox* CBaseDialog::AddCheckBox(int id)
{
    auto* box = new QCheckBox(m_content);
    Register(id, box);
    return box;
}

QPushButton* CBaseDialog::AddPushButton(int id)
{
    auto* button = new QPushButton(m_content);
    button->setAutoDefault(false);
    Register(id, button);
    return button;
}

CSubSlider* CBaseDialog::AddSlider(int id)
{
    auto* slider = new CSubSlider(m_content);
    Register(id, slider);
    return slider;
}

void CBaseDialog::SetChecked(int id, bool checked)
{
    QAbstractButton* button = Button(id);
    if (!button)
        return;
    const QSignalBlocker blocker(button);
    QButtonGroup* group = button->group();
    if (!checked && group && group->exclusive() && button->isChecked()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

void CBaseDialog::SetEnabled(int id, bool enabled)
{
    if (QWidget* control = Control(id))
        control->setEnabled(enabled);
}

// --- Binding table ----------------------------------------------------------------------------

void CBaseDialog::Bind(std::initializer_list<Binding> rows)
{
    for (const Binding& row : rows) {
        // The table reads and writes signed 32-bit values; other fields have rules of their own.
        Q_ASSERT(row.field->type == FieldType::Int32);
        m_bindings.append(row);
        const int id = row.id;
        if (QAbstractButton* button = Button(id))
            connect(button, &QAbstractButton::clicked, this, [this, id] { StoreBinding(id); });
    }
}

bool CBaseDialog::StoreBinding(int id)
{
    const auto row = std::find_if(m_bindings.cbegin(), m_bindings.cend(),
                                  [id](const Binding& binding) { return binding.id == id; });
    if (row == m_bindings.cend())
        return false;
    if (SettingsRecord* record = SettingsRecord::Instance()) {
        const qint32 value = row->kind == Binding::Kind::Radio ? row->value : IsChecked(id) ? 1 : 0;
        record->SetInt32(*row->field, value);
    }
    return true;
}

void CBaseDialog::LoadBindings()
{
    const SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;
    const auto namedByARadio = [this](const FieldSpec& field, qint32 stored) {
        return std::any_of(m_bindings.cbegin(), m_bindings.cend(), [&](const Binding& row) {
            return row.loaded && row.kind == Binding::Kind::Radio && row.field->offset == field.offset &&
                   row.value == stored;
        });
    };
    QList<int> shown;
    QList<int> cleared;
    for (const Binding& row : std::as_const(m_bindings)) {
        if (!row.loaded)
            continue;
        const qint32 stored = record->Int32(*row.field);
        const bool checked =
            row.kind == Binding::Kind::CheckBox
                ? stored != 0
                : stored == row.value || (row.fallback && !namedByARadio(*row.field, stored));
        (checked ? shown : cleared).append(row.id);
    }
    // Unchecking first: a radio checked afterwards never makes its group uncheck a sibling, which
    // would signal outside the blocker SetChecked holds for the one button it sets.
    for (int id : std::as_const(cleared))
        SetChecked(id, false);
    for (int id : std::as_const(shown))
        SetChecked(id, true);
}

void CBaseDialog::HideUnplaced()
{
    for (int id : std::as_const(m_controlOrder)) {
        QWidget* control = m_controls.value(id);
        if (control && control->size().isEmpty()) {
            control->setFocusPolicy(Qt::NoFocus);
            control->hide();
        }
    }
}

// --- Fonts and layout -------------------------------------------------------------------------

void CBaseDialog::CreatePageFonts()
{
    m_fontHeading = SkinFont::Create(14, true);
    m_fontBold = SkinFont::Create(13, true);
    m_fontText = SkinFont::Create(13, false);
}

int CBaseDialog::MeasureTextWidth(const QString& text, const QFont& font)
{
    return SkinFont::TextExtent(font, text).width();
}

namespace {

void SetText(QWidget* control, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else {
        control->setWindowTitle(text);
    }
}

} // namespace

QSize CBaseDialog::PlaceLabel(int id, const QString& text, const QFont& font, int x, int y)
{
    QWidget* control = Control(id);
    if (!control)
        return QSize();
    const QString trimmed = text.trimmed();
    control->setFont(font);
    SetText(control, trimmed);
    // The height comes from the system font, not the label's: a fixed line of the platform's
    // dialog font, so the layout does not depend on the fonts a machine happens to have.
    const int height = trimmed.isEmpty() ? 0 : int(SkinFont::Lines(trimmed).size()) * SystemFontLineHeight;
    const int measured = MeasureTextWidth(trimmed, font);
    const QSize size(measured != 0 ? measured + 30 : 25, height != 0 ? height : 25);
    control->setGeometry(x, y, size.width(), size.height());
    return size;
}

QSize CBaseDialog::MoveControl(int id, int x, int y, int width, int height)
{
    QWidget* control = Control(id);
    if (!control)
        return QSize();
    control->setGeometry(x, y, width, height);
    return QSize(width, height);
}

void CBaseDialog::SetControlText(int id, const QFont& font, const QString& text, int x, int y, int width,
                                 int height, bool fitWidth)
{
    QWidget* control = Control(id);
    if (!control)
        return;
    control->setFont(font);
    SetText(control, text);
    if (fitWidth) {
        width = MeasureTextWidth(text, font);
        if (width > 0)
            width += 4 * MeasureTextWidth(QStringLiteral(" "), font);
    }
    control->setGeometry(x, y, width, height);
}

QSize CBaseDialog::PlaceHeading(int id, const QString& text, int x, int y)
{
    m_headingIds.append(id);
    return PlaceLabel(id, text, m_fontHeading, x, y);
}

void CBaseDialog::PlaceControl(int id, const QFont& font, const QString& text, int x, int y, int width,
                               int height, bool fitWidth)
{
    QWidget* control = Control(id);
    if (!control)
        return;
    control->setFont(font);
    if (fitWidth)
        width = MeasureTextWidth(text, font);
    control->setGeometry(x, y, width, height);
}

// --- Painting -----------------------------------------------------------------------------------

void CBaseDialog::PaintPage(QPainter& painter)
{
    PaintHeadingRules(painter);
}

void CBaseDialog::PaintHeadingRules(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(HeadingRuleColor, 1));
    const int right = m_content->width() - 15;
    for (int id : m_headingIds) {
        const QWidget* heading = Control(id);
        if (!heading || heading->isHidden() || heading->width() == 0)
            continue;
        const QRect box = heading->geometry();
        const int y = box.top() + box.height() / 2;
        const int left = box.width() + 27;
        // The end point is not part of the line.
        if (right - 1 >= left)
            painter.drawLine(left, y, right - 1, y);
    }
    painter.restore();
}

// --- Scrolling ------------------------------------------------------------------------------

void CBaseDialog::ConfigureScrollBar()
{
    const QSignalBlocker blocker(m_scrollBar);
    // The bar reports positions up to maximum - page + 1.
    const int last = ScrollBarMaximum() - ScrollBarPage() + 1;
    m_scrollBar->setRange(0, std::max(0, last));
    m_scrollBar->setPageStep(ScrollBarPage());
    m_scrollBar->setSingleStep(std::max(1, m_scrollStep));
    m_scrollBar->setValue(0);
    m_scrollBar->setEnabled(last > 0);
    m_scrollBar->show();
}

void CBaseDialog::SetBarPosition(int position)
{
    m_settingBar = true;
    {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setSliderPosition(position);
        m_scrollBar->setValue(position);
    }
    m_settingBar = false;
}

void CBaseDialog::ScrollBy(int delta)
{
    m_scrollPos += delta;
    SetBarPosition(m_scrollPos);
    if (delta == 0)
        return;
    if (m_content->isVisible()) {
        m_content->scroll(0, -delta);
        return;
    }
    // A hidden page (another tab is shown) scrolls too; Qt only scrolls visible widgets.
    const QList<QWidget*> children = m_content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        child->move(child->x(), child->y() - delta);
}

void CBaseDialog::OnVScroll(int code, int thumb)
{
    const int p = m_scrollPos;
    const int r = m_scrollRange;
    const int s = m_scrollStep;
    const int page = ScrollBarPage();
    int delta = 0;
    switch (code) {
    case LineUp:
        delta = -std::min(s, p);
        break;
    case LineDown:
        delta = std::min(s, r - p);
        break;
    case PageUp:
        delta = -std::min(page, p);
        break;
    case PageDown:
        delta = std::min(page, r - p);
        break;
    case ThumbPosition:
    case ThumbTrack:
        delta = thumb - p;
        break;
    default:
        return;
    }
    ScrollBy(delta);
}

void CBaseDialog::OnMouseWheel(int delta)
{
    if (delta > 0)
        OnVScroll(LineUp, 0);
    else if (delta < 0)
        OnVScroll(LineDown, 0);
}

void CBaseDialog::OnBarAction(int action)
{
    if (m_settingBar)
        return;
    int code = EndScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = LineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = LineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = PageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = PageDown;
        break;
    case QAbstractSlider::SliderMove:
        code = ThumbTrack;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = Bottom;
        break;
    default:
        break;
    }
    OnVScroll(code, m_scrollBar->sliderPosition());
    // The bar shows the page's position, also where the page ignored the action.
    SetBarPosition(m_scrollPos);
}

void CBaseDialog::wheelEvent(QWheelEvent* event)
{
    OnMouseWheel(event->angleDelta().y());
    event->accept();
}

// --- Keys ---------------------------------------------------------------------------------------

bool CBaseDialog::SwallowsKey(int key) const
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || m_extraSwallowedKeys.contains(key);
}

namespace {

bool TakesOwnWheel(const QObject* watched)
{
    if (qobject_cast<const QScrollBar*>(watched))
        return false;
    return qobject_cast<const QAbstractSlider*>(watched) || qobject_cast<const QComboBox*>(watched) ||
           qobject_cast<const QAbstractSpinBox*>(watched);
}

} // namespace

bool CBaseDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (SwallowsKey(key->key())) {
            event->accept();
            return event->type() == QEvent::KeyPress;
        }
    } else if (event->type() == QEvent::Wheel && !TakesOwnWheel(watched)) {
        // Over the page's background, its labels, buttons and its bar the wheel scrolls the page;
        // sliders, lists and spin boxes keep it for their own values.
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
