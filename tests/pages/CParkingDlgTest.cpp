#include "pages/CParkingDlg.h"

#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "settings/SliderTables.h"
#include "skin/SkinFont.h"
#include "tests/support/ProcessStateGuard.h"
#include "tests/support/WheelEvent.h"
#include "ui/CMsgPopupDlg.h"
#include "ui/CSubSlider.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using Id = CParkingDlg::Id;
// The page's control ids, unqualified.
using enum CParkingDlg::Id;

const FieldSpec* FieldNamed(const QString& name)
{
    for (const FieldSpec& field : Field::all) {
        if (QLatin1StringView(field.name.data(), qsizetype(field.name.size())) == name)
            return &field;
    }
    return nullptr;
}

// The controls that follow parking mode.
const QList<int> kParkingControls{IdRecordHours, IdParkingImpact, IdMotion,        IdCutoff12V,
                                  IdCutoff24V,   IdLowVoltageOn,  IdLowVoltageOff, IdMonth1,
                                  IdMonth2,      IdMonth3,        IdMonth4,        IdMonth5};

} // namespace

// The record page on its own, on the shared settings block: load rules, store rules, the enable
// rule, both questions, the controls that are never laid out, layout and scrolling.
class CParkingDlgTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        SkinFont::EnsureRegistered();
        QVERIFY(LoadLanguagePack(LanguagePack::ResourceName(0)));
    }
    void init();
    void cleanup();

    void loadRules_data();
    void loadRules();
    void outOfTableValuesSurviveLoading();
    void parkingModeLoad_data();
    void parkingModeLoad();
    void storeRules_data();
    void storeRules();
    void sliderMouseAndWheelStore();
    void enableRule_data();
    void enableRule();
    void parkingQuestion_data();
    void parkingQuestion();
    void parkingOnRadioNeedsNoQuestion();
    void lowVoltageQuestion_data();
    void lowVoltageQuestion();
    void unplacedControls_data();
    void unplacedControls();
    void loadingLeavesTheOtherSwitches_data();
    void loadingLeavesTheOtherSwitches();
    void layout();
    void sliderSetUp_data();
    void sliderSetUp();
    void scrolling_data();
    void scrolling();
    void keysAndBackgroundClick();

private:
    SettingsRecord& Record() { return *SettingsRecord::Instance(); }
    void OpenPage()
    {
        m_page = std::make_unique<CParkingDlg>(nullptr);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    void Load() { m_page->LoadFromRecord(); }
    // The user's answer to the next question: CMsgPopupDlg::Yes or No; 0 queues none.
    static void QueueAnswer(int answer)
    {
        if (answer != 0)
            PopupRecorder::Instance().QueueAnswer(answer == CMsgPopupDlg::Yes);
    }
    CSubSlider* Slider(int id) { return m_page->Slider(id); }
    // Fills a record whose parking fields sit in the middle of their tables.
    void FillRecord()
    {
        Record().SetInt32(Field::continuous_impact_sensitivity, 3);
        Record().SetInt32(Field::parking_impact_sensitivity, 3);
        Record().SetInt32(Field::parking_mode, 1);
        Record().SetInt32(Field::motion_sensitivity, 1);
        Record().SetInt32(Field::parking_record_hours, 12);
        Record().SetInt32(Field::cutoff_voltage_12v, 4);
        Record().SetInt32(Field::cutoff_voltage_24v, 4);
        Record().SetInt32(Field::video_brightness, 1);
        Record().SetInt32(Field::low_voltage_shutdown, 1);
    }

    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<CParkingDlg> m_page;
};

void CParkingDlgTest::init()
{
    m_state.emplace();
    SettingsRecord::CreateInstance();
    PopupRecorder::Instance().SetRecording(true);
    FillRecord();
    OpenPage();
}

void CParkingDlgTest::cleanup()
{
    m_page.reset();
    m_state.reset();
}

