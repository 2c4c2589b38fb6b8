#include "i18n/LanguagePack.h"
#include "pages/CSystemDlg.h"
#include "platform/PlatformServices.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/ClockFile.h"
#include "settings/DeviceClock.h"
#include "settings/DeviceVersionInfo.h"
#include "settings/SettingsRecord.h"
#include "settings/SystemClock.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakeTimeZoneSource.h"
#include "tests/support/DebugLineRecorder.h"
#include "tests/support/ProcessStateGuard.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "ui/CSubSlider.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using Zone = FakeTimeZoneSource::Zone;
using Id = CSystemDlg::Id;
// The page's control ids, unqualified.
using enum CSystemDlg::Id;

// Stands for the main window: records the keys that reach it from the page.
class KeyRecorder final : public QWidget
{
public:
    QList<int> m_keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { m_keys.append(event->key()); }
};

DeviceVersionInfo CardLanguages()
{
    DeviceVersionInfo info;
    info.codes = QStringList{u"en"_s, u"fr"_s, u"de"_s, u"es"_s, u"it"_s, u"ja"_s};
    info.names =
        QStringList{u"English"_s, u"French"_s, u"German"_s, u"Spanish"_s, u"Italian"_s, u"Japanese"_s};
    return info;
}

// Rows of the fake catalogue: 0 Korea, 1 Tokyo (540); 2 W. Europe (60); 3 Eastern (-300).
QList<Zone> Zones()
{
    return {
        {u"Tokyo Standard Time"_s, 540, {}},
        {u"Korea Standard Time"_s, 540, {}},
        {u"W. Europe Standard Time"_s, 60, {}, 60},
        {u"Eastern Standard Time"_s, -300, {}, 60},
    };
}

QStringList Rows(const QComboBox* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->itemText(i));
    return rows;
}

} // namespace

// The system page on its own: what each control shows for a record, what each user action
// stores, the clock it hands to Save and the touch calibration marker.
class SystemPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void radiosShowTheRecord_data();
    void radiosShowTheRecord();
    void radioClicksStore_data();
    void radioClicksStore();
    void volumeSlider_data();
    void volumeSlider();
    void volumeSliderStoresUserMoves();
    void brightnessTrackbar();
    void languageList();
    void timeZoneList();
    void clockControls();
    void clockTickedAgainTakesBothPickers();
    void getCurrentTime();
    void touchCalibrationMarkerAtTheFileSystemRoot_data();
    void touchCalibrationMarkerAtTheFileSystemRoot();
    void escapeAndReturnStayInThePage();

private:
    CSystemDlg* Page() { return m_page.get(); }
    template <typename T = QWidget>
    T* Get(int id)
    {
        return m_page->ControlAs<T>(id);
    }
    SettingsRecord& Record() { return *SettingsRecord::Instance(); }
    // A fresh page over the current record, shown, and filled as the main window fills it.
    void OpenPage();

    std::optional<ProcessStateGuard> m_state;
    std::shared_ptr<FakeTimeZoneSource> m_zones;
    DeviceVersionInfo m_languages = CardLanguages();
    std::unique_ptr<CSystemDlg> m_page;
};

void SystemPageTest::initTestCase()
{
    SkinFont::EnsureRegistered();
    QVERIFY(LoadLanguagePack(LanguagePack::ResourceName(0)));
}

void SystemPageTest::init()
{
    m_state.emplace();
    m_zones = std::make_shared<FakeTimeZoneSource>(Zones());
    m_zones->SetCurrent(60, u"W. Europe Standard Time"_s);
    PlatformServices::Instance().SetTimeZones(m_zones);
    SettingsRecord& record = SettingsRecord::CreateInstance();
    record.SetText(Field::time_zone_name, u"Tokyo Standard Time"_s);
    record.SetInt32(Field::time_zone_bias, 540);
    PopupRecorder::Instance().SetRecording(true);
}

void SystemPageTest::cleanup()
{
    m_page.reset();
    m_state.reset();
}

void SystemPageTest::OpenPage()
{
    m_page = std::make_unique<CSystemDlg>(m_languages, nullptr);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    m_page->LoadFromRecord();
}

