#include "app/CSettingDlg.h"
#include "pages/CSystemDlg.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/DeviceClock.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

// The system page inside the main window on a copy of the demo card, used as a user would,
// under the time zone the test runs in (TZ=Asia/Tokyo).
class SystemPageWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void saveWithoutTouchingKeepsTheCardAndDropsTheClock();
    void setZoneAndClockThenSave();
    void screenshots_data();
    void screenshots();

private:
    QString CardFile(const QString& name) const { return m_card->path() + u'/' + name; }
    QByteArray Read(const QString& name) const
    {
        QFile file(CardFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool OpenWindowOnSystemPage();
    void Click(QWidget* control, QPoint at = {})
    {
        QTest::mouseMove(control, at.isNull() ? control->rect().center() : at);
        QTest::mouseClick(control, Qt::LeftButton, {}, at);
    }
    CSystemDlg* Page() const { return static_cast<CSystemDlg*>(m_window->SystemPage()); }

    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<QTemporaryDir> m_card;
    std::unique_ptr<CSettingDlg> m_window;
};

void SystemPageWindowTest::initTestCase()
{
    SkinFont::EnsureRegistered();
}

void SystemPageWindowTest::init()
{
    m_state.emplace();
    PopupRecorder::Instance().SetRecording(true);
    m_card = std::make_unique<QTemporaryDir>();
    QVERIFY(CopyDemoCard(m_card->path()));
    InstallFakePlatform();
    CardRoot::Instance().Set(m_card->path() + u'/');
}

void SystemPageWindowTest::cleanup()
{
    m_window.reset();
    m_state.reset();
}

bool SystemPageWindowTest::OpenWindowOnSystemPage()
{
    m_window = std::make_unique<CSettingDlg>();
    if (!m_window->RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s))
        return false;
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return false;
    Click(m_window->Control(CSettingDlg::IdTabSystem));
    // The tab posts its command to the window.
    return Page() && QTest::qWaitFor([this] { return Page()->isVisible(); });
}

void SystemPageWindowTest::saveWithoutTouchingKeepsTheCardAndDropsTheClock()
{
    QFile clockFile(CardFile(u"time.dat"_s));
    QVERIFY(clockFile.open(QIODevice::WriteOnly));
    clockFile.write("2020,01,02,03,04,05,+0100");
    clockFile.close();
    const QByteArray original = Read(u"setup.cfg"_s);
    QVERIFY(OpenWindowOnSystemPage());
    QVERIFY(!Page()->IsChecked(CSystemDlg::IdWriteClock));
    Click(m_window->Control(CSettingDlg::IdSave));
    QTRY_VERIFY(!m_window->isVisible());
    QCOMPARE(Read(u"setup.cfg"_s), original);
    QVERIFY(!QFile::exists(CardFile(u"time.dat"_s)));
}