void CParkingDlgTest::loadRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<Id>("sliderId");
    QTest::addColumn<int>("position");
    // clang-format off
    QTest::newRow("continuous 1")     << u"continuous_impact_sensitivity"_s << 1  << IdContinuousImpact << 1;
    QTest::newRow("continuous 5")     << u"continuous_impact_sensitivity"_s << 5  << IdContinuousImpact << 5;
    QTest::newRow("continuous 9")     << u"continuous_impact_sensitivity"_s << 9  << IdContinuousImpact << 5;
    QTest::newRow("continuous 0")     << u"continuous_impact_sensitivity"_s << 0  << IdContinuousImpact << 1;
    QTest::newRow("parking impact 2") << u"parking_impact_sensitivity"_s    << 2  << IdParkingImpact    << 2;
    QTest::newRow("parking impact 9") << u"parking_impact_sensitivity"_s    << 9  << IdParkingImpact    << 5;
    QTest::newRow("motion 0")         << u"motion_sensitivity"_s            << 0  << IdMotion           << 0;
    QTest::newRow("motion 3")         << u"motion_sensitivity"_s            << 3  << IdMotion           << 2;
    QTest::newRow("motion 5")         << u"motion_sensitivity"_s            << 5  << IdMotion           << 3;
    QTest::newRow("motion 2 (none)")  << u"motion_sensitivity"_s            << 2  << IdMotion           << 3;
    QTest::newRow("motion -1 (none)") << u"motion_sensitivity"_s            << -1 << IdMotion           << 3;
    QTest::newRow("hours 0")          << u"parking_record_hours"_s          << 0  << IdRecordHours      << 0;
    QTest::newRow("hours 6")          << u"parking_record_hours"_s          << 6  << IdRecordHours      << 0;
    QTest::newRow("hours 24")         << u"parking_record_hours"_s          << 24 << IdRecordHours      << 2;
    QTest::newRow("hours 48")         << u"parking_record_hours"_s          << 48 << IdRecordHours      << 3;
    QTest::newRow("hours 7 (none)")   << u"parking_record_hours"_s          << 7  << IdRecordHours      << 3;
    QTest::newRow("12 V 4")           << u"cutoff_voltage_12v"_s            << 4  << IdCutoff12V        << 4;
    QTest::newRow("12 V 9")           << u"cutoff_voltage_12v"_s            << 9  << IdCutoff12V        << 7;
    QTest::newRow("12 V -1")          << u"cutoff_voltage_12v"_s            << -1 << IdCutoff12V        << 0;
    QTest::newRow("24 V 7")           << u"cutoff_voltage_24v"_s            << 7  << IdCutoff24V        << 7;
    QTest::newRow("24 V 9")           << u"cutoff_voltage_24v"_s            << 9  << IdCutoff24V        << 7;
    QTest::newRow("brightness 2")     << u"video_brightness"_s              << 2  << IdBrightness       << 2;
    QTest::newRow("brightness 5")     << u"video_brightness"_s              << 5  << IdBrightness       << 2;
    // clang-format on
}

void CParkingDlgTest::loadRules()
{
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(Id, sliderId);
    QFETCH(int, position);
    const FieldSpec* target = FieldNamed(field);
    QVERIFY(target);
    Record().SetInt32(*target, stored);
    const QByteArray before = Record().ToByteArray();
    Load();
    QCOMPARE(Slider(sliderId)->value(), position);
    QCOMPARE(Record().ToByteArray(), before);
}

void CParkingDlgTest::outOfTableValuesSurviveLoading()
{
    Record().SetInt32(Field::parking_mode, 3);
    Record().SetInt32(Field::motion_sensitivity, 2);
    Record().SetInt32(Field::parking_record_hours, 0);
    Record().SetInt32(Field::cutoff_voltage_12v, 9);
    Record().SetInt32(Field::cutoff_voltage_24v, -1);
    Record().SetInt32(Field::continuous_impact_sensitivity, 9);
    Record().SetInt32(Field::parking_impact_sensitivity, 9);
    Record().SetUInt32(Field::winter_month_mask, 0xFFFFFFE5u);
    Record().SetInt32(Field::unplaced_switch_508, 7);
    const QByteArray before = Record().ToByteArray();
    Load();
    Load();
    QCOMPARE(Record().ToByteArray(), before);
    // The month boxes show the five low bits; the others stay in the record.
    QCOMPARE(m_page->IsChecked(IdMonth1), true);
    QCOMPARE(m_page->IsChecked(IdMonth2), false);
    QCOMPARE(m_page->IsChecked(IdMonth3), true);
    QCOMPARE(m_page->IsChecked(IdMonth4), false);
    QCOMPARE(m_page->IsChecked(IdMonth5), false);
    QVERIFY(m_page->IsChecked(IdSwitch508On) && !m_page->IsChecked(IdSwitch508Off));
}