void SystemPageTest::layout_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("place"); // width or height 0: fitted to the text

    const QString enabled = u"Enabled"_s;
    const QString disabled = u"Disabled"_s;
    QTest::newRow("Language") << IdLanguageHeading << u"Language"_s << QRect(15, 20, 0, 16);
    QTest::newRow("language list") << IdLanguageList << QString() << QRect(25, 45, 250, 25);
    QTest::newRow("Voice Guidance") << IdVoiceHeading << u"Voice Guidance"_s << QRect(15, 85, 0, 16);
    QTest::newRow("volume slider") << IdVolumeSlider << QString() << QRect(150, 130, 350, 55);
    QTest::newRow("Volume") << IdVolumeLabel << u"Volume"_s << QRect(60, 172, 0, 16);
    QTest::newRow("Time Zone") << IdTimeZoneHeading << u"Time Zone"_s << QRect(15, 217, 0, 16);
    QTest::newRow("time zone list") << IdTimeZoneList << QString() << QRect(25, 252, 0, 25);
    QTest::newRow("Date / Time") << IdDateTimeHeading << u"Date / Time"_s << QRect(15, 292, 0, 16);
    QTest::newRow("clock check box") << IdWriteClock << QString() << QRect(25, 322, 25, 25);
    QTest::newRow("date picker") << IdDatePicker << QString() << QRect(65, 322, 90, 25);
    QTest::newRow("time picker") << IdTimePicker << QString() << QRect(165, 322, 100, 25);
    QTest::newRow("Get Current Time") << IdGetCurrentTime << u"Get Current Time"_s << QRect(275, 322, 0, 25);
    QTest::newRow("Daylight Saving") << IdDaylightHeading << u"Daylight Saving"_s << QRect(15, 367, 0, 16);
    QTest::newRow("daylight on") << IdDaylightOn << enabled << QRect(25, 397, 0, 16);
    QTest::newRow("daylight off") << IdDaylightOff << disabled << QRect(25, 427, 0, 16);
    QTest::newRow("Speed Unit") << IdSpeedUnitHeading << u"Speed Unit"_s << QRect(15, 472, 0, 16);
    QTest::newRow("km/h") << IdKmh << u"km/h"_s << QRect(25, 502, 0, 16);
    QTest::newRow("mph") << IdMph << u"mph"_s << QRect(125, 502, 0, 16);
    QTest::newRow("Speed Stamp") << IdSpeedStampHeading << u"Speed Stamp"_s << QRect(15, 542, 0, 16);
    QTest::newRow("stamp on") << IdSpeedStampOn << enabled << QRect(25, 582, 0, 16);
    QTest::newRow("stamp off") << IdSpeedStampOff << disabled << QRect(25, 607, 0, 16);
    QTest::newRow("Safety Cameras") << IdSafetyCameraHeading << u"Safety Cameras"_s << QRect(15, 647, 0, 16);
    QTest::newRow("safety on") << IdSafetyCameraOn << enabled << QRect(25, 687, 0, 16);
    QTest::newRow("safety off") << IdSafetyCameraOff << disabled << QRect(25, 712, 0, 16);
    QTest::newRow("Mobile Speed Trap Notification, trimmed")
        << IdSpeedTrapHeading << u"Mobile Speed Trap Notification"_s << QRect(15, 757, 0, 16);
    QTest::newRow("trap on") << IdSpeedTrapOn << enabled << QRect(25, 797, 0, 16);
    QTest::newRow("trap off") << IdSpeedTrapOff << disabled << QRect(25, 822, 0, 16);
}

void SystemPageTest::layout()
{
    QFETCH(Id, id);
    QFETCH(QString, text);
    QFETCH(QRect, place);

    OpenPage();
    QWidget* control = Get(id);
    QVERIFY(control);
    QVERIFY(control->isVisible());
    const QRect geometry = control->geometry();
    QCOMPARE(geometry.topLeft(), place.topLeft());
    if (place.height() != 0)
        QCOMPARE(geometry.height(), place.height());
    const bool heading = Page()->HeadingIds().contains(id);
    const QFont& font = heading ? Page()->HeadingFont() : Page()->TextFont();
    if (id != CSystemDlg::IdVolumeSlider) // only moved; its labels have the text font
        QCOMPARE(control->font(), font);
    if (place.width() != 0) {
        QCOMPARE(geometry.width(), place.width());
    } else if (id == CSystemDlg::IdTimeZoneList) {
        QCOMPARE(geometry.width(),
                 CBaseDialog::MeasureTextWidth(QString(7, u' ').replace(u" "_s, u"123456789 "_s), font));
    } else if (id == CSystemDlg::IdGetCurrentTime) {
        QCOMPARE(geometry.width(),
                 CBaseDialog::MeasureTextWidth(text, font) + 4 * CBaseDialog::MeasureTextWidth(u" "_s, font));
    } else {
        QCOMPARE(geometry.width(), CBaseDialog::MeasureTextWidth(text, font) + 30);
    }
    if (const auto* button = qobject_cast<QAbstractButton*>(control))
        QCOMPARE(button->text(), text);
}

