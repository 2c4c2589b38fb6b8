#include "pages/CSystemDlg.h"

#include "i18n/LanguagePack.h"
#include "platform/PlatformServices.h"
#include "settings/CardRoot.h"
#include "settings/DeviceClock.h"
#include "settings/DeviceVersionInfo.h"
#include "settings/SettingsRecord.h"
#include "settings/SystemClock.h"
#include "ui/CSubSlider.h"
#include "ui/MessageBox.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Radio groups of the page; each excludes only its own members.
enum RadioGroup
{
    GroupDaylight = 1,
    GroupSpeedUnit,
    GroupSpeedStamp,
    GroupSafetyCamera,
    GroupSpeedTrap,
    GroupChoice,
    GroupAutoOff,
    GroupLanguage,
};

const QStringList VolumeLabels{u"OFF"_s, u"1"_s, u"2"_s, u"3"_s};

// The width of the time zone list: seventy characters of the page's text font.
const QString TimeZoneListSample =
    u"123456789 123456789 123456789 123456789 123456789 123456789 123456789 "_s;

void CopyDate(const QDateTime& value, DeviceClock& clock)
{
    const QDate date = value.date();
    clock.year = quint16(date.year());
    clock.month = quint16(date.month());
    clock.day_of_week = quint16(date.dayOfWeek() % 7); // Sunday 0
    clock.day = quint16(date.day());
}

void CopyTime(const QDateTime& value, DeviceClock& clock)
{
    const QTime time = value.time();
    clock.hour = quint16(time.hour());
    clock.minute = quint16(time.minute());
    clock.second = quint16(time.second());
    clock.milliseconds = quint16(time.msec());
}

// The locale's short date, always with the full year: a two-digit year cannot be told apart
// from another century in a date picker.
QString ShortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(u"yyyy"_s))
        format.replace(u"yy"_s, u"yyyy"_s);
    return format;
}

} // namespace

CSystemDlg::CSystemDlg(const DeviceVersionInfo& versionInfo, QWidget* parent)
    : CBaseDialog(TemplateId, parent), m_versionInfo(versionInfo)
{
    SetScrollRange(250);
    SetScrollStep(PageScrollStep);
    // Escape stays in the page as Return does: in the main window either would close it.
    SwallowKey(Qt::Key_Escape);

    for (int id : {IdLanguageHeading, IdVoiceHeading, IdVolumeLabel, IdTimeZoneHeading, IdDateTimeHeading,
                   IdDaylightHeading, IdSpeedUnitHeading, IdSpeedStampHeading, IdSafetyCameraHeading,
                   IdSpeedTrapHeading, IdTouchHeading})
        AddLabel(id);

    // Drop-down lists open below the box with a fixed number of rows, not over it.
    const QString dropDown = u"QComboBox { combobox-popup: 0; }"_s;
    auto* languageList = AddControl(IdLanguageList, new QComboBox);
    languageList->setStyleSheet(dropDown);
    languageList->setMaxVisibleItems(12);
    CSubSlider* volume = AddSlider(IdVolumeSlider);
    auto* timeZoneList = AddControl(IdTimeZoneList, new QComboBox);
    timeZoneList->setStyleSheet(dropDown);
    timeZoneList->setMaxVisibleItems(16);

    AddCheckBox(IdWriteClock);
    // Both pickers start at the time they were made; the camera's clock is not shown in them.
    const QDateTime created = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    auto* datePicker = AddControl(IdDatePicker, new QDateTimeEdit(created));
    datePicker->setDisplayFormat(ShortDateFormat());
    datePicker->setCalendarPopup(true);
    auto* timePicker = AddControl(IdTimePicker, new QDateTimeEdit(created));
    timePicker->setDisplayFormat(u"hh:mm:ss AP"_s); // 12-hour clock with AM/PM
    timePicker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AddPushButton(IdGetCurrentTime);

    const std::pair<int, int> radios[] = {
        {IdDaylightOn, GroupDaylight},
        {IdDaylightOff, GroupDaylight},
        {IdKmh, GroupSpeedUnit},
        {IdMph, GroupSpeedUnit},
        {IdSpeedStampOn, GroupSpeedStamp},
        {IdSpeedStampOff, GroupSpeedStamp},
        {IdSafetyCameraOn, GroupSafetyCamera},
        {IdSafetyCameraOff, GroupSafetyCamera},
        {IdSpeedTrapOn, GroupSpeedTrap},
        {IdSpeedTrapOff, GroupSpeedTrap},
        {IdChoice1, GroupChoice},
        {IdChoice2, GroupChoice},
        {IdChoice3, GroupChoice},
        {IdChoice0, GroupChoice},
        {IdAutoOff30s, GroupAutoOff},
        {IdAutoOff10min, GroupAutoOff},
        {IdAutoOffNever, GroupAutoOff},
        {IdLanguage0, GroupLanguage},
        {IdLanguage1, GroupLanguage},
        {IdLanguage4, GroupLanguage},
    };
    for (const auto& [id, group] : radios)
        AddRadio(id, group);
    AddControl(IdBrightness, new QSlider(Qt::Horizontal));
    AddPushButton(IdTouchCalibrationReset);
    AddPushButton(IdFocusSink);

    CreatePageFonts();
    BuildLayout();
    volume->SetLabelFont(&TextFont());
    volume->SetLabels(VolumeLabels, CSubSlider::LabelsAll);
    volume->SetRange(0, 3);
    volume->setValue(2);
    ConfigureScrollBar();

    const bool clockSet = DeviceClock::Instance().is_set;
    SetChecked(IdWriteClock, clockSet);
    SetClockControlsEnabled(clockSet);

    HideUnplaced();
    // The focus sink is no place for the keyboard to land while tabbing.
    Control(IdFocusSink)->setFocusPolicy(Qt::NoFocus);
    ConnectHandlers();
}