void CParkingDlgTest::parkingModeLoad_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<Id>("checked");
    QTest::addColumn<bool>("parkingEnabled"); // the list of twelve
    QTest::addColumn<bool>("slidersEnabled"); // IdParkingImpact and IdRecordHours
    QTest::addColumn<bool>("motionEnabled");
    QTest::newRow("off") << 0 << IdParkingOff << false << false << false;
    QTest::newRow("on") << 1 << IdParkingOn << true << true << true;
    QTest::newRow("on without motion") << 2 << IdParkingOnNoMotion << true << true << false;
    QTest::newRow("3") << 3 << IdParkingOff << true << false << false;
    QTest::newRow("-1") << -1 << IdParkingOff << true << false << false;
}

void CParkingDlgTest::parkingModeLoad()
{
    QFETCH(int, mode);
    QFETCH(Id, checked);
    QFETCH(bool, parkingEnabled);
    QFETCH(bool, slidersEnabled);
    QFETCH(bool, motionEnabled);
    Record().SetInt32(Field::parking_mode, mode);
    Load();
    for (int id : {IdParkingOn, IdParkingOnNoMotion, IdParkingOff})
        QCOMPARE(m_page->IsChecked(id), id == checked);
    for (int id : kParkingControls) {
        const bool expected = id == IdMotion                                 ? motionEnabled
                              : id == IdParkingImpact || id == IdRecordHours ? slidersEnabled
                                                                             : parkingEnabled;
        QVERIFY2(m_page->IsEnabled(id) == expected, qPrintable(QString::number(id)));
    }
}

void CParkingDlgTest::storeRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<Id>("sliderId");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    // clang-format off
    QTest::newRow("continuous right")      << u"continuous_impact_sensitivity"_s << 3  << IdContinuousImpact << int(Qt::Key_Right)    << 4;
    QTest::newRow("continuous home")       << u"continuous_impact_sensitivity"_s << 3  << IdContinuousImpact << int(Qt::Key_Home)     << 1;
    QTest::newRow("parking impact left")   << u"parking_impact_sensitivity"_s    << 3  << IdParkingImpact    << int(Qt::Key_Left)     << 2;
    QTest::newRow("motion right")          << u"motion_sensitivity"_s            << 0  << IdMotion           << int(Qt::Key_Right)    << 1;
    QTest::newRow("motion to 3")           << u"motion_sensitivity"_s            << 1  << IdMotion           << int(Qt::Key_Right)    << 3;
    QTest::newRow("motion 2 left")         << u"motion_sensitivity"_s            << 2  << IdMotion           << int(Qt::Key_Left)     << 3;
    QTest::newRow("motion end")            << u"motion_sensitivity"_s            << 0  << IdMotion           << int(Qt::Key_End)      << 5;
    QTest::newRow("hours 0, left at end")  << u"parking_record_hours"_s          << 0  << IdRecordHours      << int(Qt::Key_Left)     << 6;
    QTest::newRow("hours 0, right")        << u"parking_record_hours"_s          << 0  << IdRecordHours      << int(Qt::Key_Right)    << 12;
    QTest::newRow("hours 24, right")       << u"parking_record_hours"_s          << 24 << IdRecordHours      << int(Qt::Key_Right)    << 48;
    QTest::newRow("hours 7, right at end") << u"parking_record_hours"_s          << 7  << IdRecordHours      << int(Qt::Key_Right)    << 48;
    QTest::newRow("12 V right")            << u"cutoff_voltage_12v"_s            << 4  << IdCutoff12V        << int(Qt::Key_Right)    << 5;
    QTest::newRow("12 V 9, left")          << u"cutoff_voltage_12v"_s            << 9  << IdCutoff12V        << int(Qt::Key_Left)     << 6;
    QTest::newRow("24 V page down")        << u"cutoff_voltage_24v"_s            << 4  << IdCutoff24V        << int(Qt::Key_PageDown) << 5;
    QTest::newRow("24 V page up")          << u"cutoff_voltage_24v"_s            << 4  << IdCutoff24V        << int(Qt::Key_PageUp)   << 3;
    QTest::newRow("12 V up")               << u"cutoff_voltage_12v"_s            << 4  << IdCutoff12V        << int(Qt::Key_Up)       << 3;
    QTest::newRow("12 V down")             << u"cutoff_voltage_12v"_s            << 4  << IdCutoff12V        << int(Qt::Key_Down)     << 5;
    QTest::newRow("24 V -1, right")        << u"cutoff_voltage_24v"_s            << -1 << IdCutoff24V        << int(Qt::Key_Right)    << 1;
    QTest::newRow("brightness right")      << u"video_brightness"_s              << 0  << IdBrightness       << int(Qt::Key_Right)    << 1;
    // clang-format on
}

