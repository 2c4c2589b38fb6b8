#include "pages/CardFormatProcedure.h"

#include "device/FormatEnvironment.h"
#include "device/ViewerHandshake.h"
#include "i18n/LanguagePack.h"
#include "platform/PlatformServices.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakeFormatter.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/fakes/RecordingViewerSignals.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 EightGB = 8'000'000'000;
constexpr qint64 SixtyFourGB = 64'000'000'000;

QString FailureText()
{
    return GetText(u"IDS_STRING181") + u"\r\n"_s + GetText(u"IDS_STRING1810") + u"\r\n"_s;
}

} // namespace

// The whole format on a card in a temporary folder, with a formatter that only pretends.
class CardFormatProcedureTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void formatKeepsOnlyTheDeviceFiles_data();
    void formatKeepsOnlyTheDeviceFiles();
    void nothingHappensWithoutACard_data();
    void nothingHappensWithoutACard();
    void staleCopyDoesNotComeBack();
    void cardFollowsTheNewMountPoint();
    void nothingIsWrittenWhereTheCardWasNotMountedAgain();
    void largeCardIsExfatAndTellsTheViewer_data();
    void largeCardIsExfatAndTellsTheViewer();

private:
    std::shared_ptr<FakeFormatter> UseFormatter(FakeFormatter::Script script);
    void UseDrives(bool removable);

    std::unique_ptr<QTemporaryDir> m_base;
    std::optional<ProcessStateGuard> m_state;
    std::shared_ptr<RecordingViewerSignals> m_viewer;
    QString m_card;
    QString m_programFolder;
    QString m_programFile;
    QMap<QString, QByteArray> m_deviceFiles;
};

void CardFormatProcedureTest::initTestCase()
{
    QVERIFY(LoadLanguagePack(u"english"_s));
}

void CardFormatProcedureTest::init()
{
    m_state.emplace();
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid());
    m_card = m_base->path() + u"/card/"_s;
    m_programFolder = m_base->path() + u"/program/"_s;
    m_programFile = m_programFolder + u"dashcam-settings"_s;
    QVERIFY(CopyDemoCard(m_card));
    m_deviceFiles = FolderContent(m_card);
    QVERIFY(QDir().mkpath(m_card + u"DCIM/100"_s));
    QVERIFY(WriteAll(m_card + u"DCIM/100/video.mp4"_s, "a recording"));
    QVERIFY(QDir().mkpath(m_programFolder));
    QVERIFY(WriteAll(m_programFile, "program bytes"));
    m_deviceFiles.insert(u"dashcam-settings"_s, "program bytes");
    CardRoot::Instance().Set(m_card);

    SettingsRecord& record = SettingsRecord::CreateInstance();
    record.SetText(Field::product_name, u"X700"_s);

    m_viewer = std::make_shared<RecordingViewerSignals>();
    PlatformServices::Instance().SetViewer(m_viewer);
    PlatformServices::Instance().SetWindows(std::make_shared<FakeWindowFinder>());
    UseDrives(true);

    FormatEnvironment& environment = FormatEnvironment::Instance();
    environment.programFile = m_programFile;
    environment.finalPause = std::chrono::milliseconds(0);
    environment.capacity = [](const QString&) { return std::optional<qint64>(EightGB); };
    PopupRecorder::Instance().SetRecording(true);
}

void CardFormatProcedureTest::cleanup()
{
    m_state.reset();
    m_base.reset();
}

std::shared_ptr<FakeFormatter> CardFormatProcedureTest::UseFormatter(FakeFormatter::Script script)
{
    auto formatter = std::make_shared<FakeFormatter>(std::move(script));
    PlatformServices::Instance().SetFormatter(formatter);
    return formatter;
}

void CardFormatProcedureTest::UseDrives(bool removable)
{
    PlatformServices::Instance().SetDrives(
        std::make_shared<FakeDriveInfo>(QStringList{m_card, m_programFolder}, removable));
}

