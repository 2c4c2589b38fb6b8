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

const FieldSpec* FieldNamed(const QString& name)
{
    for (const FieldSpec& field : Field::all) {
        if (QLatin1StringView(field.name.data(), qsizetype(field.name.size())) == name)
            return &field;
    }
    return nullptr;
}

// The controls that follow parking mode.
const QList<int> kParkingControls{1162, 1160, 1161, 1163, 1164, 1153, 1154, 1165, 1166, 1167, 1168, 1169};

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
    QTest::addColumn<int>("sliderId");
    QTest::addColumn<int>("position");
    // clang-format off
    QTest::newRow("continuous 1")        << u"continuous_impact_sensitivity"_s << 1 << 1252 << 1;
    QTest::newRow("continuous 5")        << u"continuous_impact_sensitivity"_s << 5 << 1252 << 5;
    QTest::newRow("continuous 9")        << u"continuous_impact_sensitivity"_s << 9 << 1252 << 5;
    QTest::newRow("continuous 0")        << u"continuous_impact_sensitivity"_s << 0 << 1252 << 1;
    QTest::newRow("parking impact 2")    << u"parking_impact_sensitivity"_s    << 2 << 1160 << 2;
    QTest::newRow("parking impact 9")    << u"parking_impact_sensitivity"_s    << 9 << 1160 << 5;
    QTest::newRow("motion 0")            << u"motion_sensitivity"_s            << 0 << 1161 << 0;
    QTest::newRow("motion 3")            << u"motion_sensitivity"_s            << 3 << 1161 << 2;
    QTest::newRow("motion 5")            << u"motion_sensitivity"_s            << 5 << 1161 << 3;
    QTest::newRow("motion 2 (none)")     << u"motion_sensitivity"_s            << 2 << 1161 << 3;
    QTest::newRow("motion -1 (none)")    << u"motion_sensitivity"_s            << -1 << 1161 << 3;
    QTest::newRow("hours 0")             << u"parking_record_hours"_s          << 0 << 1162 << 0;
    QTest::newRow("hours 6")             << u"parking_record_hours"_s          << 6 << 1162 << 0;
    QTest::newRow("hours 24")            << u"parking_record_hours"_s          << 24 << 1162 << 2;
    QTest::newRow("hours 48")            << u"parking_record_hours"_s          << 48 << 1162 << 3;
    QTest::newRow("hours 7 (none)")      << u"parking_record_hours"_s          << 7 << 1162 << 3;
    QTest::newRow("12 V 4")              << u"cutoff_voltage_12v"_s            << 4 << 1163 << 4;
    QTest::newRow("12 V 9")              << u"cutoff_voltage_12v"_s            << 9 << 1163 << 7;
    QTest::newRow("12 V -1")             << u"cutoff_voltage_12v"_s            << -1 << 1163 << 0;
    QTest::newRow("24 V 7")              << u"cutoff_voltage_24v"_s            << 7 << 1164 << 7;
    QTest::newRow("24 V 9")              << u"cutoff_voltage_24v"_s            << 9 << 1164 << 7;
    QTest::newRow("brightness 2")        << u"video_brightness"_s              << 2 << 1020 << 2;
    QTest::newRow("brightness 5")        << u"video_brightness"_s              << 5 << 1020 << 2;
    // clang-format on
}

void CParkingDlgTest::loadRules()
{
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(int, sliderId);
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
    QCOMPARE(m_page->IsChecked(1165), true);
    QCOMPARE(m_page->IsChecked(1166), false);
    QCOMPARE(m_page->IsChecked(1167), true);
    QCOMPARE(m_page->IsChecked(1168), false);
    QCOMPARE(m_page->IsChecked(1169), false);
    QVERIFY(m_page->IsChecked(1155) && !m_page->IsChecked(1156));
}

void CParkingDlgTest::parkingModeLoad_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("checked");
    QTest::addColumn<bool>("parkingEnabled"); // the list of twelve
    QTest::addColumn<bool>("slidersEnabled"); // 1160 and 1162
    QTest::addColumn<bool>("motionEnabled");
    QTest::newRow("off") << 0 << 4002 << false << false << false;
    QTest::newRow("on") << 1 << 4000 << true << true << true;
    QTest::newRow("on without motion") << 2 << 4001 << true << true << false;
    QTest::newRow("3") << 3 << 4002 << true << false << false;
    QTest::newRow("-1") << -1 << 4002 << true << false << false;
}