void CParkingDlgTest::storeRules()
{
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(Id, sliderId);
    QFETCH(int, key);
    QFETCH(int, expected);
    const FieldSpec* target = FieldNamed(field);
    QVERIFY(target);
    Record().SetInt32(*target, stored);
    Load();
    const QByteArray before = Record().ToByteArray();
    CSubSlider* control = Slider(sliderId);
    QVERIFY(control->isEnabled());
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));
    QCOMPARE(Record().Int32(*target), expected);
    // Nothing else changed.
    QByteArray after = Record().ToByteArray();
    QCOMPARE(after.remove(target->offset, 4), QByteArray(before).remove(target->offset, 4));
}

void CParkingDlgTest::sliderMouseAndWheelStore()
{
    Record().SetInt32(Field::parking_record_hours, 0);
    Load();
    CSubSlider* hours = Slider(IdRecordHours);
    // Pressing and releasing the thumb without moving stores what it shows.
    const int y = CSubSlider::ThumbTop + CSubSlider::ThumbHeight / 2;
    QTest::mouseClick(hours, Qt::LeftButton, {}, QPoint(hours->ThumbCentreX(), y));
    QCOMPARE(Record().Int32(Field::parking_record_hours), 6);
    // Dragging onto the third tick.
    const QList<int> ticks = hours->TickPositions();
    QTest::mousePress(hours, Qt::LeftButton, {}, QPoint(ticks[0], y));
    QTest::mouseMove(hours, QPoint(ticks[1], y));
    QTest::mouseMove(hours, QPoint(ticks[2], y));
    QCOMPARE(Record().Int32(Field::parking_record_hours), 24); // stored while dragging
    QTest::mouseRelease(hours, Qt::LeftButton, {}, QPoint(ticks[2], y));
    QCOMPARE(Record().Int32(Field::parking_record_hours), 24);
    // A click on the channel right of the thumb.
    QTest::mouseClick(hours, Qt::LeftButton, {}, QPoint(ticks[3] + 2, y));
    QCOMPARE(Record().Int32(Field::parking_record_hours), 48);
    // The wheel over a slider moves the slider toward its minimum when turned away from the
    // user, and not the page.
    SendWheel(hours, QPoint(ticks[3], y), 120);
    QCOMPARE(m_page->ScrollPos(), 0);
    QVERIFY(hours->value() < 3);
    QCOMPARE(Record().Int32(Field::parking_record_hours), SliderTables::Hours[hours->value() + 1]);
}

void CParkingDlgTest::enableRule_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("apply");
    QTest::newRow("mode 0, level 1, apply") << 0 << 1 << true;
    QTest::newRow("mode 1, level 0, apply") << 1 << 0 << true;
    QTest::newRow("mode 1, level 1, apply") << 1 << 1 << true;
    QTest::newRow("mode 2, level 1, no apply") << 2 << 1 << false;
    QTest::newRow("mode 2, level 0, no apply") << 2 << 0 << false;
    QTest::newRow("mode 3, level 0, apply") << 3 << 0 << true;
    QTest::newRow("mode 0, level 0, no apply") << 0 << 0 << false;
}

void CParkingDlgTest::enableRule()
{
    QFETCH(int, mode);
    QFETCH(int, level);
    QFETCH(bool, apply);
    Record().SetInt32(Field::parking_mode, mode);
    m_page->UpdateEnableStates(level, apply);
    for (int id : kParkingControls) {
        const bool follows = apply && (id == IdParkingImpact || id == IdMotion || id == IdRecordHours);
        const bool expected = follows ? level != 0 : mode != 0;
        QVERIFY2(m_page->IsEnabled(id) == expected, qPrintable(QString::number(id)));
    }
}

void CParkingDlgTest::parkingQuestion_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("storedAfter");
    QTest::addColumn<Id>("checkedAfter");
    QTest::addColumn<bool>("motionEnabled");
    QTest::newRow("on, yes") << 1 << 1 << 1 << 0 << IdParkingOff << false;
    QTest::newRow("on, no") << 1 << 2 << 1 << 1 << IdParkingOn << true;
    QTest::newRow("on without motion, no") << 2 << 2 << 1 << 2 << IdParkingOnNoMotion << false;
    QTest::newRow("on without motion, yes") << 2 << 1 << 1 << 0 << IdParkingOff << false;
    QTest::newRow("off already") << 0 << 0 << 0 << 0 << IdParkingOff << false;
    QTest::newRow("3, no") << 3 << 2 << 1 << 3 << IdParkingOff << false;
    QTest::newRow("3, yes") << 3 << 1 << 1 << 0 << IdParkingOff << false;
}