CSystemDlg::~CSystemDlg() = default;

QComboBox* CSystemDlg::List(int id) const
{
    return ControlAs<QComboBox>(id);
}

QDateTimeEdit* CSystemDlg::Picker(int id) const
{
    return ControlAs<QDateTimeEdit>(id);
}

void CSystemDlg::BuildLayout()
{
    ClearHeadings();
    const QFont& text = TextFont();
    const QString enabled = GetText(u"IDS_STRING115");
    const QString disabled = GetText(u"IDS_STRING116");

    PlaceHeading(IdLanguageHeading, GetText(u"IDS_STRING193"), 15, 20);
    PlaceControl(IdLanguageList, text, QString(), 25, 45, 250, 25, false);

    PlaceHeading(IdVoiceHeading, GetText(u"IDS_STRING217"), 15, 85);
    MoveControl(IdVolumeSlider, 150, 130, 350, 55);
    PlaceLabel(IdVolumeLabel, GetText(u"IDS_STRING117"), text, 60, 172);

    PlaceHeading(IdTimeZoneHeading, GetText(u"IDS_STRING185"), 15, 217);
    PlaceControl(IdTimeZoneList, text, TimeZoneListSample, 25, 252, 0, 25, true);

    PlaceHeading(IdDateTimeHeading, GetText(u"IDS_STRING182"), 15, 292);
    const QSize box = PlaceLabel(IdWriteClock, QString(), text, 25, 322);
    PlaceControl(IdDatePicker, text, QString(), box.width() + 40, 322, 90, 25, false);
    PlaceControl(IdTimePicker, text, QString(), 165, 322, 100, 25, false);
    SetControlText(IdGetCurrentTime, text, GetText(u"IDS_STRING184"), 275, 322, 0, 25, true);

    PlaceHeading(IdDaylightHeading, GetText(u"IDS_STRING196"), 15, 367);
    PlaceLabel(IdDaylightOn, enabled, text, 25, 397);
    PlaceLabel(IdDaylightOff, disabled, text, 25, 427);

    PlaceHeading(IdSpeedUnitHeading, GetText(u"IDS_STRING190"), 15, 472);
    PlaceLabel(IdKmh, GetText(u"IDS_STRING191"), text, 25, 502);
    PlaceLabel(IdMph, GetText(u"IDS_STRING192"), text, 125, 502);

    PlaceHeading(IdSpeedStampHeading, GetText(u"IDS_STRING309"), 15, 542);
    PlaceLabel(IdSpeedStampOn, enabled, text, 25, 582);
    PlaceLabel(IdSpeedStampOff, disabled, text, 25, 607);

    PlaceHeading(IdSafetyCameraHeading, GetText(u"IDS_STRING119"), 15, 647);
    PlaceLabel(IdSafetyCameraOn, enabled, text, 25, 687);
    PlaceLabel(IdSafetyCameraOff, disabled, text, 25, 712);

    PlaceHeading(IdSpeedTrapHeading, GetText(u"IDS_STRING340"), 15, 757);
    PlaceLabel(IdSpeedTrapOn, enabled, text, 25, 797);
    PlaceLabel(IdSpeedTrapOff, disabled, text, 25, 822);

    SetScrollRange(PageScrollRange);
}