void CardFormatProcedureTest::formatKeepsOnlyTheDeviceFiles_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("done"); // -1: no Done report
    QTest::addColumn<bool>("wiped");
    QTest::addColumn<QStringList>("messageKeys"); // "failure" stands for the two-part failure text
    using Kind = FormatOutcome::Kind;
    QTest::newRow("success") << int(Kind::Ran) << 1 << true << QStringList{u"IDS_STRING179"_s};
    QTest::newRow("failure after wiping") << int(Kind::Ran) << 0 << true << QStringList{u"failure"_s};
    QTest::newRow("no completion report") << int(Kind::Ran) << -1 << true << QStringList{u"failure"_s};
    QTest::newRow("formatter not available")
        << int(Kind::NotAvailable) << -1 << false << QStringList{u"IDS_STRING3332"_s, u"failure"_s};
    QTest::newRow("card refused by the formatter")
        << int(Kind::Refused) << -1 << false << QStringList{u"IDS_STRING3330"_s};
}

void CardFormatProcedureTest::formatKeepsOnlyTheDeviceFiles()
{
    QFETCH(int, kind);
    QFETCH(int, done);
    QFETCH(bool, wiped);
    QFETCH(QStringList, messageKeys);

    FakeFormatter::Script script;
    script.kind = FormatOutcome::Kind(kind);
    script.done = done < 0 ? std::nullopt : std::optional<bool>(done == 1);
    const auto formatter = UseFormatter(script);
    // The worker is done long before the window shows; the run must still end.
    QElapsedTimer elapsed;
    elapsed.start();
    CardFormatProcedure::RunCardFormat(nullptr);
    QVERIFY(elapsed.elapsed() < 10000);

    QCOMPARE(formatter->Requests().size(), 1);
    const FormatRequest request = formatter->Requests().constFirst();
    QCOMPARE(request.cardRoot, m_card);
    QCOMPARE(request.fileSystem, u"FAT32"_s);
    QCOMPARE(request.clusterSize, 32768u);
    QCOMPARE(request.label, u"X700"_s);

    QMap<QString, QByteArray> expected = m_deviceFiles;
    if (!wiped)
        expected.insert(u"DCIM/100/video.mp4"_s, "a recording");
    QCOMPARE(FolderContent(m_card), expected);

    QStringList expectedTexts;
    for (const QString& key : std::as_const(messageKeys))
        expectedTexts.append(key == "failure"_L1 ? FailureText() : GetText(key));
    const QList<PopupRecorder::Popup> shown = PopupRecorder::Instance().Take();
    QCOMPARE(PopupRecorder::Texts(shown), expectedTexts);
    QCOMPARE(PopupRecorder::Captions(shown), QStringList(expectedTexts.size(), u"Formatting Memory Card"_s));
    QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
            std::none_of(QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
                         [](QWidget* widget) { return widget->isVisible(); }));
}

void CardFormatProcedureTest::nothingHappensWithoutACard_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("messageKey"); // empty: no message
    QTest::newRow("no card root") << u"empty root"_s << QString();
    QTest::newRow("not a removable drive") << u"fixed drive"_s << u"IDS_STRING3330"_s;
    QTest::newRow("program folder cannot take the copies") << u"no program folder"_s << u"IDS_STRING3331"_s;
    QTest::newRow("program folder on the card itself") << u"program on card"_s << u"IDS_STRING3331"_s;
}

void CardFormatProcedureTest::nothingHappensWithoutACard()
{
    QFETCH(QString, situation);
    QFETCH(QString, messageKey);

    const auto formatter = UseFormatter({});
    if (situation == "empty root"_L1) {
        CardRoot::Instance().Set(QString());
    } else if (situation == "fixed drive"_L1) {
        UseDrives(false);
    } else if (situation == "no program folder"_L1) {
        FormatEnvironment::Instance().programFile = m_base->path() + u"/gone/dashcam-settings"_s;
    } else {
        QVERIFY(QFile::copy(m_programFile, m_card + u"dashcam-settings"_s));
        FormatEnvironment::Instance().programFile = m_card + u"dashcam-settings"_s;
    }
    const QMap<QString, QByteArray> card = FolderContent(m_card);
    CardFormatProcedure::RunCardFormat(nullptr);

    QVERIFY(formatter->Requests().isEmpty());
    QCOMPARE(FolderContent(m_card), card);
    QCOMPARE(PopupRecorder::Texts(PopupRecorder::Instance().Take()),
             messageKey.isEmpty() ? QStringList() : QStringList{GetText(messageKey)});
}