void SystemPageTest::radiosShowTheRecord_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("group");
    QTest::addColumn<int>("checked"); // 0: none

    const QList<int> daylight{IdDaylightOn, IdDaylightOff};
    const QList<int> unit{IdKmh, IdMph};
    const QList<int> stamp{IdSpeedStampOn, IdSpeedStampOff};
    const QList<int> safety{IdSafetyCameraOn, IdSafetyCameraOff};
    const QList<int> trap{IdSpeedTrapOn, IdSpeedTrapOff};
    const QList<int> choice{IdChoice1, IdChoice2, IdChoice3, IdChoice0};
    const QList<int> autoOff{IdAutoOff30s, IdAutoOff10min, IdAutoOffNever};
    const QList<int> language{IdLanguage0, IdLanguage1, IdLanguage4};
    QTest::newRow("daylight 1") << u"daylight_saving"_s << 1 << daylight << int(IdDaylightOn);
    QTest::newRow("daylight 0") << u"daylight_saving"_s << 0 << daylight << int(IdDaylightOff);
    QTest::newRow("daylight 7: enabled") << u"daylight_saving"_s << 7 << daylight << int(IdDaylightOn);
    QTest::newRow("speed unit 0") << u"speed_unit"_s << 0 << unit << int(IdKmh);
    QTest::newRow("speed unit 1") << u"speed_unit"_s << 1 << unit << int(IdMph);
    QTest::newRow("speed unit 5: mph") << u"speed_unit"_s << 5 << unit << int(IdMph);
    QTest::newRow("speed stamp 1") << u"speed_stamp"_s << 1 << stamp << int(IdSpeedStampOn);
    QTest::newRow("speed stamp 5: disabled") << u"speed_stamp"_s << 5 << stamp << int(IdSpeedStampOff);
    QTest::newRow("safety 1") << u"safety_camera_alert"_s << 1 << safety << int(IdSafetyCameraOn);
    QTest::newRow("safety 2: disabled") << u"safety_camera_alert"_s << 2 << safety << int(IdSafetyCameraOff);
    QTest::newRow("trap 1") << u"mobile_speed_trap_alert"_s << 1 << trap << int(IdSpeedTrapOn);
    QTest::newRow("trap -1: disabled") << u"mobile_speed_trap_alert"_s << -1 << trap << int(IdSpeedTrapOff);
    QTest::newRow("choice 1") << u"unplaced_radio_choice"_s << 1 << choice << int(IdChoice1);
    QTest::newRow("choice 3") << u"unplaced_radio_choice"_s << 3 << choice << int(IdChoice3);
    QTest::newRow("choice 0") << u"unplaced_radio_choice"_s << 0 << choice << int(IdChoice0);
    QTest::newRow("choice 9: none") << u"unplaced_radio_choice"_s << 9 << choice << 0;
    QTest::newRow("auto off 0") << u"lcd_auto_off_ms"_s << 0 << autoOff << int(IdAutoOffNever);
    QTest::newRow("auto off 600000") << u"lcd_auto_off_ms"_s << 600000 << autoOff << int(IdAutoOff10min);
    QTest::newRow("auto off 30000") << u"lcd_auto_off_ms"_s << 30000 << autoOff << int(IdAutoOff30s);
    QTest::newRow("auto off 45: 30 s") << u"lcd_auto_off_ms"_s << 45 << autoOff << int(IdAutoOff30s);
    QTest::newRow("language 0") << u"device_language"_s << 0 << language << int(IdLanguage0);
    QTest::newRow("language 1") << u"device_language"_s << 1 << language << int(IdLanguage1);
    QTest::newRow("language 4") << u"device_language"_s << 4 << language << int(IdLanguage4);
    QTest::newRow("language 2: none") << u"device_language"_s << 2 << language << 0;
}