void CParkingDlgTest::parkingQuestion()
{
    QFETCH(int, mode);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(int, storedAfter);
    QFETCH(Id, checkedAfter);
    QFETCH(bool, motionEnabled);
    Record().SetInt32(Field::parking_mode, mode);
    Load();
    const QByteArray before = Record().ToByteArray();
    QueueAnswer(answer);
    QAbstractButton* off = m_page->Button(IdParkingOff);
    QTest::mouseClick(off, Qt::LeftButton, {}, QPoint(6, off->height() / 2));
    QCOMPARE(PopupRecorder::Instance().Popups().size(), asked);
    if (asked) {
        const PopupRecorder::Popup question = PopupRecorder::Instance().Popups().constLast();
        QCOMPARE(question.caption, u"Parking Mode Settings"_s);
        QCOMPARE(question.text,
                 u"If the parking mode recording is disabled,\r\nthe dash cam will stop recording when "
                 "the vehicle's engine is turned off.\r\n"_s);
        QCOMPARE(question.size.width(), 490);
        QCOMPARE(question.size.height(), 170);
    }
    PopupRecorder::Instance().ClearAnswers();
    QCOMPARE(Record().Int32(Field::parking_mode), storedAfter);
    if (storedAfter == mode)
        QCOMPARE(Record().ToByteArray(), before);
    for (int id : {IdParkingOn, IdParkingOnNoMotion, IdParkingOff})
        QVERIFY2(m_page->IsChecked(id) == (id == checkedAfter), qPrintable(QString::number(id)));
    QCOMPARE(m_page->IsEnabled(IdMotion), motionEnabled);
    const bool on = storedAfter == 1 || storedAfter == 2;
    QCOMPARE(m_page->IsEnabled(IdParkingImpact), on);
    QCOMPARE(m_page->IsEnabled(IdCutoff12V), storedAfter != 0);
    if (answer == 2 && mode == 1)
        QVERIFY(m_page->Control(IdParkingOn)->hasFocus());
}

void CParkingDlgTest::parkingOnRadioNeedsNoQuestion()
{
    Record().SetInt32(Field::parking_mode, 0);
    Load();
    QAbstractButton* on = m_page->Button(IdParkingOn);
    QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(6, on->height() / 2));
    QCOMPARE(Record().Int32(Field::parking_mode), 1);
    QCOMPARE(PopupRecorder::Instance().Popups().size(), 0);
    for (int id : kParkingControls)
        QVERIFY(m_page->IsEnabled(id));
    // The unplaced "on without motion detection" radio, by its id.
    m_page->Button(IdParkingOnNoMotion)->click();
    QCOMPARE(Record().Int32(Field::parking_mode), 2);
    QVERIFY(!m_page->IsEnabled(IdMotion));
    QVERIFY(!m_page->IsChecked(IdParkingOn) && !m_page->IsChecked(IdParkingOff));
}

void CParkingDlgTest::lowVoltageQuestion_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("storedAfter");
    QTest::addColumn<bool>("monthsEnabled");
    QTest::newRow("on, yes") << 1 << 1 << 1 << 0 << false;
    QTest::newRow("on, no") << 1 << 2 << 1 << 1 << true;
    QTest::newRow("5, no") << 5 << 2 << 1 << 1 << true;
    QTest::newRow("off already") << 0 << 0 << 0 << 0 << true;
}

void CParkingDlgTest::lowVoltageQuestion()
{
    QFETCH(int, stored);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(int, storedAfter);
    QFETCH(bool, monthsEnabled);
    Record().SetInt32(Field::low_voltage_shutdown, stored);
    Load();
    QueueAnswer(answer);
    m_page->Button(IdLowVoltageOff)->click();
    QCOMPARE(PopupRecorder::Instance().Popups().size(), asked);
    if (asked) {
        const PopupRecorder::Popup question = PopupRecorder::Instance().Popups().constLast();
        QCOMPARE(question.caption, u"Caution for Disabling Low-Voltage Shutdown"_s);
        QCOMPARE(question.text,
                 u"Disabling this function may result in\r\ndepletion of the vehicle's battery. \r\n"
                 "Disable the low-voltage shutdown anyway?"_s);
        QCOMPARE(question.size.width(), 330);
        QCOMPARE(question.size.height(), 170);
    }
    PopupRecorder::Instance().ClearAnswers();
    QCOMPARE(Record().Int32(Field::low_voltage_shutdown), storedAfter);
    for (int id = IdMonth1; id <= IdMonth5; ++id)
        QCOMPARE(m_page->IsEnabled(id), monthsEnabled);
    if (answer == 2)
        QVERIFY(m_page->IsChecked(IdLowVoltageOn) && !m_page->IsChecked(IdLowVoltageOff));
    // Parking mode 1: the sliders keep their states whatever the answer.
    QVERIFY(m_page->IsEnabled(IdParkingImpact) && m_page->IsEnabled(IdMotion) &&
            m_page->IsEnabled(IdRecordHours));

    m_page->Button(IdLowVoltageOn)->click();
    QCOMPARE(Record().Int32(Field::low_voltage_shutdown), 1);
    for (int id = IdMonth1; id <= IdMonth5; ++id)
        QVERIFY(m_page->IsEnabled(id));
}