void SystemPageWindowTest::setZoneAndClockThenSave()
{
    // A clock left on the card is dropped unless the user sets it again.
    QFile clockFile(CardFile(u"time.dat"_s));
    QVERIFY(clockFile.open(QIODevice::WriteOnly));
    clockFile.write("2020,01,02,03,04,05,+0100");
    clockFile.close();
    const QByteArray original = Read(u"setup.cfg"_s);
    QVERIFY(OpenWindowOnSystemPage());

    // Pick Eastern Time from the open list with the mouse.
    auto* zones = Page()->ControlAs<QComboBox>(CSystemDlg::IdTimeZoneList);
    QCOMPARE(zones->currentText(), u"(UTC+09:00) Osaka, Sapporo, Tokyo"_s);
    const int eastern = zones->findText(u"(UTC-05:00) Eastern Time (US & Canada)"_s);
    QVERIFY(eastern > 0);
    Click(zones);
    QAbstractItemView* view = zones->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = view->model()->index(eastern, 0);
    view->scrollTo(index);
    Click(view->viewport(), view->visualRect(index).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(zones->currentIndex(), eastern);

    // Tick the clock box and step the hour and the day with the keyboard.
    auto* box = Page()->Button(CSystemDlg::IdWriteClock);
    Click(box, QPoint(8, box->height() / 2));
    QVERIFY(DeviceClock::Instance().is_set);
    auto* time = Page()->ControlAs<QDateTimeEdit>(CSystemDlg::IdTimePicker);
    auto* date = Page()->ControlAs<QDateTimeEdit>(CSystemDlg::IdDatePicker);
    const QDateTime startTime = time->dateTime();
    const QDate startDate = date->date();
    Click(time, QPoint(12, time->height() / 2));
    time->setCurrentSection(QDateTimeEdit::HourSection);
    // The sections do not wrap around: step away from the end the value is at.
    const int hour = startTime.time().hour();
    QTest::keyClick(time, hour < 23 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(time->time().hour(), hour < 23 ? hour + 1 : hour - 1);
    // The next day, from the drop-down calendar with the keyboard.
    Click(date, QPoint(date->width() - 8, date->height() / 2));
    QTRY_VERIFY(date->calendarWidget()->isVisible());
    QTRY_VERIFY(QApplication::focusWidget() &&
                date->calendarWidget()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!date->calendarWidget()->isVisible());
    QCOMPARE(date->date(), startDate.addDays(1));
    const QDate expectedDate = date->date();
    const QTime expectedTime = time->time();

    Click(m_window->Control(CSettingDlg::IdSave));
    QTRY_VERIFY(!m_window->isVisible());

    // setup.cfg: the zone's key name and bias, everything else as it was.
    QByteArray expected = original;
    QByteArray name = "Eastern Standard Time"_ba.leftJustified(Field::time_zone_name.width, '\0');
    expected.replace(Field::time_zone_name.offset, Field::time_zone_name.width, name);
    qToLittleEndian<qint32>(-300, expected.data() + Field::time_zone_bias.offset);
    QCOMPARE(Read(u"setup.cfg"_s), expected);

    // time.dat: the pickers' date and time with the PC's own offset, not the zone's.
    const QByteArray line = expectedDate.toString(u"yyyy,MM,dd,"_s).toLatin1() +
                            expectedTime.toString(u"HH,mm,ss"_s).toLatin1() + ",+0900";
    QCOMPARE(Read(u"time.dat"_s), line);
}

void SystemPageWindowTest::screenshots_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("english") << u"en"_s;
    QTest::newRow("japanese") << u"ja"_s;
}

void SystemPageWindowTest::screenshots()
{
    QFETCH(QString, code);
    const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set SCREENSHOT_DIR to write screenshots");

    // The camera's language on the card chooses the interface language.
    QVERIFY(SetCameraLanguage(m_card->path(), code));
    QVERIFY(OpenWindowOnSystemPage());
    QDir().mkpath(folder);
    const QString stem = folder + u"/system-page-"_s + code + u'-';

    Page()->OnVScroll(CBaseDialog::ThumbTrack, 0);
    QVERIFY(m_window->grab().save(stem + u"top.png"_s));
    Page()->OnVScroll(CBaseDialog::ThumbTrack, Page()->ScrollRange());
    QVERIFY(m_window->grab().save(stem + u"bottom.png"_s));

    // The open time zone list is a window of its own: draw it over the window where it opened.
    Page()->OnVScroll(CBaseDialog::ThumbTrack, 0);
    auto* zones = Page()->ControlAs<QComboBox>(CSystemDlg::IdTimeZoneList);
    zones->showPopup();
    QWidget* popup = zones->view()->window();
    QTRY_VERIFY(popup->isVisible());
    QTest::qWait(50);
    const QPoint offset = popup->mapToGlobal(QPoint(0, 0)) - m_window->mapToGlobal(QPoint(0, 0));
    const QRect area = m_window->rect().united(QRect(offset, popup->size()));
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    {
        QPainter painter(&image);
        painter.drawPixmap(-area.topLeft(), m_window->grab());
        painter.drawPixmap(offset - area.topLeft(), popup->grab());
    }
    QVERIFY(image.save(stem + u"time-zone-list.png"_s));
    zones->hidePopup();
}

QTEST_MAIN(SystemPageWindowTest)
#include "SystemPageWindowTest.moc"