namespace {

const FieldSpec& FieldNamed(const QString& name)
{
    for (const FieldSpec& field : Field::all) {
        if (QLatin1StringView(field.name.data(), qsizetype(field.name.size())) == name)
            return field;
    }
    qFatal("no field %s", qPrintable(name));
}

} // namespace

void SystemPageTest::radiosShowTheRecord()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(QList<int>, group);
    QFETCH(int, checked);

    // The page shows another value first, so the fill has to change every radio of the group.
    Record().SetInt32(FieldNamed(field), field == u"lcd_auto_off_ms"_s ? 600000 : 1);
    OpenPage();
    for (int id : group)
        QVERIFY(Page()->Button(id));
    Record().SetInt32(FieldNamed(field), value);
    const QByteArray before = Record().ToByteArray();
    Page()->LoadFromRecord();
    for (int id : group)
        QCOMPARE(Page()->IsChecked(id), id == checked);
    // Filling runs no handler: the record keeps its out-of-table values.
    QCOMPARE(Record().Int32(FieldNamed(field)), value);
    QCOMPARE(Record().ToByteArray(), before);
}

void SystemPageTest::radioClicksStore_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");

    QTest::newRow("daylight on") << IdDaylightOn << u"daylight_saving"_s << 1;
    QTest::newRow("daylight off") << IdDaylightOff << u"daylight_saving"_s << 0;
    QTest::newRow("km/h") << IdKmh << u"speed_unit"_s << 0;
    QTest::newRow("mph") << IdMph << u"speed_unit"_s << 1;
    QTest::newRow("stamp on") << IdSpeedStampOn << u"speed_stamp"_s << 1;
    QTest::newRow("stamp off") << IdSpeedStampOff << u"speed_stamp"_s << 0;
    QTest::newRow("safety on") << IdSafetyCameraOn << u"safety_camera_alert"_s << 1;
    QTest::newRow("safety off") << IdSafetyCameraOff << u"safety_camera_alert"_s << 0;
    QTest::newRow("trap on") << IdSpeedTrapOn << u"mobile_speed_trap_alert"_s << 1;
    QTest::newRow("trap off") << IdSpeedTrapOff << u"mobile_speed_trap_alert"_s << 0;
    QTest::newRow("unplaced choice storing 1") << IdChoice1 << u"unplaced_radio_choice"_s << 1;
    QTest::newRow("unplaced choice storing 2") << IdChoice2 << u"unplaced_radio_choice"_s << 2;
    QTest::newRow("unplaced choice storing 3") << IdChoice3 << u"unplaced_radio_choice"_s << 3;
    QTest::newRow("unplaced choice storing 0") << IdChoice0 << u"unplaced_radio_choice"_s << 0;
    QTest::newRow("unplaced auto off 30 s") << IdAutoOff30s << u"lcd_auto_off_ms"_s << 30000;
    QTest::newRow("unplaced auto off 10 min") << IdAutoOff10min << u"lcd_auto_off_ms"_s << 600000;
    QTest::newRow("unplaced auto off never") << IdAutoOffNever << u"lcd_auto_off_ms"_s << 0;
    QTest::newRow("unplaced language 0") << IdLanguage0 << u"device_language"_s << 0;
    QTest::newRow("unplaced language 1") << IdLanguage1 << u"device_language"_s << 1;
    QTest::newRow("unplaced language 4") << IdLanguage4 << u"device_language"_s << 4;
}

void SystemPageTest::radioClicksStore()
{
    QFETCH(Id, id);
    QFETCH(QString, field);
    QFETCH(int, stored);

    Record().SetInt32(FieldNamed(field), 5);
    OpenPage();
    QAbstractButton* radio = Page()->Button(id);
    QVERIFY(radio);
    const QByteArray before = Record().ToByteArray();
    if (radio->isVisible()) {
        Page()->VerticalScrollBar()->setValue(0);
        Page()->OnVScroll(CBaseDialog::ThumbTrack, std::max(0, radio->y() - 200));
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    } else {
        // Never laid out: its handler is reached through its id.
        QVERIFY(radio->size().isEmpty());
        radio->click();
    }
    QVERIFY(radio->isChecked());
    QCOMPARE(Record().Int32(FieldNamed(field)), stored);
    // One field and nothing else.
    SettingsRecord expected;
    std::copy_n(before.constData(), SettingsRecord::Size, expected.Data());
    expected.SetInt32(FieldNamed(field), stored);
    QCOMPARE(Record().ToByteArray(), expected.ToByteArray());
}

