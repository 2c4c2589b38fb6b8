#include "device/CardFormat.h"

#include "device/CardFormatWorker.h"
#include "settings/SettingsRecord.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakeFormatter.h"
#include "tests/fakes/RecordingProgress.h"
#include "tests/support/DemoCard.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MiB = 1024 * 1024;

} // namespace

// The choices the format makes, the worker's progress and the copies that carry the camera's
// files across the format.
class CardFormatTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileSystemFollowsCapacity_data();
    void fileSystemFollowsCapacity();
    void labelComesFromTheProductName_data();
    void labelComesFromTheProductName();
    void workerProgressAndEnd_data();
    void workerProgressAndEnd();
    void backupAndRestoreKeepTheDeviceFiles();
    void restoreSkipsCopiesFromAnEarlierFormat();
    void backupFailsWhenACopyCannotBeMade();
};

void CardFormatTest::fileSystemFollowsCapacity_data()
{
    QTest::addColumn<bool>("removable");
    QTest::addColumn<qint64>("capacity"); // negative: the query fails
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<quint32>("clusterSize");
    QTest::newRow("64 GB card") << true << qint64(64'000'000'000) << u"exfat"_s << 0u;
    QTest::newRow("32 GB card") << true << qint64(32'000'000'000) << u"FAT32"_s << 32768u;
    QTest::newRow("8 GB card") << true << qint64(8'000'000'000) << u"FAT32"_s << 32768u;
    QTest::newRow("exactly 60000 MiB") << true << 60000 * MiB << u"FAT32"_s << 32768u;
    QTest::newRow("60000 MiB and a byte short of one more")
        << true << 60001 * MiB - 1 << u"FAT32"_s << 32768u;
    QTest::newRow("60001 MiB") << true << 60001 * MiB << u"exfat"_s << 0u;
    QTest::newRow("large but not removable") << false << qint64(64'000'000'000) << u"FAT32"_s << 32768u;
    QTest::newRow("capacity unknown") << true << qint64(-1) << u"FAT32"_s << 32768u;
}

void CardFormatTest::fileSystemFollowsCapacity()
{
    QFETCH(bool, removable);
    QFETCH(qint64, capacity);
    QFETCH(QString, fileSystem);
    QFETCH(quint32, clusterSize);

    const FakeDriveInfo drives(QStringList{u"/card/"_s}, removable);
    QString askedFor;
    const CardFormat::CapacityQuery query = [&](const QString& folder) -> std::optional<qint64> {
        askedFor = folder;
        return capacity < 0 ? std::nullopt : std::optional<qint64>(capacity);
    };
    const bool large = CardFormat::IsLargeCard(drives, u"/card/"_s, query);
    if (removable)
        QCOMPARE(askedFor, u"/card/"_s);
    const FormatRequest request = CardFormat::Request(u"/card/"_s, large, u"K410"_s);
    QCOMPARE(request.fileSystem, fileSystem);
    QCOMPARE(request.clusterSize, clusterSize);
    QCOMPARE(request.cardRoot, u"/card/"_s);
    QVERIFY(request.quickFormat);
    QVERIFY(request.removableMedia);
    QVERIFY(!CardFormat::IsLargeCard(drives, QString(), query));
}

void CardFormatTest::labelComesFromTheProductName_data()
{
    QTest::addColumn<QByteArray>("productName");
    QTest::addColumn<QString>("label");
    QTest::newRow("empty: the model's name") << QByteArray() << u"K410"_s;
    QTest::newRow("first byte zero, more after it") << QByteArray("\0X700", 5) << u"K410"_s;
    QTest::newRow("own name") << QByteArray("X700") << u"X700"_s;
    QTest::newRow("up to the first zero byte") << QByteArray("AB\0CD", 5) << u"AB"_s;
    QTest::newRow("all sixteen bytes") << QByteArray("0123456789ABCDEF") << u"0123456789ABCDEF"_s;
    QTest::newRow("code page text") << QByteArray("Cam\xE9ra") << u"Cam\u00E9ra"_s;
}

void CardFormatTest::labelComesFromTheProductName()
{
    QFETCH(QByteArray, productName);
    QFETCH(QString, label);
    SettingsRecord record;
    record.SetBytes(Field::product_name, productName);
    QCOMPARE(CardFormat::VolumeLabel(record), label);
}

void CardFormatTest::workerProgressAndEnd_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("structures");
    QTest::addColumn<int>("done"); // -1: no Done report
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<bool>("succeeded");
    using Kind = FormatOutcome::Kind;
    QTest::newRow("success") << int(Kind::Ran) << 3 << 1 << QList<int>{20, 40, 60, 100} << true;
    QTest::newRow("failure") << int(Kind::Ran) << 3 << 0 << QList<int>{20, 40, 60, 0} << false;
    QTest::newRow("no completion report") << int(Kind::Ran) << 2 << -1 << QList<int>{20, 40, 0} << false;
    QTest::newRow("more structures than the bar holds")
        << int(Kind::Ran) << 6 << 1 << QList<int>{20, 40, 60, 80, 100, 100, 100} << true;
    QTest::newRow("formatter not available") << int(Kind::NotAvailable) << 0 << -1 << QList<int>{0} << false;
    QTest::newRow("card refused") << int(Kind::Refused) << 0 << -1 << QList<int>{0} << false;
}

void CardFormatTest::workerProgressAndEnd()
{
    QFETCH(int, kind);
    QFETCH(int, structures);
    QFETCH(int, done);
    QFETCH(QList<int>, positions);
    QFETCH(bool, succeeded);

    FakeFormatter::Script script;
    script.kind = FormatOutcome::Kind(kind);
    script.structures = structures;
    script.done = done < 0 ? std::nullopt : std::optional<bool>(done == 1);
    script.wipe = false;
    auto formatter = std::make_shared<FakeFormatter>(script);
    RecordingProgress progress;
    const FormatRequest request = CardFormat::Request(u"/card/"_s, false, u"K410"_s);

    QElapsedTimer elapsed;
    elapsed.start();
    CardFormatWorker worker(formatter, request, progress, std::chrono::milliseconds(200));
    worker.Start();
    worker.Wait();
    QVERIFY(elapsed.elapsed() >= 200); // the last position stays visible for the pause
    QCOMPARE(progress.History(), positions);
    QCOMPARE(progress.CloseRequests(), 1);
    QCOMPARE(worker.Succeeded(), succeeded);
    QCOMPARE(int(worker.Outcome().kind), kind);
    QCOMPARE(formatter->Requests().size(), 1);
    QCOMPARE(formatter->Requests().constFirst().fileSystem, u"FAT32"_s);

    // No formatter at all ends the same way as one that is not available.
    RecordingProgress withoutFormatter;
    CardFormatWorker none(nullptr, request, withoutFormatter, std::chrono::milliseconds(0));
    none.Start();
    none.Wait();
    QCOMPARE(withoutFormatter.History(), QList<int>{0});
    QCOMPARE(withoutFormatter.CloseRequests(), 1);
}

void CardFormatTest::backupAndRestoreKeepTheDeviceFiles()
{
    QTemporaryDir base;
    const QString card = base.path() + u"/card/"_s;
    const QString program = base.path() + u"/program/"_s;
    QVERIFY(CopyDemoCard(card));
    QVERIFY(QDir().mkpath(program));
    QVERIFY(WriteAll(program + u"dashcam-settings"_s, "program bytes"));
    const QByteArray setup = ReadAll(card + u"setup.cfg"_s);
    const QByteArray defaults = ReadAll(card + u"default.cfg"_s);
    const QByteArray version = ReadAll(card + u"lang/ver.dat"_s);
    QVERIFY(!setup.isEmpty() && !defaults.isEmpty() && !version.isEmpty());

    const CardFormat::Backup backup = CardFormat::BackUpDeviceFiles(card, program);
    QVERIFY(backup.ok);
    QCOMPARE(backup.copies, (QStringList{u"setup.cfg"_s, u"default.cfg"_s, u"ver.dat"_s}));
    QCOMPARE(ReadAll(program + u"ver.dat"_s), version);

    QVERIFY(QDir(card).removeRecursively()); // the card folder itself goes, as with a sub-folder root
    CardFormat::RestoreDeviceFiles(backup, card, program, program + u"dashcam-settings"_s);
    QCOMPARE(ReadAll(card + u"setup.cfg"_s), setup);
    QCOMPARE(ReadAll(card + u"default.cfg"_s), defaults);
    QCOMPARE(ReadAll(card + u"lang/ver.dat"_s), version);
    QCOMPARE(ReadAll(card + u"dashcam-settings"_s), QByteArray("program bytes"));
    QCOMPARE(QDir(card).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{u"dashcam-settings"_s, u"default.cfg"_s, u"lang"_s, u"setup.cfg"_s}));
    QCOMPARE(QDir(card + u"lang"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"ver.dat"_s});
    // The copies stay in the program's folder.
    QCOMPARE(ReadAll(program + u"setup.cfg"_s), setup);
}

void CardFormatTest::restoreSkipsCopiesFromAnEarlierFormat()
{
    QTemporaryDir base;
    const QString card = base.path() + u"/card/"_s;
    const QString program = base.path() + u"/program/"_s;
    QVERIFY(CopyDemoCard(card));
    QVERIFY(QDir().mkpath(program));
    QVERIFY(QFile::remove(card + u"default.cfg"_s));
    QVERIFY(WriteAll(program + u"default.cfg"_s, "an old card's factory block"));

    const CardFormat::Backup backup = CardFormat::BackUpDeviceFiles(card, program);
    QVERIFY(backup.ok);
    QCOMPARE(backup.copies, (QStringList{u"setup.cfg"_s, u"ver.dat"_s}));
    QVERIFY(QDir(card).removeRecursively());
    CardFormat::RestoreDeviceFiles(backup, card, program, QString());
    QVERIFY(QFile::exists(card + u"setup.cfg"_s));
    QVERIFY(!QFile::exists(card + u"default.cfg"_s));
    QCOMPARE(ReadAll(program + u"default.cfg"_s), QByteArray("an old card's factory block"));
}

void CardFormatTest::backupFailsWhenACopyCannotBeMade()
{
    QTemporaryDir base;
    const QString card = base.path() + u"/card/"_s;
    QVERIFY(CopyDemoCard(card));
    const QString missingProgramFolder = base.path() + u"/no such folder/"_s;
    const CardFormat::Backup backup = CardFormat::BackUpDeviceFiles(card, missingProgramFolder);
    QVERIFY(!backup.ok);
    QCOMPARE(backup.failedFile, card + u"setup.cfg"_s);
    QVERIFY(QFile::exists(card + u"setup.cfg"_s));
}

QTEST_GUILESS_MAIN(CardFormatTest)
#include "CardFormatTest.moc"
