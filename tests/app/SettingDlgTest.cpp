#include "app/CSettingApp.h"
#include "app/CSettingDlg.h"
#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/DeviceClock.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/ProcessStateGuard.h"
#include "ui/CBaseDialog.h"
#include "ui/CRButton.h"
#include "ui/CommandEvent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray Block(int length, quint32 recordSize, int seed)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((i * 13 + seed) & 0xFF);
    qToLittleEndian<quint32>(recordSize, bytes.data());
    // device_language 0, aggregate inputs off, so the derived flag must become 0.
    for (int offset : {Field::device_language.offset, Field::aggregate_input_1.offset,
                       Field::aggregate_input_2.offset, Field::aggregate_input_3.offset})
        qToLittleEndian<qint32>(0, bytes.data() + offset);
    qToLittleEndian<qint32>(1, bytes.data() + Field::aggregate_flag.offset);
    return bytes;
}

QByteArray WithInt(QByteArray bytes, const FieldSpec& field, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + field.offset);
    return bytes;
}

} // namespace

// Drives the main window through its real buttons on a card in a temporary folder and checks
// what lands on the card.
class SettingDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SkinFont::EnsureRegistered(); }
    void init();
    void cleanup();

    void saveWithoutEditsWritesTheBlockBack();
    void closingWritesNothing_data();
    void closingWritesNothing();
    void initializeThenSaveKeepsPrivateFields();
    void missingFactoryFileIsReported();
    void failedSaveKeepsWindowOpen();
    void missingCardFolderIsNeverWrittenBeside();
    void clockFileFailureIsToldAndRetried_data();
    void clockFileFailureIsToldAndRetried();
    void cardWithoutSettingsFileGetsNoEmptyOne();
    void emptySettingsFileStaysAsItWas();
    void tabsSwitchPages_data();
    void tabsSwitchPages();
    void windowFollowsTheFrameLayout();
    void noCardRootShowsNothing();
    void saveBeforeTheHiddenPagesAreBuiltStillDropsTheOldClock();