void SystemPageTest::volumeSlider_data()
{
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("position");

    QTest::newRow("on, level 2") << 1 << 2 << 2;
    QTest::newRow("off, level 3: OFF") << 0 << 3 << 0;
    QTest::newRow("on, level 1") << 1 << 1 << 1;
    QTest::newRow("on, level 9: clamped") << 7 << 9 << 3;
    QTest::newRow("on, level -2: clamped") << 1 << -2 << 0;
}

void SystemPageTest::volumeSlider()
{
    QFETCH(int, on);
    QFETCH(int, level);
    QFETCH(int, position);

    Record().SetInt32(Field::voice_volume_on, on);
    Record().SetInt32(Field::voice_volume_level, level);
    OpenPage();
    CSubSlider* slider = Page()->Slider(CSystemDlg::IdVolumeSlider);
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 3);
    QCOMPARE(slider->Labels(), (QStringList{u"OFF"_s, u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(slider->LabelSelection(), CSubSlider::LabelFlags(CSubSlider::LabelsAll));
    QCOMPARE(slider->TooltipKind(), int(CSubSlider::KindPosition));
    QCOMPARE(slider->value(), position);
    // The record keeps what the slider cannot show.
    QCOMPARE(Record().Int32(Field::voice_volume_on), on);
    QCOMPARE(Record().Int32(Field::voice_volume_level), level);
}

void SystemPageTest::volumeSliderStoresUserMoves()
{
    Record().SetInt32(Field::voice_volume_on, 1);
    Record().SetInt32(Field::voice_volume_level, 3);
    OpenPage();
    CSubSlider* slider = Page()->Slider(CSystemDlg::IdVolumeSlider);
    QCOMPARE(slider->value(), 3);

    // To OFF with the keyboard: the level stays.
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(Record().Int32(Field::voice_volume_on), 0);
    QCOMPARE(Record().Int32(Field::voice_volume_level), 3);

    // Back to "2" with the mouse: each click on the channel beside the thumb moves one page.
    const QList<int> ticks = slider->TickPositions();
    QCOMPARE(ticks.size(), 4);
    const QPoint onTick2(ticks.at(2), CSubSlider::ThumbTop + 10);
    QTest::mouseClick(slider, Qt::LeftButton, {}, onTick2);
    QCOMPARE(slider->value(), 1);
    QCOMPARE(Record().Int32(Field::voice_volume_on), 1);
    QCOMPARE(Record().Int32(Field::voice_volume_level), 1);
    QTest::mouseClick(slider, Qt::LeftButton, {}, onTick2);
    QCOMPARE(slider->value(), 2);
    QCOMPARE(Record().Int32(Field::voice_volume_on), 1);
    QCOMPARE(Record().Int32(Field::voice_volume_level), 2);
}

void SystemPageTest::brightnessTrackbar()
{
    Record().SetInt32(Field::lcd_brightness, 5);
    OpenPage();
    auto* trackbar = Get<QSlider>(CSystemDlg::IdBrightness);
    QVERIFY(trackbar);
    QVERIFY(trackbar->isHidden());
    QCOMPARE(trackbar->value(), 5);
    QCOMPARE(Record().Int32(Field::lcd_brightness), 5);
    trackbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(Record().Int32(Field::lcd_brightness), 6);
}

void SystemPageTest::languageList()
{
    Record().SetInt32(Field::device_language, 2);
    OpenPage();
    auto* list = Get<QComboBox>(CSystemDlg::IdLanguageList);
    QCOMPARE(Rows(list), m_languages.names);
    QCOMPARE(list->currentIndex(), 2);

    // Filling again keeps one set of rows.
    Page()->LoadFromRecord();
    Page()->LoadFromRecord();
    QCOMPARE(Rows(list), m_languages.names);

    // The user picks the next row with the keyboard.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), 3);
    QCOMPARE(Record().Int32(Field::device_language), 3);

    // A value outside the list selects nothing and stays in the record.
    for (const int value : {6, -1, 100}) {
        Record().SetInt32(Field::device_language, value);
        const QByteArray before = Record().ToByteArray();
        Page()->LoadFromRecord();
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(Record().ToByteArray(), before);
    }
}

void SystemPageTest::timeZoneList()
{
    OpenPage();
    auto* list = Get<QComboBox>(CSystemDlg::IdTimeZoneList);
    QCOMPARE(Rows(list),
             (QStringList{u"(zone) Korea Standard Time"_s, u"(zone) Tokyo Standard Time"_s,
                          u"(zone) W. Europe Standard Time"_s, u"(zone) Eastern Standard Time"_s}));
    QCOMPARE(list->currentIndex(), 1);

    // The user picks the next zone with the keyboard: its key name and bias go to the record.
    DebugLineRecorder recorder;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), 2);
    QCOMPARE(Record().Bytes(Field::time_zone_name), "W. Europe Standard Time"_ba.leftJustified(32, '\0'));
    QCOMPARE(Record().Int32(Field::time_zone_bias), 60);
    QCOMPARE(recorder.Lines(), QStringList{u"TimeZone [W. Europe Standard Time] Bias[60]\n"_s});

    // Filling rebuilds the rows and follows the record without writing it.
    Record().SetText(Field::time_zone_name, u"Gone Standard Time"_s);
    Record().SetInt32(Field::time_zone_bias, -300);
    QByteArray before = Record().ToByteArray();
    Page()->LoadFromRecord();
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentIndex(), 3);
    QCOMPARE(Record().ToByteArray(), before);

    // An unset zone becomes the PC's.
    Record().SetText(Field::time_zone_name, QString());
    Record().SetInt32(Field::time_zone_bias, 0);
    Page()->LoadFromRecord();
    QCOMPARE(list->currentIndex(), 2);
    QCOMPARE(Record().Text(Field::time_zone_name), u"W. Europe Standard Time"_s);
    QCOMPARE(Record().Int32(Field::time_zone_bias), 60);
}

