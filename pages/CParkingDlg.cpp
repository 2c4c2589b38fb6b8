#include "pages/CParkingDlg.h"

#include "i18n/LanguagePack.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "settings/SliderTables.h"
#include "ui/CMsgPopupDlg.h"
#include "ui/CSubSlider.h"

#include <QAbstractButton>
#include <QPushButton>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// Tick labels from the value tables the sliders store, so a label always names the stored value.
QStringList MotionLabels()
{
    QStringList labels;
    for (int value : SliderTables::Motion)
        labels.append(value == 0 ? u"OFF"_s : QString::number(value)); // 0: no motion detection
    return labels;
}

QStringList HoursLabels()
{
    QStringList labels;
    // Entry 0 only matches a stored 0 on loading; it is no position of the slider.
    for (auto hours = SliderTables::Hours.begin() + 1; hours != SliderTables::Hours.end(); ++hours)
        labels.append(QString::number(*hours));
    return labels;
}

template <std::size_t Count>
QStringList VoltLabels(const std::array<float, Count>& volts)
{
    QStringList labels;
    for (float value : volts)
        labels.append(QString::asprintf("%.1fV", double(value)));
    // The top voltage's label ends in a space ("12.3V "), which widens the box it is measured and
    // drawn in; it is kept byte for byte.
    labels.last() += u' ';
    return labels;
}

// "1", "3" and "5" of the five impact levels.
constexpr CSubSlider::LabelFlags EndsAndMiddle =
    CSubSlider::LabelsFirstAndLast | CSubSlider::LabelLowerMiddle;
// The first, the fifth and the last of the eight voltages.
constexpr CSubSlider::LabelFlags EndsAndUpperMiddle =
    CSubSlider::LabelsFirstAndLast | CSubSlider::LabelUpperMiddle;
constexpr CSubSlider::LabelFlags EveryLabel = CSubSlider::LabelsAll;

struct SliderSetup
{
    int id;
    bool labelled; // label font and labels set
    QStringList labels;
    CSubSlider::LabelFlags flags;
    int minimum, maximum;
    int initial; // -1: not set
    int kind;    // -1: not set
};

const QList<SliderSetup>& SliderSetups()
{
    static const QStringList impact{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    // clang-format off
    static const QList<SliderSetup> setups{
        {CParkingDlg::IdContinuousImpact, true, impact, EndsAndMiddle, 1, 5, 3, -1},
        {CParkingDlg::IdBrightness, false, {}, {}, 0, 2, -1, -1},
        {CParkingDlg::IdParkingImpact, true, impact, EndsAndMiddle, 1, 5, 3, -1},
        {CParkingDlg::IdMotion, true, MotionLabels(), EveryLabel, 0, 3, 4, CSubSlider::KindMotion},
        {CParkingDlg::IdRecordHours, true, HoursLabels(), EveryLabel, 0, 3, 4, CSubSlider::KindHoursAlt},
        {CParkingDlg::IdCutoff12V, true, VoltLabels(SliderTables::Volts12), EndsAndUpperMiddle, 0, 7, 4,
         CSubSlider::KindVolts12},
        {CParkingDlg::IdCutoff24V, true, VoltLabels(SliderTables::Volts24), EndsAndUpperMiddle, 0, 7, 4,
         CSubSlider::KindVolts24},
    };
    // clang-format on
    return setups;
}

// Controls that follow parking mode.
constexpr int kParkingControls[] = {
    CParkingDlg::IdRecordHours,   CParkingDlg::IdParkingImpact, CParkingDlg::IdMotion,
    CParkingDlg::IdCutoff12V,     CParkingDlg::IdCutoff24V,     CParkingDlg::IdLowVoltageOn,
    CParkingDlg::IdLowVoltageOff, CParkingDlg::IdMonth1,        CParkingDlg::IdMonth2,
    CParkingDlg::IdMonth3,        CParkingDlg::IdMonth4,        CParkingDlg::IdMonth5};

// Index of `value` in `table`, or the table's size when it is not there.
template <typename Table>
int IndexOf(const Table& table, int value)
{
    const auto found = std::find(table.begin(), table.end(), value);
    return int(found - table.begin());
}

QString Text(const char16_t* key)
{
    return GetText(QStringView(key));
}

} // namespace