void CParkingDlgTest::parkingModeLoad()
{
    QFETCH(int, mode);
    QFETCH(int, checked);
    QFETCH(bool, parkingEnabled);
    QFETCH(bool, slidersEnabled);
    QFETCH(bool, motionEnabled);
    Record().SetInt32(Field::parking_mode, mode);
    Load();
    for (int id : {4000, 4001, 4002})
        QCOMPARE(m_page->IsChecked(id), id == checked);
    for (int id : kParkingControls) {
        const bool expected = id == 1161                 ? motionEnabled
                              : id == 1160 || id == 1162 ? slidersEnabled
                                                         : parkingEnabled;
        QVERIFY2(m_page->IsEnabled(id) == expected, qPrintable(QString::number(id)));
    }
}

void CParkingDlgTest::storeRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("sliderId");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    // clang-format off
    QTest::newRow("continuous right")      << u"continuous_impact_sensitivity"_s << 3 << 1252 << int(Qt::Key_Right) << 4;
    QTest::newRow("continuous home")       << u"continuous_impact_sensitivity"_s << 3 << 1252 << int(Qt::Key_Home)  << 1;
    QTest::newRow("parking impact left")   << u"parking_impact_sensitivity"_s    << 3 << 1160 << int(Qt::Key_Left)  << 2;
    QTest::newRow("motion right")          << u"motion_sensitivity"_s            << 0 << 1161 << int(Qt::Key_Right) << 1;
    QTest::newRow("motion to 3")           << u"motion_sensitivity"_s            << 1 << 1161 << int(Qt::Key_Right) << 3;
    QTest::newRow("motion 2 left")         << u"motion_sensitivity"_s            << 2 << 1161 << int(Qt::Key_Left)  << 3;
    QTest::newRow("motion end")            << u"motion_sensitivity"_s            << 0 << 1161 << int(Qt::Key_End)   << 5;
    QTest::newRow("hours 0, left at end")  << u"parking_record_hours"_s          << 0 << 1162 << int(Qt::Key_Left)  << 6;
    QTest::newRow("hours 0, right")        << u"parking_record_hours"_s          << 0 << 1162 << int(Qt::Key_Right) << 12;
    QTest::newRow("hours 24, right")       << u"parking_record_hours"_s          << 24 << 1162 << int(Qt::Key_Right) << 48;
    QTest::newRow("hours 7, right at end") << u"parking_record_hours"_s          << 7 << 1162 << int(Qt::Key_Right) << 48;
    QTest::newRow("12 V right")            << u"cutoff_voltage_12v"_s            << 4 << 1163 << int(Qt::Key_Right) << 5;
    QTest::newRow("12 V 9, left")          << u"cutoff_voltage_12v"_s            << 9 << 1163 << int(Qt::Key_Left)  << 6;
    QTest::newRow("24 V page down")        << u"cutoff_voltage_24v"_s            << 4 << 1164 << int(Qt::Key_PageDown) << 5;
    QTest::newRow("24 V page up")          << u"cutoff_voltage_24v"_s            << 4 << 1164 << int(Qt::Key_PageUp) << 3;
    QTest::newRow("12 V up")               << u"cutoff_voltage_12v"_s            << 4 << 1163 << int(Qt::Key_Up) << 3;
    QTest::newRow("12 V down")             << u"cutoff_voltage_12v"_s            << 4 << 1163 << int(Qt::Key_Down) << 5;
    QTest::newRow("24 V -1, right")        << u"cutoff_voltage_24v"_s            << -1 << 1164 << int(Qt::Key_Right) << 1;
    QTest::newRow("brightness right")      << u"video_brightness"_s              << 0 << 1020 << int(Qt::Key_Right) << 1;
    // clang-format on
}

void CParkingDlgTest::storeRules()
{
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(int, sliderId);
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
    CSubSlider* hours = Slider(1162);
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
        const bool follows = apply && (id == 1160 || id == 1161 || id == 1162);
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
    QTest::addColumn<int>("checkedAfter");
    QTest::addColumn<bool>("motionEnabled");
    QTest::newRow("on, yes") << 1 << 1 << 1 << 0 << 4002 << false;
    QTest::newRow("on, no") << 1 << 2 << 1 << 1 << 4000 << true;
    QTest::newRow("on without motion, no") << 2 << 2 << 1 << 2 << 4001 << false;
    QTest::newRow("on without motion, yes") << 2 << 1 << 1 << 0 << 4002 << false;
    QTest::newRow("off already") << 0 << 0 << 0 << 0 << 4002 << false;
    QTest::newRow("3, no") << 3 << 2 << 1 << 3 << 4002 << false;
    QTest::newRow("3, yes") << 3 << 1 << 1 << 0 << 4002 << false;
}