void SystemPageTest::clockControls()
{
    // A clock read from the card ticks the box while the page is built ...
    DeviceClock::Instance().is_set = true;
    m_page = std::make_unique<CSystemDlg>(m_languages, nullptr);
    QVERIFY(Page()->IsChecked(CSystemDlg::IdWriteClock));
    for (int id : {IdTimePicker, IdDatePicker, IdGetCurrentTime})
        QVERIFY(Page()->IsEnabled(id));
    QCOMPARE(Get<QDateTimeEdit>(CSystemDlg::IdTimePicker)->displayFormat(), u"hh:mm:ss AP"_s);
    QVERIFY(Get<QDateTimeEdit>(CSystemDlg::IdDatePicker)->calendarPopup());

    // ... and filling clears it again: Save would delete time.dat.
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    Page()->LoadFromRecord();
    QVERIFY(!DeviceClock::Instance().is_set);
    QVERIFY(!Page()->IsChecked(CSystemDlg::IdWriteClock));
    for (int id : {IdTimePicker, IdDatePicker, IdGetCurrentTime})
        QVERIFY(!Page()->IsEnabled(id));

    auto* date = Get<QDateTimeEdit>(CSystemDlg::IdDatePicker);
    auto* time = Get<QDateTimeEdit>(CSystemDlg::IdTimePicker);
    date->setDateTime(QDateTime(QDate(2030, 2, 3), QTime(1, 2, 3)));
    time->setDateTime(QDateTime(QDate(2029, 9, 9), QTime(21, 45, 30, 250)));
    // Unticked: the pickers change nothing.
    QCOMPARE(DeviceClock::Instance().year, quint16(0));

    auto* box = Page()->Button(CSystemDlg::IdWriteClock);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    const DeviceClock& clock = DeviceClock::Instance();
    QVERIFY(clock.is_set);
    for (int id : {IdTimePicker, IdDatePicker, IdGetCurrentTime})
        QVERIFY(Page()->IsEnabled(id));
    QCOMPARE(QList<int>({clock.year, clock.month, clock.day_of_week, clock.day}),
             QList<int>({2030, 2, 0, 3}));
    QCOMPARE(QList<int>({clock.hour, clock.minute, clock.second, clock.milliseconds}),
             QList<int>({21, 45, 30, 250}));

    // The user steps the hour of the time picker: only the time fields follow.
    time->setFocus();
    time->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(time, Qt::Key_Up);
    QCOMPARE(clock.hour, quint16(22));
    QCOMPARE(clock.year, quint16(2030));
    date->setDate(QDate(2031, 12, 24));
    QCOMPARE(QList<int>({clock.year, clock.month, clock.day_of_week, clock.day, clock.hour}),
             QList<int>({2031, 12, 3, 24, 22}));

    // What Save writes: the PC's own standard offset, not the selected zone's.
    const ScopedEnvironmentVariable zone("TZ", "Asia/Kolkata"_ba);
    QTemporaryDir card;
    const QString path = card.filePath(u"time.dat"_s);
    QVERIFY(WriteClockFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "2031,12,24,22,45,30,+0530"_ba);

    // Unticked again: Save deletes the file.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QVERIFY(!clock.is_set);
    QVERIFY(!Page()->IsEnabled(CSystemDlg::IdGetCurrentTime));
    QVERIFY(WriteClockFile(path));
    QVERIFY(!QFile::exists(path));
}