void CParkingDlgTest::unplacedControls_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<bool>("viaCommand"); // no control: the command alone
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    // clang-format off
    QTest::newRow("month 1 on")  << IdMonth1       << false << u"winter_month_mask"_s   << 0x100 << 0x101;
    QTest::newRow("month 5 on")  << IdMonth5       << false << u"winter_month_mask"_s   << 0x0   << 0x10;
    QTest::newRow("month 3 off") << IdMonth3       << false << u"winter_month_mask"_s   << 0x1F  << 0x1B;
    QTest::newRow("508 on")      << IdSwitch508On  << false << u"unplaced_switch_508"_s << 0     << 1;
    QTest::newRow("508 off")     << IdSwitch508Off << false << u"unplaced_switch_508"_s << 1     << 0;
    QTest::newRow("508 box on")  << IdSwitch508Box << false << u"unplaced_switch_508"_s << 0     << 1;
    QTest::newRow("536 box on")  << IdSwitch536Box << false << u"unplaced_switch_536"_s << 0     << 1;
    QTest::newRow("540 on")      << IdSwitch540On  << false << u"unplaced_switch_540"_s << 0     << 1;
    QTest::newRow("540 off")     << IdSwitch540Off << false << u"unplaced_switch_540"_s << 9     << 0;
    QTest::newRow("100 on")      << IdSwitch100On  << true  << u"unplaced_switch_100"_s << 0     << 1;
    QTest::newRow("100 off")     << IdSwitch100Off << true  << u"unplaced_switch_100"_s << 7     << 0;
    // clang-format on
}

void CParkingDlgTest::unplacedControls()
{
    QFETCH(Id, id);
    QFETCH(bool, viaCommand);
    QFETCH(QString, field);
    QFETCH(int, before);
    QFETCH(int, after);
    const FieldSpec* target = FieldNamed(field);
    QVERIFY(target);
    Record().SetInt32(*target, before);
    Load();
    if (viaCommand) {
        QCOMPARE(m_page->Control(id), nullptr);
        m_page->OnCommand(id);
    } else {
        QWidget* control = m_page->Control(id);
        QVERIFY(control);
        QVERIFY(control->isHidden());
        QVERIFY(control->size().isEmpty());
        m_page->Button(id)->click();
    }
    QCOMPARE(Record().Int32(*target), after);
}

void CParkingDlgTest::loadingLeavesTheOtherSwitches_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored"); // would check the control if loading showed it
    QTest::newRow("536 box") << IdSwitch536Box << u"unplaced_switch_536"_s << 1;
    QTest::newRow("508 box") << IdSwitch508Box << u"unplaced_switch_508"_s << 1;
    QTest::newRow("540 on") << IdSwitch540On << u"unplaced_switch_540"_s << 1;
    QTest::newRow("540 off") << IdSwitch540Off << u"unplaced_switch_540"_s << 0;
}

// Loading shows only the 508 radios of the unplaced switches; the others stay as built.
void CParkingDlgTest::loadingLeavesTheOtherSwitches()
{
    QFETCH(Id, id);
    QFETCH(QString, field);
    QFETCH(int, stored);
    const FieldSpec* target = FieldNamed(field);
    QVERIFY(target);
    Record().SetInt32(*target, stored);
    Load();
    QVERIFY(!m_page->IsChecked(id));
    QCOMPARE(Record().Int32(*target), stored);
}