void CParkingDlgTest::parkingQuestion()
{
    QFETCH(int, mode);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(int, storedAfter);
    QFETCH(int, checkedAfter);
    QFETCH(bool, motionEnabled);
    Record().SetInt32(Field::parking_mode, mode);
    Load();
    const QByteArray before = Record().ToByteArray();
    QueueAnswer(answer);
    QAbstractButton* off = m_page->Button(4002);
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
    for (int id : {4000, 4001, 4002})
        QVERIFY2(m_page->IsChecked(id) == (id == checkedAfter), qPrintable(QString::number(id)));
    QCOMPARE(m_page->IsEnabled(1161), motionEnabled);
    const bool on = storedAfter == 1 || storedAfter == 2;
    QCOMPARE(m_page->IsEnabled(1160), on);
    QCOMPARE(m_page->IsEnabled(1163), storedAfter != 0);
    if (answer == 2 && mode == 1)
        QVERIFY(m_page->Control(4000)->hasFocus());
}

void CParkingDlgTest::parkingOnRadioNeedsNoQuestion()
{
    Record().SetInt32(Field::parking_mode, 0);
    Load();
    QAbstractButton* on = m_page->Button(4000);
    QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(6, on->height() / 2));
    QCOMPARE(Record().Int32(Field::parking_mode), 1);
    QCOMPARE(PopupRecorder::Instance().Popups().size(), 0);
    for (int id : kParkingControls)
        QVERIFY(m_page->IsEnabled(id));
    // The unplaced "on without motion detection" radio, by its id.
    m_page->Button(4001)->click();
    QCOMPARE(Record().Int32(Field::parking_mode), 2);
    QVERIFY(!m_page->IsEnabled(1161));
    QVERIFY(!m_page->IsChecked(4000) && !m_page->IsChecked(4002));
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
    m_page->Button(1154)->click();
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
    for (int id = 1165; id <= 1169; ++id)
        QCOMPARE(m_page->IsEnabled(id), monthsEnabled);
    if (answer == 2)
        QVERIFY(m_page->IsChecked(1153) && !m_page->IsChecked(1154));
    // Parking mode 1: the sliders keep their states whatever the answer.
    QVERIFY(m_page->IsEnabled(1160) && m_page->IsEnabled(1161) && m_page->IsEnabled(1162));

    m_page->Button(1153)->click();
    QCOMPARE(Record().Int32(Field::low_voltage_shutdown), 1);
    for (int id = 1165; id <= 1169; ++id)
        QVERIFY(m_page->IsEnabled(id));
}

void CParkingDlgTest::unplacedControls_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("viaCommand"); // no control: the command alone
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    // clang-format off
    QTest::newRow("month 1 on")      << 1165 << false << u"winter_month_mask"_s   << 0x100 << 0x101;
    QTest::newRow("month 5 on")      << 1169 << false << u"winter_month_mask"_s   << 0x0   << 0x10;
    QTest::newRow("month 3 off")     << 1167 << false << u"winter_month_mask"_s   << 0x1F  << 0x1B;
    QTest::newRow("508 on")          << 1155 << false << u"unplaced_switch_508"_s << 0     << 1;
    QTest::newRow("508 off")         << 1156 << false << u"unplaced_switch_508"_s << 1     << 0;
    QTest::newRow("508 box on")      << 4104 << false << u"unplaced_switch_508"_s << 0     << 1;
    QTest::newRow("536 box on")      << 4103 << false << u"unplaced_switch_536"_s << 0     << 1;
    QTest::newRow("540 on")          << 4106 << false << u"unplaced_switch_540"_s << 0     << 1;
    QTest::newRow("540 off")         << 4107 << false << u"unplaced_switch_540"_s << 9     << 0;
    QTest::newRow("100 on")          << 4109 << true  << u"unplaced_switch_100"_s << 0     << 1;
    QTest::newRow("100 off")         << 4110 << true  << u"unplaced_switch_100"_s << 7     << 0;
    // clang-format on
}