void SystemPageTest::clockTickedAgainTakesBothPickers()
{
    OpenPage();
    auto* date = Get<QDateTimeEdit>(CSystemDlg::IdDatePicker);
    auto* time = Get<QDateTimeEdit>(CSystemDlg::IdTimePicker);
    auto* box = Page()->Button(CSystemDlg::IdWriteClock);
    date->setDateTime(QDateTime(QDate(2027, 7, 1), QTime(0, 0)));
    time->setDateTime(QDateTime(QDate(2001, 1, 1), QTime(8, 0, 0)));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    time->setTime(QTime(9, 15, 0));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    const DeviceClock& clock = DeviceClock::Instance();
    QVERIFY(clock.is_set);
    QCOMPARE(QList<int>({clock.year, clock.month, clock.day, clock.hour, clock.minute, clock.second}),
             QList<int>({2027, 7, 1, 9, 15, 0}));
}

void SystemPageTest::getCurrentTime()
{
    const QDateTime now(QDate(2031, 5, 6), QTime(7, 8, 9));
    SystemClock::Instance().SetFixedNow(now);
    OpenPage();
    auto* button = Page()->Button(CSystemDlg::IdGetCurrentTime);
    auto* date = Get<QDateTimeEdit>(CSystemDlg::IdDatePicker);
    auto* time = Get<QDateTimeEdit>(CSystemDlg::IdTimePicker);
    // Disabled while the box is unticked.
    QVERIFY(!button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(date->dateTime() != now);

    auto* box = Page()->Button(CSystemDlg::IdWriteClock);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(date->dateTime(), now);
    QCOMPARE(time->dateTime(), now);
    QCOMPARE(time->text(), u"07:08:09 AM"_s);
    const DeviceClock& clock = DeviceClock::Instance();
    QCOMPARE(QList<int>({clock.year, clock.month, clock.day_of_week, clock.day, clock.hour, clock.minute,
                         clock.second, clock.milliseconds}),
             QList<int>({2031, 5, 2, 6, 7, 8, 9, 0}));

    // Without the hook: the real local time, in whole seconds.
    SystemClock::Instance().SetFixedNow(std::nullopt);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QTest::mouseClick(button, Qt::LeftButton);
    const QDateTime shown = time->dateTime();
    QVERIFY(shown >= before && shown <= QDateTime::currentDateTime());
    QCOMPARE(shown.time().msec(), 0);
    QCOMPARE(clock.hour, quint16(shown.time().hour()));
    QCOMPARE(clock.day, quint16(shown.date().day()));
}

void SystemPageTest::touchCalibrationMarkerAtTheFileSystemRoot_data()
{
    QTest::addColumn<QString>("mountRoot"); // relative to the test folder; null: unknown
    QTest::addColumn<QString>("cardRoot");  // relative to the test folder
    QTest::addColumn<QString>("markerFolder");

    QTest::newRow("card root in a sub-folder") << u"media/"_s << u"media/DCIM/Quelvix/"_s << u"media/"_s;
    QTest::newRow("card root is the mount point") << u"media/"_s << u"media/"_s << u"media/"_s;
    QTest::newRow("mount point unknown: the card root") << QString() << u"card/"_s << u"card/"_s;
}

void SystemPageTest::touchCalibrationMarkerAtTheFileSystemRoot()
{
    QFETCH(QString, mountRoot);
    QFETCH(QString, cardRoot);
    QFETCH(QString, markerFolder);

    QTemporaryDir folder;
    const QString base = folder.path() + u'/';
    QVERIFY(QDir().mkpath(base + cardRoot));
    QVERIFY(QDir().mkpath(base + markerFolder));
    PlatformServices::Instance().SetDrives(
        std::make_shared<FakeDriveInfo>(true, mountRoot.isNull() ? QString() : base + mountRoot));
    CardRoot::Instance().Set(base + cardRoot);
    const QString marker = base + markerFolder + u"set_touch_cal.txt"_s;
    QCOMPARE(CSystemDlg::TouchMarkerPath(), marker);
    OpenPage();

    QList<bool> markerExisted;
    PopupRecorder::Instance().SetWhenShown([&] { markerExisted.append(QFile::exists(marker)); });
    auto* reset = Page()->Button(CSystemDlg::IdTouchCalibrationReset);
    QVERIFY(reset->isHidden());

    // No: nothing is created.
    PopupRecorder::Instance().SetStandingAnswer(false);
    reset->click();
    QList<PopupRecorder::Popup> shown = PopupRecorder::Instance().Take();
    QCOMPARE(PopupRecorder::Captions(shown), QStringList{u"Initialize"_s});
    QCOMPARE(PopupRecorder::Texts(shown),
             QStringList{u"Caution: This will initialize the current screen's touch sensitivity.\n"
                         u"Click 'Yes' to continue. Click 'No' to cancel."_s});
    QVERIFY(!QFile::exists(marker));

    // Yes: the completion box comes first, then the empty marker (an old one is emptied).
    QFile old(marker);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QVERIFY(QFile::remove(marker));
    PopupRecorder::Instance().SetStandingAnswer(true);
    markerExisted.clear();
    reset->click();
    shown = PopupRecorder::Instance().Take();
    QCOMPARE(PopupRecorder::Captions(shown), (QStringList{u"Initialize"_s, u"Initialize"_s}));
    QCOMPARE(PopupRecorder::Texts(shown).value(1), u"Calibrating touchscreen complete."_s);
    QCOMPARE(markerExisted, (QList<bool>{false, false}));
    QVERIFY(QFile::exists(marker));
    QCOMPARE(QFileInfo(marker).size(), 0);

    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    reset->click();
    QCOMPARE(QFileInfo(marker).size(), 0);
    // Nothing but the marker appears on the card.
    if (cardRoot != markerFolder)
        QVERIFY(QDir(base + cardRoot).isEmpty());
}

void SystemPageTest::escapeAndReturnStayInThePage()
{
    OpenPage();
    QCOMPARE(Page()->ScrollStep(), 100);
    QCOMPARE(Page()->ScrollRange(), 415);
    QCOMPARE(Page()->ScrollBarMaximum(), 852);
    QCOMPARE(Page()->HeadingIds(),
             (QList<int>{IdLanguageHeading, IdVoiceHeading, IdTimeZoneHeading, IdDateTimeHeading,
                         IdDaylightHeading, IdSpeedUnitHeading, IdSpeedStampHeading, IdSafetyCameraHeading,
                         IdSpeedTrapHeading}));
    for (int id : {IdTouchHeading, IdTouchCalibrationReset, IdFocusSink, IdChoice1, IdBrightness,
                   IdAutoOff30s, IdLanguage0})
        QVERIFY(Get(id)->isHidden());

    // Esc and Return are taken by the page; in the main window either would close it.
    KeyRecorder window;
    Page()->setParent(&window);
    const auto release = qScopeGuard([this] { Page()->setParent(nullptr); });
    Page()->show();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* radio = Page()->Button(CSystemDlg::IdKmh);
    radio->setFocus();
    QTRY_VERIFY(radio->hasFocus());
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A})
        QTest::keyClick(radio, key);
    QCOMPARE(window.m_keys, QList<int>{Qt::Key_A});

    // A click on the page's background takes the focus from the control that had it.
    QTRY_VERIFY(radio->hasFocus());
    QTest::mouseClick(Page()->Content(), Qt::LeftButton, {}, QPoint(600, 10));
    QVERIFY(!radio->hasFocus());
}

QTEST_MAIN(SystemPageTest)
#include "SystemPageTest.moc"