void CardFormatProcedureTest::staleCopyDoesNotComeBack()
{
    QVERIFY(QFile::remove(m_card + u"default.cfg"_s));
    QVERIFY(WriteAll(m_programFolder + u"default.cfg"_s, "a factory block from an earlier card"));
    UseFormatter({});
    CardFormatProcedure::RunCardFormat(nullptr);

    QMap<QString, QByteArray> expected = m_deviceFiles;
    expected.remove(u"default.cfg"_s);
    QCOMPARE(FolderContent(m_card), expected);
    QCOMPARE(PopupRecorder::Texts(PopupRecorder::Instance().Take()), QStringList{GetText(u"IDS_STRING179")});
}

void CardFormatProcedureTest::cardFollowsTheNewMountPoint()
{
    const QString moved = m_base->path() + u"/X700/"_s;
    PlatformServices::Instance().SetDrives(
        std::make_shared<FakeDriveInfo>(QStringList{m_card, m_programFolder, moved}, true));
    FakeFormatter::Script script;
    script.mountAfter = moved;
    UseFormatter(script);
    CardFormatProcedure::RunCardFormat(nullptr);

    QCOMPARE(CardRoot::Instance().Folder(), moved);
    QVERIFY(!QFileInfo::exists(m_card));
    QCOMPARE(FolderContent(moved), m_deviceFiles);
    QCOMPARE(PopupRecorder::Texts(PopupRecorder::Instance().Take()), QStringList{GetText(u"IDS_STRING179")});
}

void CardFormatProcedureTest::nothingIsWrittenWhereTheCardWasNotMountedAgain()
{
    FakeFormatter::Script script;
    script.mountAgain = false;
    script.done = false;
    UseFormatter(script);
    CardFormatProcedure::RunCardFormat(nullptr);

    // The card folder was the mount point: nothing may recreate it on the PC's disk.
    QVERIFY(!QFileInfo::exists(m_card));
    QCOMPARE(PopupRecorder::Texts(PopupRecorder::Instance().Take()),
             (QStringList{GetText(u"IDS_STRING3333") + u"\r\n"_s + m_programFolder, FailureText()}));
    // The copies wait in the program's folder.
    QCOMPARE(ReadAll(m_programFolder + u"setup.cfg"_s), m_deviceFiles.value(u"setup.cfg"_s));
}

void CardFormatProcedureTest::largeCardIsExfatAndTellsTheViewer_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<bool>("notified");
    const QStringList quelvix{u"Quelvix"_s};
    const QStringList viewerOnly{u"ORBELMARK DASHCAM PC VIEWER"_s};
    QTest::newRow("64 GB, Quelvix open") << SixtyFourGB << quelvix << u"exfat"_s << true;
    QTest::newRow("64 GB, only the viewer title") << SixtyFourGB << viewerOnly << u"exfat"_s << false;
    QTest::newRow("8 GB, Quelvix open") << EightGB << quelvix << u"FAT32"_s << false;
}

void CardFormatProcedureTest::largeCardIsExfatAndTellsTheViewer()
{
    QFETCH(qint64, capacity);
    QFETCH(QStringList, windows);
    QFETCH(QString, fileSystem);
    QFETCH(bool, notified);

    FormatEnvironment::Instance().capacity = [capacity](const QString&) {
        return std::optional<qint64>(capacity);
    };
    PlatformServices::Instance().SetWindows(std::make_shared<FakeWindowFinder>(windows));
    const auto formatter = UseFormatter({});
    CardFormatProcedure::RunCardFormat(nullptr);

    QCOMPARE(formatter->Requests().constFirst().fileSystem, fileSystem);
    QCOMPARE(formatter->Requests().constFirst().clusterSize, fileSystem == "exfat"_L1 ? 0u : 32768u);
    const QList<RecordingViewerSignals::Post> expected =
        notified ? QList<RecordingViewerSignals::Post>{{1, ViewerHandshake::DeviceChangeMessage}}
                 : QList<RecordingViewerSignals::Post>{};
    QCOMPARE(m_viewer->m_posts, expected);
}

QTEST_MAIN(CardFormatProcedureTest)
#include "CardFormatProcedureTest.moc"