void CSystemDlg::ConnectHandlers()
{
    Bind({
        FallbackRadioRow(IdDaylightOn, Field::daylight_saving, 1),
        RadioRow(IdDaylightOff, Field::daylight_saving, 0),
        RadioRow(IdKmh, Field::speed_unit, 0),
        FallbackRadioRow(IdMph, Field::speed_unit, 1),
        RadioRow(IdSpeedStampOn, Field::speed_stamp, 1),
        FallbackRadioRow(IdSpeedStampOff, Field::speed_stamp, 0),
        RadioRow(IdSafetyCameraOn, Field::safety_camera_alert, 1),
        FallbackRadioRow(IdSafetyCameraOff, Field::safety_camera_alert, 0),
        RadioRow(IdSpeedTrapOn, Field::mobile_speed_trap_alert, 1),
        FallbackRadioRow(IdSpeedTrapOff, Field::mobile_speed_trap_alert, 0),
        // Another choice shows none of these.
        RadioRow(IdChoice1, Field::unplaced_radio_choice, 1),
        RadioRow(IdChoice2, Field::unplaced_radio_choice, 2),
        RadioRow(IdChoice3, Field::unplaced_radio_choice, 3),
        RadioRow(IdChoice0, Field::unplaced_radio_choice, 0),
        FallbackRadioRow(IdAutoOff30s, Field::lcd_auto_off_ms, 30000),
        RadioRow(IdAutoOff10min, Field::lcd_auto_off_ms, 600000),
        RadioRow(IdAutoOffNever, Field::lcd_auto_off_ms, 0),
        // Another language shows none of these; the list below shows it.
        RadioRow(IdLanguage0, Field::device_language, 0),
        RadioRow(IdLanguage1, Field::device_language, 1),
        RadioRow(IdLanguage4, Field::device_language, 4),
    });

    // Lists store what the user picks (activated); filling them selects rows without storing.
    connect(List(IdLanguageList), &QComboBox::activated, this, &CSystemDlg::OnLanguageSelected);
    connect(List(IdTimeZoneList), &QComboBox::activated, this, &CSystemDlg::OnTimeZoneChanged);

    // Sliders store what the user does to them; setting a position from the record does not.
    CSubSlider* volume = Slider(IdVolumeSlider);
    connect(volume, &QAbstractSlider::actionTriggered, this, &CSystemDlg::OnVolumeScrolled);
    connect(volume, &QAbstractSlider::sliderReleased, this, &CSystemDlg::OnVolumeScrolled);
    auto* brightness = ControlAs<QSlider>(IdBrightness);
    connect(brightness, &QAbstractSlider::actionTriggered, this, &CSystemDlg::OnBrightnessScrolled);
    connect(brightness, &QAbstractSlider::sliderReleased, this, &CSystemDlg::OnBrightnessScrolled);

    connect(Button(IdWriteClock), &QAbstractButton::clicked, this, &CSystemDlg::OnWriteClockToggled);
    // The pickers are set by the page only with their signals blocked, so a change is the user's.
    connect(Picker(IdTimePicker), &QDateTimeEdit::dateTimeChanged, this, &CSystemDlg::OnTimeChanged);
    connect(Picker(IdDatePicker), &QDateTimeEdit::dateTimeChanged, this, &CSystemDlg::OnDateChanged);
    connect(Button(IdGetCurrentTime), &QAbstractButton::clicked, this, &CSystemDlg::OnGetCurrentTime);
    connect(Button(IdTouchCalibrationReset), &QAbstractButton::clicked, this,
            &CSystemDlg::OnTouchCalibrationReset);
}

void CSystemDlg::LoadFromRecord()
{
    SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;

    FillTimeZoneList();

    {
        CSubSlider* volume = Slider(IdVolumeSlider);
        const QSignalBlocker blocker(volume);
        volume->setValue(record->Int32(Field::voice_volume_on) != 0 ? record->Int32(Field::voice_volume_level)
                                                                    : 0);
    }

    LoadBindings();

    // A clock setting read from the card is not carried into this editing pass: Save deletes
    // time.dat unless the user sets the clock again.
    DeviceClock::Instance().is_set = false;
    SetChecked(IdWriteClock, false);
    SetClockControlsEnabled(false);

    QComboBox* languageList = List(IdLanguageList);
    if (languageList->count() == 0) {
        const QStringList& codes = m_versionInfo.codes;
        for (qsizetype i = 0; i < codes.size(); ++i)
            languageList->addItem(m_versionInfo.names.value(i, codes.at(i)));
    }
    // A value outside the list leaves it without a selection.
    const int language = record->Int32(Field::device_language);
    languageList->setCurrentIndex(language >= 0 && language < languageList->count() ? language : -1);

    {
        auto* brightness = ControlAs<QSlider>(IdBrightness);
        const QSignalBlocker blocker(brightness);
        brightness->setValue(record->Int32(Field::lcd_brightness));
    }
}