void CParkingDlgTest::layout()
{
    QCOMPARE(m_page->ScrollStep(), 80);
    QCOMPARE(m_page->ScrollRange(), 561);
    QCOMPARE(m_page->ScrollBarMaximum(), 998);
    QCOMPARE(m_page->HeadingIds(),
             (QList<int>{IdContinuousHeading, IdBrightnessHeading, IdParkingHeading, IdParkingImpactHeading,
                         IdMotionHeading, IdTimerHeading, IdBatteryHeading}));
    QVERIFY(m_page->Control(IdFocusSink)->isHidden());
    const auto at = [this](int id) { return m_page->Control(id)->geometry(); };
    const int low = at(IdContinuousLow).width();
    QCOMPARE(low, CBaseDialog::MeasureTextWidth(u"Low"_s, m_page->TextFont()) + 30);
    QCOMPARE(at(IdContinuousLow).topLeft(), QPoint(60, 97));
    QCOMPARE(at(IdContinuousImpact), QRect(low + 60, 55, 350, 55));
    QCOMPARE(at(IdContinuousHigh).topLeft(), QPoint(low + 430, 97));
    QCOMPARE(at(IdBrightness), QRect(110, 177, 350, 48));
    QCOMPARE(at(IdParkingImpact), QRect(at(IdParkingImpactLow).width() + 60, 387, 350, 55));
    QCOMPARE(at(IdMotion), QRect(at(IdMotionLow).width() + 60, 534, 350, 55));
    QCOMPARE(at(IdRecordHours), QRect(110, 681, 350, 55));
    QCOMPARE(at(IdCutoff12V), QRect(at(Id12V).width() + 30, 828, 350, 55));
    QCOMPARE(at(IdCutoff24V), QRect(at(Id24V).width() + 30, 928, 350, 55));
    QCOMPARE(at(IdParkingOn).topLeft(), QPoint(25, 282));
    QCOMPARE(at(IdParkingOff).topLeft(), QPoint(25, 312));
    QCOMPARE(at(IdHours).topLeft(), QPoint(55, 723));
    QCOMPARE(m_page->Control(IdBatteryHeading)->font(), m_page->HeadingFont());
    QCOMPARE(m_page->Control(Id12V)->font(), m_page->BoldFont());
    QCOMPARE(m_page->Control(IdDark)->font(), m_page->TextFont());
    QCOMPARE(m_page->ControlAs<QLineEdit>(IdContinuousHeading)->text(),
             u"Continuous Mode Incident Recording Sensitivity"_s);
    QCOMPARE(m_page->Button(IdParkingOn)->text(),
             u"Enabled (Switches to parking mode when the engine is turned off)"_s);
    // The placed controls are visible; the others are not.
    // clang-format off
    const int placed[] = {
        IdContinuousHeading, IdContinuousLow, IdContinuousImpact, IdContinuousHigh,
        IdBrightnessHeading, IdBrightness, IdDark, IdBright,
        IdParkingHeading, IdParkingOn, IdParkingOff,
        IdParkingImpactHeading, IdParkingImpactLow, IdParkingImpact, IdParkingImpactHigh,
        IdMotionHeading, IdMotionLow, IdMotion, IdMotionHigh,
        IdTimerHeading, IdRecordHours, IdHours,
        IdBatteryHeading, Id12V, IdCutoff12V, Id24V, IdCutoff24V};
    // clang-format on
    for (int id : placed)
        QVERIFY2(!m_page->Control(id)->isHidden(), qPrintable(QString::number(id)));
    for (int id : {IdParkingOnNoMotion, IdLowVoltageOn, IdLowVoltageOff, IdSwitch508On, IdSwitch508Off,
                   IdMonth1, IdMonth5, IdSwitch536Box, IdSwitch508Box, IdSwitch540On, IdSwitch540Off,
                   IdUnplacedLabel1, IdUnplacedLabel2, IdUnplacedLabel3, IdUnplacedLabel6, IdUnplacedLabel7})
        QVERIFY2(m_page->Control(id)->isHidden(), qPrintable(QString::number(id)));
}

