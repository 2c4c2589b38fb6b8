#include "app/CSettingDlg.h"
#include "pages/CParkingDlg.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"
#include "tests/support/WheelEvent.h"
#include "ui/CMsgPopupDlg.h"
#include "ui/CSubSlider.h"

#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

qint32 IntAt(const QByteArray& bytes, const FieldSpec& field)
{
    return qFromLittleEndian<qint32>(bytes.constData() + field.offset);
}

void SetIntAt(QByteArray& bytes, const FieldSpec& field, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + field.offset);
}

// Save recomputes the aggregate flag from its inputs; every other byte is the page's business.
QByteArray WithoutDerivedFlag(QByteArray bytes)
{
    if (bytes.size() >= Field::aggregate_flag.offset + 4)
        SetIntAt(bytes, Field::aggregate_flag, 0);
    return bytes;
}

} // namespace

// The record page inside the main window on a copy of the demo card: a user scrolls, drags a
// slider, switches parking mode off, answers the question and saves; the bytes on the card
// show exactly those changes.
class RecordPageSaveTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SkinFont::EnsureRegistered(); }
    void init();
    void cleanup();

    void userEditsLandOnTheCard();
    void outOfTableValuesSurviveSave();

private:
    QString CardFile(const QString& name) const { return m_card->filePath(name); }
    QByteArray Read(const QString& name) const
    {
        QFile file(CardFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(CardFile(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    CParkingDlg* OpenRecordPage()
    {
        m_window = std::make_unique<CSettingDlg>();
        if (!m_window->RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s))
            return nullptr;
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        ClickControl(m_window->Control(CSettingDlg::IdTabRecord));
        auto* page = static_cast<CParkingDlg*>(m_window->RecordPage());
        // The tab posts its command to the window.
        return page && QTest::qWaitFor([page] { return page->isVisible(); }) ? page : nullptr;
    }
    static void ClickControl(QWidget* control, QPoint at = QPoint())
    {
        const QPoint point = at.isNull() ? control->rect().center() : at;
        QTest::mouseMove(control, point);
        QTest::mouseClick(control, Qt::LeftButton, {}, point);
    }
    void Save()
    {
        ClickControl(m_window->Control(CSettingDlg::IdSave));
        QTRY_VERIFY(!m_window->isVisible());
    }

    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<QTemporaryDir> m_card;
    std::unique_ptr<CSettingDlg> m_window;
};

void RecordPageSaveTest::init()
{
    m_state.emplace();
    PopupRecorder::Instance().SetRecording(true);
    m_card = std::make_unique<QTemporaryDir>();
    QVERIFY(m_card->isValid());
    QVERIFY(CopyDemoCard(m_card->path()));
    InstallFakePlatform();
    CardRoot::Instance().Set(m_card->path() + u'/');
}

void RecordPageSaveTest::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void RecordPageSaveTest::userEditsLandOnTheCard()
{
    const QByteArray original = Read(u"setup.cfg"_s);
    QCOMPARE(IntAt(original, Field::parking_mode), 1);
    QCOMPARE(IntAt(original, Field::cutoff_voltage_12v), 3);
    CParkingDlg* page = OpenRecordPage();
    QVERIFY(page);

    // Six wheel notches over a heading bring the battery sliders into view.
    QWidget* heading = page->Control(CParkingDlg::IdParkingHeading);
    for (int i = 0; i < 6; ++i)
        SendWheel(heading, QPoint(5, 5), -120);
    QCOMPARE(page->ScrollPos(), 480);
    CSubSlider* volts = page->Slider(CParkingDlg::IdCutoff12V);
    QCOMPARE(volts->y(), 828 - 480);
    QVERIFY(page->Content()->rect().contains(volts->geometry()));

    // Drag the thumb from "11.9V" to the seventh tick ("12.2V").
    const QList<int> ticks = volts->TickPositions();
    const int y = CSubSlider::ThumbTop + CSubSlider::ThumbHeight / 2;
    QCOMPARE(volts->ThumbCentreX(), ticks[3]);
    QTest::mousePress(volts, Qt::LeftButton, {}, QPoint(ticks[3], y));
    QTest::mouseMove(volts, QPoint(ticks[5], y));
    QTest::mouseMove(volts, QPoint(ticks[6], y));
    QTest::mouseRelease(volts, Qt::LeftButton, {}, QPoint(ticks[6], y));
    QCOMPARE(volts->value(), 6);

    // Escape and Return on the page leave the window open.
    volts->setFocus();
    QTest::keyClick(volts, Qt::Key_Escape);
    QTest::keyClick(volts, Qt::Key_Return);
    QVERIFY(m_window->isVisible());

    // Back to the top and parking mode off; the question is answered with the Y key.
    for (int i = 0; i < 7; ++i)
        SendWheel(heading, QPoint(5, 5), 120);
    QCOMPARE(page->ScrollPos(), 0);
    bool answered = false;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* popup = qobject_cast<CMsgPopupDlg*>(QApplication::activeModalWidget());
        if (!popup || !popup->isVisible())
            return;
        QCOMPARE(popup->windowTitle(), u"Parking Mode Settings"_s);
        QTest::keyClick(popup, Qt::Key_Y);
        answered = true;
        answer.stop();
    });
    answer.start();
    QAbstractButton* off = page->Button(CParkingDlg::IdParkingOff);
    ClickControl(off, QPoint(6, off->height() / 2));
    QVERIFY(answered);
    QVERIFY(off->isChecked());
    QVERIFY(!page->IsEnabled(CParkingDlg::IdCutoff12V));

    Save();
    QByteArray expected = original;
    SetIntAt(expected, Field::cutoff_voltage_12v, 6);
    SetIntAt(expected, Field::parking_mode, 0);
    const QByteArray saved = Read(u"setup.cfg"_s);
    QCOMPARE(saved.size(), original.size());
    QCOMPARE(WithoutDerivedFlag(saved), WithoutDerivedFlag(expected));
}

void RecordPageSaveTest::outOfTableValuesSurviveSave()
{
    QByteArray odd = Read(u"setup.cfg"_s);
    SetIntAt(odd, Field::parking_mode, 3);
    SetIntAt(odd, Field::motion_sensitivity, 2);
    SetIntAt(odd, Field::parking_record_hours, 0);
    SetIntAt(odd, Field::cutoff_voltage_12v, 9);
    SetIntAt(odd, Field::cutoff_voltage_24v, -1);
    SetIntAt(odd, Field::continuous_impact_sensitivity, 9);
    SetIntAt(odd, Field::parking_impact_sensitivity, 9);
    SetIntAt(odd, Field::video_brightness, 7);
    QVERIFY(Write(u"setup.cfg"_s, odd));
    CParkingDlg* page = OpenRecordPage();
    QVERIFY(page);
    QVERIFY(page->IsChecked(CParkingDlg::IdParkingOff));
    QCOMPARE(page->Slider(CParkingDlg::IdRecordHours)->value(), 0);
    Save();
    QCOMPARE(WithoutDerivedFlag(Read(u"setup.cfg"_s)), WithoutDerivedFlag(odd));
}

QTEST_MAIN(RecordPageSaveTest)
#include "RecordPageSaveTest.moc"