void CParkingDlgTest::unplacedControls()
{
    QFETCH(int, id);
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

void CParkingDlgTest::layout()
{
    QCOMPARE(m_page->ScrollStep(), 80);
    QCOMPARE(m_page->ScrollRange(), 561);
    QCOMPARE(m_page->ScrollBarMaximum(), 998);
    QCOMPARE(m_page->HeadingIds(), (QList<int>{1210, 1000, 1112, 1109, 1113, 1117, 1119}));
    QVERIFY(m_page->Control(1171)->isHidden());
    const auto at = [this](int id) { return m_page->Control(id)->geometry(); };
    const int low = at(1211).width();
    QCOMPARE(low, CBaseDialog::MeasureTextWidth(u"Low"_s, m_page->TextFont()) + 30);
    QCOMPARE(at(1211).topLeft(), QPoint(60, 97));
    QCOMPARE(at(1252), QRect(low + 60, 55, 350, 55));
    QCOMPARE(at(1212).topLeft(), QPoint(low + 430, 97));
    QCOMPARE(at(1020), QRect(110, 177, 350, 48));
    QCOMPARE(at(1160), QRect(at(1110).width() + 60, 387, 350, 55));
    QCOMPARE(at(1161), QRect(at(1114).width() + 60, 534, 350, 55));
    QCOMPARE(at(1162), QRect(110, 681, 350, 55));
    QCOMPARE(at(1163), QRect(at(1120).width() + 30, 828, 350, 55));
    QCOMPARE(at(1164), QRect(at(1122).width() + 30, 928, 350, 55));
    QCOMPARE(at(4000).topLeft(), QPoint(25, 282));
    QCOMPARE(at(4002).topLeft(), QPoint(25, 312));
    QCOMPARE(at(1118).topLeft(), QPoint(55, 723));
    QCOMPARE(m_page->Control(1119)->font(), m_page->HeadingFont());
    QCOMPARE(m_page->Control(1120)->font(), m_page->BoldFont());
    QCOMPARE(m_page->Control(1003)->font(), m_page->TextFont());
    QCOMPARE(m_page->ControlAs<QLineEdit>(1210)->text(), u"Continuous Mode Incident Recording Sensitivity"_s);
    QCOMPARE(m_page->Button(4000)->text(),
             u"Enabled (Switches to parking mode when the engine is turned off)"_s);
    // The placed controls are visible; the others are not.
    for (int id : {1210, 1211, 1252, 1212, 1000, 1020, 1003, 1005, 1112, 4000, 4002, 1109, 1110, 1160,
                   1111, 1113, 1114, 1161, 1115, 1117, 1162, 1118, 1119, 1120, 1163, 1122, 1164})
        QVERIFY2(!m_page->Control(id)->isHidden(), qPrintable(QString::number(id)));
    for (int id :
         {4001, 1153, 1154, 1155, 1156, 1165, 1169, 4103, 4104, 4106, 4107, 1001, 1002, 1124, 1127, 4105})
        QVERIFY2(m_page->Control(id)->isHidden(), qPrintable(QString::number(id)));
}

void CParkingDlgTest::sliderSetUp_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("drawn");
    const QStringList five{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    QTest::newRow("1252") << 1252 << five << 9 << 1 << 5 << 0 << QList<int>{0, 4, 2};
    QTest::newRow("1020") << 1020 << QStringList() << 0 << 0 << 2 << 0 << QList<int>{};
    QTest::newRow("1160") << 1160 << five << 9 << 1 << 5 << 0 << QList<int>{0, 4, 2};
    QTest::newRow("1161") << 1161 << QStringList{u"OFF"_s, u"1"_s, u"3"_s, u"5"_s} << 16 << 0 << 3 << 5
                          << QList<int>{0, 1, 2, 3};
    QTest::newRow("1162") << 1162 << QStringList{u"6"_s, u"12"_s, u"24"_s, u"48"_s} << 16 << 0 << 3 << 4
                          << QList<int>{0, 1, 2, 3};
    QTest::newRow("1163") << 1163 << QStringList{u"11.6V"_s, u"11.7V"_s, u"11.8V"_s, u"11.9V"_s,
                                                 u"12.0V"_s, u"12.1V"_s, u"12.2V"_s, u"12.3V "_s}
                          << 5 << 0 << 7 << 2 << QList<int>{0, 7, 4};
    QTest::newRow("1164") << 1164 << QStringList{u"23.2V"_s, u"23.4V"_s, u"23.6V"_s, u"23.8V"_s,
                                                 u"24.0V"_s, u"24.2V"_s, u"24.4V"_s, u"24.6V "_s}
                          << 5 << 0 << 7 << 3 << QList<int>{0, 7, 4};
}

void CParkingDlgTest::sliderSetUp()
{
    QFETCH(int, id);
    QFETCH(QStringList, labels);
    QFETCH(int, flags);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, kind);
    QFETCH(QList<int>, drawn);
    CSubSlider* control = Slider(id);
    QCOMPARE(control->Labels(), labels);
    QCOMPARE(control->LabelFlags(), flags);
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
    QWidget* label = m_page->Control(1119);
    for (int delta : wheel)
        SendWheel(label, QPoint(2, 2), delta);
    QCOMPARE(m_page->ScrollPos(), position);
    QCOMPARE(m_page->VerticalScrollBar()->value(), position);
    QCOMPARE(m_page->Control(1164)->y(), 928 - position);
    QCOMPARE(m_page->Control(1210)->y(), 20 - position);
}

void CParkingDlgTest::keysAndBackgroundClick()
{
    CSubSlider* control = Slider(1252);
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