void CParkingDlgTest::sliderSetUp_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<CSubSlider::LabelFlags>("flags");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("drawn");
    const QStringList five{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    const CSubSlider::LabelFlags endsAndMiddle =
        CSubSlider::LabelsFirstAndLast | CSubSlider::LabelLowerMiddle;
    const CSubSlider::LabelFlags endsAndUpperMiddle =
        CSubSlider::LabelsFirstAndLast | CSubSlider::LabelUpperMiddle;
    const CSubSlider::LabelFlags all = CSubSlider::LabelsAll;
    const int position = CSubSlider::KindPosition;
    QTest::newRow("continuous impact")
        << IdContinuousImpact << five << endsAndMiddle << 1 << 5 << position << QList<int>{0, 4, 2};
    QTest::newRow("brightness") << IdBrightness << QStringList() << CSubSlider::LabelFlags() << 0 << 2
                                << position << QList<int>{};
    QTest::newRow("parking impact") << IdParkingImpact << five << endsAndMiddle << 1 << 5 << position
                                    << QList<int>{0, 4, 2};
    QTest::newRow("motion") << IdMotion << QStringList{u"OFF"_s, u"1"_s, u"3"_s, u"5"_s} << all << 0 << 3
                            << int(CSubSlider::KindMotion) << QList<int>{0, 1, 2, 3};
    QTest::newRow("record hours") << IdRecordHours << QStringList{u"6"_s, u"12"_s, u"24"_s, u"48"_s} << all
                                  << 0 << 3 << int(CSubSlider::KindHoursAlt) << QList<int>{0, 1, 2, 3};
    QTest::newRow("12 V cut-off") << IdCutoff12V
                                  << QStringList{u"11.6V"_s, u"11.7V"_s, u"11.8V"_s, u"11.9V"_s,
                                                 u"12.0V"_s, u"12.1V"_s, u"12.2V"_s, u"12.3V "_s}
                                  << endsAndUpperMiddle << 0 << 7 << int(CSubSlider::KindVolts12)
                                  << QList<int>{0, 7, 4};
    QTest::newRow("24 V cut-off") << IdCutoff24V
                                  << QStringList{u"23.2V"_s, u"23.4V"_s, u"23.6V"_s, u"23.8V"_s,
                                                 u"24.0V"_s, u"24.2V"_s, u"24.4V"_s, u"24.6V "_s}
                                  << endsAndUpperMiddle << 0 << 7 << int(CSubSlider::KindVolts24)
                                  << QList<int>{0, 7, 4};
}

void CParkingDlgTest::sliderSetUp()
{
    QFETCH(Id, id);
    QFETCH(QStringList, labels);
    QFETCH(CSubSlider::LabelFlags, flags);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, kind);
    QFETCH(QList<int>, drawn);
    CSubSlider* control = Slider(id);
    QCOMPARE(control->Labels(), labels);
    QCOMPARE(control->LabelSelection(), flags);
    QCOMPARE(control->minimum(), minimum);
    QCOMPARE(control->maximum(), maximum);
    QCOMPARE(control->TooltipKind(), kind);
    QCOMPARE(control->tickInterval(), 1);
    QList<int> indices;
    for (const CSubSlider::DrawnLabel& label : control->DrawnLabels())
        indices.append(label.index);
    QCOMPARE(indices, drawn);
}

void CParkingDlgTest::scrolling_data()
{
    QTest::addColumn<QList<int>>("wheel"); // deltas, one message each
    QTest::addColumn<int>("position");
    QTest::newRow("one notch") << QList<int>{-120} << 80;
    QTest::newRow("to the end") << QList<int>(8, -120) << 561;
    QTest::newRow("past the end") << QList<int>(10, -120) << 561;
    QTest::newRow("down and up") << QList<int>{-120, -120, -120, 120} << 160;
    QTest::newRow("up at the top") << QList<int>{120} << 0;
    QTest::newRow("back from the end")
        << QList<int>{-120, -120, -120, -120, -120, -120, -120, -120, 120} << 481;
}

void CParkingDlgTest::scrolling()
{
    QFETCH(QList<int>, wheel);
    QFETCH(int, position);
    QWidget* label = m_page->Control(IdBatteryHeading);
    for (int delta : wheel)
        SendWheel(label, QPoint(2, 2), delta);
    QCOMPARE(m_page->ScrollPos(), position);
    QCOMPARE(m_page->VerticalScrollBar()->value(), position);
    QCOMPARE(m_page->Control(IdCutoff24V)->y(), 928 - position);
    QCOMPARE(m_page->Control(IdContinuousHeading)->y(), 20 - position);
}

void CParkingDlgTest::keysAndBackgroundClick()
{
    CSubSlider* control = Slider(IdContinuousImpact);
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    const QByteArray before = Record().ToByteArray();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(control, key);
    QCOMPARE(Record().ToByteArray(), before);
    // A click beside the controls takes the focus away from them.
    QTest::mouseClick(m_page->Content(), Qt::LeftButton, {}, QPoint(600, 400));
    QTRY_VERIFY(!control->hasFocus());
    QVERIFY(m_page->Content()->hasFocus());
    QTest::keyClick(m_page->Content(), Qt::Key_Escape);
    QVERIFY(m_page->isVisible());
}

QTEST_MAIN(CParkingDlgTest)
#include "CParkingDlgTest.moc"