void CSystemDlg::FillTimeZoneList()
{
    SettingsRecord* record = SettingsRecord::Instance();
    QComboBox* list = List(IdTimeZoneList);
    list->clear();
    int widest = 0;
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < m_timeZones.Count(); ++i) {
        const QString& text = m_timeZones.Entry(i).display_name;
        list->addItem(text);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    // The open list shows the longest names whole, even where the closed box is narrower.
    list->view()->setMinimumWidth(widest + 40);
    if (!record)
        return;
    list->setCurrentIndex(m_timeZones.SelectFromRecord(*record));
}

void CSystemDlg::OnTimeZoneChanged()
{
    if (SettingsRecord* record = SettingsRecord::Instance())
        m_timeZones.StoreSelection(List(IdTimeZoneList)->currentIndex(), *record);
}

void CSystemDlg::OnLanguageSelected(int row)
{
    if (SettingsRecord* record = SettingsRecord::Instance())
        record->SetInt32(Field::device_language, row);
}

void CSystemDlg::OnVolumeScrolled()
{
    SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;
    const int position = Slider(IdVolumeSlider)->sliderPosition();
    if (position == 0) {
        record->SetInt32(Field::voice_volume_on, 0);
    } else {
        record->SetInt32(Field::voice_volume_on, 1);
        record->SetInt32(Field::voice_volume_level, position);
    }
}

void CSystemDlg::OnBrightnessScrolled()
{
    if (SettingsRecord* record = SettingsRecord::Instance())
        record->SetInt32(Field::lcd_brightness, ControlAs<QSlider>(IdBrightness)->sliderPosition());
}

void CSystemDlg::SetClockControlsEnabled(bool enabled)
{
    for (int id : {IdTimePicker, IdDatePicker, IdGetCurrentTime})
        SetEnabled(id, enabled);
}

void CSystemDlg::OnWriteClockToggled()
{
    DeviceClock& clock = DeviceClock::Instance();
    clock.is_set = IsChecked(IdWriteClock);
    SetClockControlsEnabled(clock.is_set);
    if (clock.is_set) {
        CopyDate(Picker(IdDatePicker)->dateTime(), clock);
        CopyTime(Picker(IdTimePicker)->dateTime(), clock);
    }
}

void CSystemDlg::OnTimeChanged()
{
    DeviceClock& clock = DeviceClock::Instance();
    if (clock.is_set)
        CopyTime(Picker(IdTimePicker)->dateTime(), clock);
}

void CSystemDlg::OnDateChanged()
{
    DeviceClock& clock = DeviceClock::Instance();
    if (clock.is_set)
        CopyDate(Picker(IdDatePicker)->dateTime(), clock);
}

void CSystemDlg::OnGetCurrentTime()
{
    // Whole seconds, local time.
    const QDateTime now = SystemClock::Instance().Now();
    for (int id : {IdDatePicker, IdTimePicker}) {
        QDateTimeEdit* picker = Picker(id);
        const QSignalBlocker blocker(picker);
        picker->setDateTime(now);
    }
    DeviceClock& clock = DeviceClock::Instance();
    if (clock.is_set) {
        const QDateTime value = Picker(IdTimePicker)->dateTime();
        CopyDate(value, clock);
        CopyTime(value, clock);
    }
}

QString CSystemDlg::TouchMarkerPath()
{
    const QString cardRoot = CardRoot::Instance().Folder();
    if (cardRoot.isEmpty())
        return QString();
    // The camera looks at the root of the card's file system, wherever the program's folder is.
    const QString root = PlatformServices::Instance().Drives()->FilesystemRoot(cardRoot);
    return (root.isEmpty() ? cardRoot : root) + QStringView(TouchMarkerName);
}

void CSystemDlg::OnTouchCalibrationReset()
{
    const QString marker = TouchMarkerPath();
    const QString caption = GetText(u"IDS_STRING219");
    const QString question = GetText(u"IDS_STRING220") + u'\n' + GetText(u"IDS_STRING2200");
    if (!MessageBox::Ask(this, caption, question))
        return;
    MessageBox::Show(this, caption, GetText(u"IDS_STRING221"));
    if (marker.isEmpty())
        return;
    // Empty: its presence is the request. A failure is not reported; the user was already told.
    QFile file(marker);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.close();
}

void CSystemDlg::OnBackgroundPressed()
{
    // A click on the page's background takes the focus away from the control that had it.
    if (QWidget* focus = focusWidget(); focus && isAncestorOf(focus))
        focus->clearFocus();
    Control(IdFocusSink)->setFocus(Qt::MouseFocusReason);
}