private:
    QString Card(const QString& name) const { return m_card->path() + u'/' + name; }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(Card(name)).absolutePath());
        QFile file(Card(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray Read(const QString& name) const
    {
        QFile file(Card(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool OpenWindow()
    {
        m_window = std::make_unique<CSettingDlg>();
        if (!m_window->RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s))
            return false;
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return false;
        // The hidden pages finish the start-up right after the first paint.
        return QTest::qWaitFor([this] { return !m_window->HiddenPagesPending(); });
    }
    void Click(int id)
    {
        QWidget* control = m_window->Control(id);
        QVERIFY2(control, qPrintable(QString::number(id)));
        QTest::mouseMove(control);
        QTest::mouseClick(control, Qt::LeftButton);
    }
    bool Closed() const { return !m_window->isVisible(); }
    // Clicks Save and returns the messages it showed (the command arrives queued).
    QStringList SaveAndCollectMessages()
    {
        Click(CSettingDlg::IdSave);
        QStringList shown;
        if (!QTest::qWaitFor([&] {
                return !(shown += PopupRecorder::Texts(PopupRecorder::Instance().Take())).isEmpty() ||
                       Closed();
            }))
            return {};
        return shown;
    }

    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<QTemporaryDir> m_card;
    std::unique_ptr<CSettingDlg> m_window;
    QByteArray m_setup;
    QByteArray m_factory;
};

void SettingDlgTest::init()
{
    m_state.emplace();
    PopupRecorder::Instance().SetRecording(true);
    m_card = std::make_unique<QTemporaryDir>();
    QVERIFY(m_card->isValid());
    InstallFakePlatform();
    CardRoot::Instance().Set(m_card->path() + u'/');
    m_setup = Block(SettingsRecord::Size, SettingsRecord::Size, 5);
    m_factory = Block(SettingsRecord::Size, SettingsRecord::Size, 9);
    Write(u"setup.cfg"_s, m_setup);
    Write(u"default.cfg"_s, m_factory);
    Write(u"time.dat"_s, "2020,01,02,03,04,05,+0100");
    Write(u"lang/ver.dat"_s, " Code: en fr de\r\n");
}

void SettingDlgTest::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void SettingDlgTest::saveWithoutEditsWritesTheBlockBack()
{
    // A longer file from a newer camera keeps its tail; the block is written with the derived
    // flag recomputed and its size capped.
    const QByteArray longer = Block(600, 600, 5);
    Write(u"setup.cfg"_s, longer);
    QVERIFY(OpenWindow());
    QVERIFY(DeviceClock::Instance().is_set == false); // the system page dropped the old clock setting
    Click(CSettingDlg::IdSave);
    QTRY_VERIFY(Closed());

    QByteArray expected = WithInt(longer, Field::aggregate_flag, 0);
    qToLittleEndian<quint32>(564, expected.data());
    QCOMPARE(Read(u"setup.cfg"_s), expected);
    QVERIFY(!QFile::exists(Card(u"time.dat"_s)));
    QCOMPARE(Read(u"default.cfg"_s), m_factory);
    QVERIFY(PopupRecorder::Instance().Take().isEmpty());
    QVERIFY(!SettingsRecord::Instance()); // released on close
}

void SettingDlgTest::closingWritesNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("initializeFirst");
    QTest::newRow("close") << int(CSettingDlg::IdClose) << 0 << false;
    QTest::newRow("cancel") << int(CSettingDlg::IdCancel) << 0 << false;
    QTest::newRow("initialize, then cancel") << int(CSettingDlg::IdCancel) << 0 << true;
    QTest::newRow("Esc") << 0 << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter") << 0 << int(Qt::Key_Return) << false;
}

void SettingDlgTest::closingWritesNothing()
{
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(bool, initializeFirst);
    const auto before = QDir(m_card->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY(OpenWindow());
    if (initializeFirst)
        Click(CSettingDlg::IdInitialize);
    if (button)
        Click(button);
    else
        QTest::keyClick(m_window.get(), Qt::Key(key));
    QTRY_VERIFY(Closed());
    QCOMPARE(Read(u"setup.cfg"_s), m_setup);
    QCOMPARE(Read(u"default.cfg"_s), m_factory);
    QCOMPARE(Read(u"time.dat"_s), QByteArray("2020,01,02,03,04,05,+0100"));
    QCOMPARE(QDir(m_card->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void SettingDlgTest::initializeThenSaveKeepsPrivateFields()
{
    QVERIFY(OpenWindow());
    Click(CSettingDlg::IdInitialize);
    QVERIFY(m_window->isVisible()); // no question, the window stays
    Click(CSettingDlg::IdSave);
    QTRY_VERIFY(Closed());

    QByteArray expected = WithInt(m_factory, Field::aggregate_flag, 0);
    expected.replace(40, 10, m_setup.mid(40, 10));
    expected.replace(224, 4, m_setup.mid(224, 4));
    QCOMPARE(Read(u"setup.cfg"_s), expected);
    QVERIFY(PopupRecorder::Instance().Take().isEmpty());
}

void SettingDlgTest::missingFactoryFileIsReported()
{
    QFile::remove(Card(u"setup.cfg"_s));
    QFile::remove(Card(u"default.cfg"_s));
    const QString message = u"no default.cfg :"_s + Card(u"default.cfg"_s);
    QVERIFY(OpenWindow());
    QStringList shown =
        PopupRecorder::Texts(PopupRecorder::Instance().Take()); // QCOMPARE may evaluate its arguments twice
    QCOMPARE(shown, QStringList{message});
    shown.clear();
    // Zero-filled, but for the time zone: the system page gives an unset zone the PC's.
    QByteArray loaded = SettingsRecord::Instance()->ToByteArray();
    QVERIFY(loaded.at(Field::time_zone_name.offset) != '\0');
    loaded.replace(Field::time_zone_name.offset, Field::time_zone_name.width,
                   QByteArray(Field::time_zone_name.width, '\0'));
    loaded.replace(Field::time_zone_bias.offset, 4, QByteArray(4, '\0'));
    QCOMPARE(loaded, QByteArray(SettingsRecord::Size, '\0'));

    Click(CSettingDlg::IdInitialize); // the command arrives queued
    QTRY_VERIFY((shown += PopupRecorder::Texts(PopupRecorder::Instance().Take())).size() > 0);
    QCOMPARE(shown, QStringList{message});
    QVERIFY(m_window->isVisible());
}

void SettingDlgTest::failedSaveKeepsWindowOpen()
{
    // A setup.cfg that cannot be written: here a folder stands where the file should be.
    QFile::remove(Card(u"setup.cfg"_s));
    QVERIFY(QDir(m_card->path()).mkpath(u"setup.cfg/x"_s));
    QVERIFY(OpenWindow());
    Click(CSettingDlg::IdSave);
    QStringList shown;
    QTRY_VERIFY((shown += PopupRecorder::Texts(PopupRecorder::Instance().Take())).size() > 0);
    QCOMPARE(shown, QStringList{GetText(u"IDS_STRING3300")});
    QVERIFY(!GetText(u"IDS_STRING3300").isEmpty());
    QVERIFY(m_window->isVisible());
    QVERIFY(SettingsRecord::Instance());

    // The user fixes the card and saves again.
    QVERIFY(QDir(Card(u"setup.cfg"_s)).removeRecursively());
    Click(CSettingDlg::IdSave);
    QTRY_VERIFY(Closed());
    // The factory block was loaded over an empty block, whose private fields it kept.
    QByteArray expected = WithInt(m_factory, Field::aggregate_flag, 0);
    expected.replace(40, 10, QByteArray(10, '\0'));
    expected.replace(224, 4, QByteArray(4, '\0'));
    QCOMPARE(Read(u"setup.cfg"_s), expected);
}

void SettingDlgTest::missingCardFolderIsNeverWrittenBeside()
{
    // Started with a card folder that does not exist, given without its separator.
    const QString parent = m_card->path() + u"/media"_s;
    QVERIFY(QDir().mkpath(parent));
    CardRoot::Instance().Set(CSettingApp::CardRootFromArguments({u"prog"_s, parent + u"/DASHCAM"_s}));
    QVERIFY(OpenWindow());
    QStringList shown = PopupRecorder::Texts(PopupRecorder::Instance().Take());
    QCOMPARE(shown, QStringList{u"no default.cfg :"_s + parent + u"/DASHCAM/default.cfg"_s});

    QCOMPARE(SaveAndCollectMessages(), QStringList{GetText(u"IDS_STRING3300")});
    QVERIFY(m_window->isVisible());
    QCOMPARE(QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
}

void SettingDlgTest::clockFileFailureIsToldAndRetried_data()
{
    QTest::addColumn<bool>("clockSet");
    QTest::newRow("time.dat cannot be removed") << false;
    QTest::newRow("time.dat cannot be written") << true;
}

void SettingDlgTest::clockFileFailureIsToldAndRetried()
{
    QFETCH(bool, clockSet);
    // A folder with content where time.dat should be: it can be neither removed nor written.
    QVERIFY(QFile::remove(Card(u"time.dat"_s)));
    QVERIFY(QDir(m_card->path()).mkpath(u"time.dat/x"_s));
    QVERIFY(OpenWindow());
    DeviceClock& clock = DeviceClock::Instance();
    clock.is_set = clockSet;
    clock.year = 2024, clock.month = 2, clock.day = 29, clock.hour = 23, clock.minute = 59, clock.second = 58;

    QCOMPARE(SaveAndCollectMessages(), QStringList{GetText(u"IDS_STRING3301")});
    QVERIFY(GetText(u"IDS_STRING3301") != GetText(u"IDS_STRING3300"));
    QVERIFY(m_window->isVisible());
    const QByteArray saved = WithInt(m_setup, Field::aggregate_flag, 0);
    QCOMPARE(Read(u"setup.cfg"_s), saved); // the settings did reach the card

    // The user removes the cause and saves again: both files are written.
    QVERIFY(QDir(Card(u"time.dat"_s)).removeRecursively());
    Write(u"setup.cfg"_s, QByteArray(SettingsRecord::Size, '\x7f'));
    Click(CSettingDlg::IdSave);
    QTRY_VERIFY(Closed());
    QVERIFY(PopupRecorder::Instance().Take().isEmpty());
    QCOMPARE(Read(u"setup.cfg"_s), saved);
    QCOMPARE(QFileInfo::exists(Card(u"time.dat"_s)), clockSet);
    if (clockSet)
        QVERIFY(Read(u"time.dat"_s).startsWith("2024,02,29,23,59,58,"));
}

void SettingDlgTest::cardWithoutSettingsFileGetsNoEmptyOne()
{
    QVERIFY(QFile::remove(Card(u"setup.cfg"_s)));
    QVERIFY(QFile::remove(Card(u"default.cfg"_s)));
    QVERIFY(OpenWindow());
    PopupRecorder::Instance().Take(); // "no default.cfg :"

    QCOMPARE(SaveAndCollectMessages(), QStringList{GetText(u"IDS_STRING3302")});
    QVERIFY(!GetText(u"IDS_STRING3302").isEmpty());
    QVERIFY(m_window->isVisible());
    QVERIFY(!QFileInfo::exists(Card(u"setup.cfg"_s)));
    QCOMPARE(Read(u"time.dat"_s), QByteArray("2020,01,02,03,04,05,+0100")); // nothing written at all
}

void SettingDlgTest::emptySettingsFileStaysAsItWas()
{
    // An empty setup.cfg the camera left is a settings file: Save writes its 0 bytes and closes.
    Write(u"setup.cfg"_s, QByteArray());
    QVERIFY(OpenWindow());
    Click(CSettingDlg::IdSave);
    QTRY_VERIFY(Closed());
    QVERIFY(PopupRecorder::Instance().Take().isEmpty());
    QVERIFY(QFileInfo(Card(u"setup.cfg"_s)).isFile());
    QCOMPARE(Read(u"setup.cfg"_s), QByteArray());
}

void SettingDlgTest::tabsSwitchPages_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("selected");
    QTest::newRow("start") << QList<int>{} << int(CSettingDlg::IdTabMemoryCard);
    QTest::newRow("record") << QList<int>{CSettingDlg::IdTabRecord} << int(CSettingDlg::IdTabRecord);
    QTest::newRow("system") << QList<int>{CSettingDlg::IdTabSystem} << int(CSettingDlg::IdTabSystem);
    QTest::newRow("record, then memory card")
        << QList<int>{CSettingDlg::IdTabRecord, CSettingDlg::IdTabMemoryCard}
        << int(CSettingDlg::IdTabMemoryCard);
    QTest::newRow("selected tab again")
        << QList<int>{CSettingDlg::IdTabSystem, CSettingDlg::IdTabSystem} << int(CSettingDlg::IdTabSystem);
}

void SettingDlgTest::tabsSwitchPages()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, selected);
    QVERIFY(OpenWindow());
    for (int id : clicks) {
        Click(id);
        QTest::mouseMove(m_window.get(), QPoint(600, 300)); // leave the tab
    }
    const QHash<int, CBaseDialog*> pages{{CSettingDlg::IdTabRecord, m_window->RecordPage()},
                                         {CSettingDlg::IdTabMemoryCard, m_window->MemoryCardPage()},
                                         {CSettingDlg::IdTabSystem, m_window->SystemPage()}};
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        auto* tab = static_cast<CRButton*>(m_window->Control(it.key()));
        const bool chosen = it.key() == selected;
        QTRY_COMPARE(it.value()->isVisible(), chosen);
        QCOMPARE(tab->IsSelected(), chosen);
        QCOMPARE(tab->CurrentState() == CRButton::State::Selected, chosen);
    }
    QVERIFY(m_window->isVisible());
}

void SettingDlgTest::windowFollowsTheFrameLayout()
{
    QVERIFY(OpenWindow());
    QCOMPARE(m_window->size(), QSize(722, 587));
    QCOMPARE(m_window->pos(), QPoint(0, 0));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(m_window->windowTitle(), u"Dash Cam Settings"_s);
    QVERIFY(!m_window->windowIcon().pixmap(32).isNull());
    for (CBaseDialog* page : {m_window->RecordPage(), m_window->MemoryCardPage(), m_window->SystemPage()}) {
        QCOMPARE(page->geometry(), QRect(11, 85, 700, 437));
    }
    QCOMPARE(m_window->Control(CSettingDlg::IdSave)->geometry(), QRect(614, 546, 100, 29));
    QCOMPARE(m_window->Control(CSettingDlg::IdTitle)->geometry(), QRect(11, 7, 400, 20));

    // The page area is white over the skin background, and nothing is painted before ready.
    const QImage shot = m_window->grab().toImage();
    QVERIFY(shot.pixelColor(5, 300).lightness() < 100);         // the dark skin frame
    QCOMPARE(shot.pixelColor(660, 300), QColor(254, 254, 254)); // the memory card page, right of its chart
    CSettingDlg notReady;
    notReady.setFixedSize(722, 587);
    const QImage blank = notReady.grab().toImage();
    QVERIFY(blank.pixelColor(5, 300) != shot.pixelColor(5, 300));
}

void SettingDlgTest::noCardRootShowsNothing()
{
    CardRoot::Instance().Set(QString());
    CSettingDlg window;
    QVERIFY(!window.RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
    QVERIFY(!window.isVisible());
    QVERIFY(PopupRecorder::Instance().Take().isEmpty());
}

void SettingDlgTest::saveBeforeTheHiddenPagesAreBuiltStillDropsTheOldClock()
{
    // Never painted, so the record and system pages are still to be built when Save arrives.
    m_window = std::make_unique<CSettingDlg>();
    QVERIFY(m_window->RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
    QVERIFY(m_window->HiddenPagesPending());
    QVERIFY(DeviceClock::Instance().is_set); // from the card's time.dat
    QCoreApplication::postEvent(m_window.get(), new CommandEvent(CSettingDlg::IdSave));
    QTRY_VERIFY(!m_window->isVisible() && !SettingsRecord::Instance());
    // The system page's loading dropped the card's old clock setting before the save.
    QVERIFY(!QFileInfo::exists(Card(u"time.dat"_s)));
    QVERIFY(QFileInfo::exists(Card(u"setup.cfg"_s)));
}

QTEST_MAIN(SettingDlgTest)
#include "SettingDlgTest.moc"