CParkingDlg::CParkingDlg(QWidget* parent) : CBaseDialog(TemplateId, parent)
{
    SetScrollStep(ScrollStepPixels);
    // Escape stays in the page as Return does: in the main window either would close it.
    SwallowKey(Qt::Key_Escape);
    SetScrollRange(500);
    m_scrollPos = 0;
    CreatePageFonts();
    CreateControls();
    Build();
    ConfigureScrollBar();
    HideUnplaced(); // the focus sink included
}

void CParkingDlg::CreateControls()
{
    // In tab order.
    for (int id : {IdContinuousHeading, IdContinuousLow})
        AddLabel(id);
    AddSlider(IdContinuousImpact);
    AddLabel(IdContinuousHigh);
    AddLabel(IdBrightnessHeading);
    AddSlider(IdBrightness);
    AddLabel(IdDark);
    AddLabel(IdBright);
    AddLabel(IdParkingHeading);
    AddRadio(IdParkingOn, 1);
    AddRadio(IdParkingOnNoMotion, 1);
    AddRadio(IdParkingOff, 1);
    AddLabel(IdParkingImpactHeading);
    AddLabel(IdParkingImpactLow);
    AddSlider(IdParkingImpact);
    AddLabel(IdParkingImpactHigh);
    AddLabel(IdMotionHeading);
    AddLabel(IdMotionLow);
    AddSlider(IdMotion);
    AddLabel(IdMotionHigh);
    AddLabel(IdTimerHeading);
    AddSlider(IdRecordHours);
    AddLabel(IdHours);
    AddLabel(IdBatteryHeading);
    AddLabel(Id12V);
    AddSlider(IdCutoff12V);
    AddLabel(Id24V);
    AddSlider(IdCutoff24V);

    AddRadio(IdLowVoltageOn, 2);
    AddRadio(IdLowVoltageOff, 2);
    AddRadio(IdSwitch508On, 3);
    AddRadio(IdSwitch508Off, 3);
    for (int id = IdMonth1; id <= IdMonth5; ++id)
        AddCheckBox(id);
    AddCheckBox(IdSwitch536Box);
    AddCheckBox(IdSwitch508Box);
    AddRadio(IdSwitch540On, 4);
    AddRadio(IdSwitch540Off, 4);
    for (int id : {IdUnplacedLabel1, IdUnplacedLabel2, IdUnplacedLabel3, IdUnplacedLabel4, IdUnplacedLabel5,
                   IdUnplacedLabel6, IdUnplacedLabel7})
        AddLabel(id);
    AddPushButton(IdFocusSink);

    for (const SliderSetup& setup : SliderSetups()) {
        CSubSlider* slider = Slider(setup.id);
        const int id = setup.id;
        // Only user actions store: dragging, paging, keys and the wheel trigger actions, and
        // a release ends a drag; setValue while loading triggers none.
        connect(slider, &QAbstractSlider::actionTriggered, this, [this, id] { OnSliderChanged(id); });
        connect(slider, &QAbstractSlider::sliderReleased, this, [this, id] { OnSliderChanged(id); });
    }
    for (int id :
         std::initializer_list<int>{IdParkingOn, IdParkingOnNoMotion, IdParkingOff, IdLowVoltageOn,
                                    IdLowVoltageOff, IdMonth1, IdMonth2, IdMonth3, IdMonth4, IdMonth5}) {
        connect(Button(id), &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
    // The switches that only mirror a field. Loading shows the 508 radios only; the other
    // switches start unchecked whatever the record holds.
    Bind({
        FallbackRadioRow(IdSwitch508On, Field::unplaced_switch_508, 1),
        RadioRow(IdSwitch508Off, Field::unplaced_switch_508, 0),
        StoreOnly(CheckBoxRow(IdSwitch508Box, Field::unplaced_switch_508)),
        StoreOnly(CheckBoxRow(IdSwitch536Box, Field::unplaced_switch_536)),
        StoreOnly(RadioRow(IdSwitch540On, Field::unplaced_switch_540, 1)),
        StoreOnly(RadioRow(IdSwitch540Off, Field::unplaced_switch_540, 0)),
    });
}

void CParkingDlg::SetUpSlider(int id)
{
    CSubSlider* slider = Slider(id);
    const auto setup = std::find_if(SliderSetups().begin(), SliderSetups().end(),
                                    [id](const SliderSetup& s) { return s.id == id; });
    if (!slider || setup == SliderSetups().end())
        return;
    if (setup->labelled) {
        slider->SetLabelFont(&TextFont());
        slider->SetLabels(setup->labels, setup->flags);
    }
    slider->SetRange(setup->minimum, setup->maximum);
    slider->setTickInterval(1);
    if (setup->initial >= 0)
        SetSliderPosition(id, setup->initial);
    if (setup->kind >= 0)
        slider->SetTooltipKind(setup->kind);
}

void CParkingDlg::Build()
{
    const QFont& text = TextFont();
    ClearHeadings();

    PlaceHeading(IdContinuousHeading, Text(u"IDS_STRING216"), 15, 20);
    PlaceLowHighSlider(IdContinuousLow, IdContinuousImpact, IdContinuousHigh, 55, 97);

    PlaceHeading(IdBrightnessHeading, Text(u"IDS_STRING215"), 15, 147);
    MoveControl(IdBrightness, 110, 177, 350, 48);
    SetUpSlider(IdBrightness);
    PlaceLabel(IdDark, Text(u"IDS_STRING112"), text, 75, 222);
    PlaceLabel(IdBright, Text(u"IDS_STRING113"), text, 460, 222);

    PlaceHeading(IdParkingHeading, Text(u"IDS_STRING104"), 15, 252);
    PlaceLabel(IdParkingOn, Text(u"IDS_STRING135"), text, 25, 282);
    PlaceLabel(IdParkingOff, Text(u"IDS_STRING136"), text, 25, 312);

    PlaceHeading(IdParkingImpactHeading, Text(u"IDS_STRING222"), 15, 352);
    PlaceLowHighSlider(IdParkingImpactLow, IdParkingImpact, IdParkingImpactHigh, 387, 429);

    PlaceHeading(IdMotionHeading, Text(u"IDS_STRING251"), 15, 499);
    PlaceLowHighSlider(IdMotionLow, IdMotion, IdMotionHigh, 534, 576);

    PlaceHeading(IdTimerHeading, Text(u"IDS_STRING140"), 15, 646);
    MoveControl(IdRecordHours, 110, 681, 350, 55);
    SetUpSlider(IdRecordHours);
    PlaceLabel(IdHours, Text(u"IDS_STRING141"), text, 55, 723);

    PlaceHeading(IdBatteryHeading, Text(u"IDS_STRING142"), 15, 793);
    int w = PlaceLabel(Id12V, Text(u"IDS_STRING143"), BoldFont(), 30, 828).width();
    MoveControl(IdCutoff12V, w + 30, 828, 350, 55);
    SetUpSlider(IdCutoff12V);
    w = PlaceLabel(Id24V, Text(u"IDS_STRING144"), BoldFont(), 30, 928).width();
    MoveControl(IdCutoff24V, w + 30, 928, 350, 55);
    SetUpSlider(IdCutoff24V);

    SetScrollRange(BuiltScrollRange);
}

// A slider between its "Low" and "High" labels: the slider starts where "Low" ends, so a longer
// translation moves both the slider and "High" to the right.
void CParkingDlg::PlaceLowHighSlider(int lowId, int sliderId, int highId, int sliderTop, int labelTop)
{
    const int w = PlaceLabel(lowId, Text(u"IDS_STRING127"), TextFont(), 60, labelTop).width();
    MoveControl(sliderId, w + 60, sliderTop, 350, 55);
    SetUpSlider(sliderId);
    PlaceLabel(highId, Text(u"IDS_STRING128"), TextFont(), w + 430, labelTop);
}

void CParkingDlg::SetSliderPosition(int id, int position)
{
    if (CSubSlider* slider = Slider(id))
        slider->setValue(position); // clamped to the range; triggers no action
}

// --- Record to controls ------------------------------------------------------------------------

void CParkingDlg::LoadFromRecord()
{
    const SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;
    SetSliderPosition(IdContinuousImpact, record->Int32(Field::continuous_impact_sensitivity));
    SetSliderPosition(IdParkingImpact, record->Int32(Field::parking_impact_sensitivity));
    SetSliderPosition(IdMotion, IndexOf(SliderTables::Motion, record->Int32(Field::motion_sensitivity)));
    ApplyParkingMode(record->Int32(Field::parking_mode));
    // A stored 0 finds entry 0 and shows the first position; the stored value stays.
    SetSliderPosition(IdRecordHours,
                      IndexOf(SliderTables::Hours, record->Int32(Field::parking_record_hours)) - 1);
    SetSliderPosition(IdCutoff12V, record->Int32(Field::cutoff_voltage_12v));
    SetSliderPosition(IdCutoff24V, record->Int32(Field::cutoff_voltage_24v));
    const quint32 months = record->UInt32(Field::winter_month_mask);
    for (int bit = 0; bit < 5; ++bit)
        SetChecked(IdMonth1 + bit, (months >> bit) & 1u);
    LoadBindings();
    SetSliderPosition(IdBrightness, record->Int32(Field::video_brightness));
}

// The radios and enable states that show parking mode `mode`.
void CParkingDlg::ApplyParkingMode(int mode)
{
    SetChecked(IdParkingOn, mode == 1);
    SetChecked(IdParkingOnNoMotion, mode == 2);
    SetChecked(IdParkingOff, mode != 1 && mode != 2);
    UpdateEnableStates(mode == 1 || mode == 2 ? 1 : 0, true);
    if (mode == 2)
        SetEnabled(IdMotion, false);
}

void CParkingDlg::UpdateEnableStates(int level, bool apply)
{
    const SettingsRecord* record = SettingsRecord::Instance();
    const bool parking = record && record->Int32(Field::parking_mode) != 0;
    for (int id : kParkingControls)
        SetEnabled(id, parking);
    if (apply) {
        for (int id : {IdRecordHours, IdParkingImpact, IdMotion})
            SetEnabled(id, level != 0);
    }
}

// --- User actions ---------------------------------------------------------------------------------

void CParkingDlg::OnSliderChanged(int id)
{
    SettingsRecord* record = SettingsRecord::Instance();
    const CSubSlider* slider = Slider(id);
    if (!record || !slider)
        return;
    const int position = slider->sliderPosition();
    switch (id) {
    case IdContinuousImpact:
        record->SetInt32(Field::continuous_impact_sensitivity, position);
        break;
    case IdParkingImpact:
        record->SetInt32(Field::parking_impact_sensitivity, position);
        break;
    case IdMotion:
        if (position >= 0 && position < int(SliderTables::Motion.size()))
            record->SetInt32(Field::motion_sensitivity, SliderTables::Motion[position]);
        break;
    case IdRecordHours:
        if (position >= 0 && position + 1 < int(SliderTables::Hours.size()))
            record->SetInt32(Field::parking_record_hours, SliderTables::Hours[position + 1]);
        break;
    case IdCutoff12V:
        record->SetInt32(Field::cutoff_voltage_12v, position);
        break;
    case IdCutoff24V:
        record->SetInt32(Field::cutoff_voltage_24v, position);
        break;
    case IdBrightness:
        record->SetInt32(Field::video_brightness, position);
        break;
    default:
        break;
    }
}

void CParkingDlg::OnCommand(int id)
{
    SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;
    switch (id) {
    case IdParkingOn:
    case IdParkingOnNoMotion:
    case IdParkingOff:
        OnParkingRadio(id);
        break;
    case IdLowVoltageOn:
    case IdLowVoltageOff:
        OnLowVoltageRadio(id);
        break;
    case IdMonth1:
    case IdMonth2:
    case IdMonth3:
    case IdMonth4:
    case IdMonth5: {
        const quint32 bit = 1u << (id - IdMonth1);
        const quint32 months = record->UInt32(Field::winter_month_mask);
        record->SetUInt32(Field::winter_month_mask, IsChecked(id) ? months | bit : months & ~bit);
        break;
    }
    case IdSwitch100On:
    case IdSwitch100Off:
        record->SetInt32(Field::unplaced_switch_100, id == IdSwitch100On ? 1 : 0);
        break;
    default:
        StoreBinding(id);
        break;
    }
}

void CParkingDlg::OnParkingRadio(int id)
{
    SettingsRecord& record = *SettingsRecord::Instance();
    if (id == IdParkingOn || id == IdParkingOnNoMotion) {
        record.SetInt32(Field::parking_mode, id == IdParkingOn ? 1 : 2);
        UpdateEnableStates(1, true);
        if (id == IdParkingOnNoMotion)
            SetEnabled(IdMotion, false);
        return;
    }
    const int stored = record.Int32(Field::parking_mode);
    if (!IsChecked(IdParkingOff) || stored == 0)
        return;
    CMsgPopupDlg popup(this);
    popup.SetContent(Text(u"IDS_STRING104"),
                     Text(u"IDS_STRING177") + u"\r\n"_s + Text(u"IDS_STRING1770") + u"\r\n"_s, 490, 170);
    if (popup.exec() == CMsgPopupDlg::Yes) {
        // The record may have gone while the popup was open (the window closed).
        if (SettingsRecord* current = SettingsRecord::Instance()) {
            current->SetInt32(Field::parking_mode, 0);
            UpdateEnableStates(0, true);
        }
        return;
    }
    // Back to what the record holds.
    ApplyParkingMode(stored);
    if (stored == 1 || stored == 2)
        Control(stored == 1 ? IdParkingOn : IdParkingOnNoMotion)->setFocus();
}

void CParkingDlg::OnLowVoltageRadio(int id)
{
    SettingsRecord& record = *SettingsRecord::Instance();
    if (id == IdLowVoltageOn) {
        record.SetInt32(Field::low_voltage_shutdown, 1);
        UpdateEnableStates(1, false);
        SetMonthsEnabled(true);
        return;
    }
    if (record.Int32(Field::low_voltage_shutdown) == 0)
        return;
    CMsgPopupDlg popup(this);
    popup.SetContent(Text(u"IDS_STRING246"),
                     Text(u"IDS_STRING247") + u"\r\n"_s + Text(u"IDS_STRING248") + u"\r\n"_s +
                         Text(u"IDS_STRING249"),
                     330, 170);
    const bool yes = popup.exec() == CMsgPopupDlg::Yes;
    SettingsRecord* current = SettingsRecord::Instance();
    if (!current)
        return;
    current->SetInt32(Field::low_voltage_shutdown, yes ? 0 : 1);
    if (!yes) {
        SetChecked(IdLowVoltageOn, true);
        SetChecked(IdLowVoltageOff, false);
        Control(IdLowVoltageOn)->setFocus();
    }
    UpdateEnableStates(yes ? 0 : 1, false);
    SetMonthsEnabled(!yes);
}

void CParkingDlg::SetMonthsEnabled(bool enabled)
{
    for (int id = IdMonth1; id <= IdMonth5; ++id)
        SetEnabled(id, enabled);
}

// --- Focus --------------------------------------------------------------------------------------

void CParkingDlg::OnBackgroundPressed()
{
    // A click beside the controls takes the focus from them; the hidden focus sink cannot hold
    // it, so the page itself does.
    Content()->setFocus(Qt::MouseFocusReason);
}
