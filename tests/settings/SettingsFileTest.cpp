#include "settings/SettingsFile.h"

#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"
#include "tests/support/DebugLineRecorder.h"
#include "tests/support/ProcessStateGuard.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Loading = u"\n\nBlackBox Setting loading...\n"_s;
const QString Higher = u"Warning config version seems to be higher than 1.2 or invalid !\n"_s;
const QString Differs = u"Warning file length differs  from the checksum !\n"_s;
const QString NotFound = u"Warning BlackBox Setting not found !\n"_s;
const QString Saving = u"\n\nBlackBox Setting saving...\n"_s;
const QString FailToSave = u"\n\nBlackBox Setting fail to save\n"_s;

// A recognisable byte pattern with the given record_size in its first dword.
QByteArray PatternFile(int length, quint32 recordSize, int seed = 3)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((i * 7 + seed) & 0xFF);
    if (length >= 4)
        qToLittleEndian<quint32>(recordSize, bytes.data());
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_state.emplace();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() { m_state.reset(); }

    void loadAndSaveByFileLength_data();
    void loadAndSaveByFileLength();
    void aggregateFlagIsRecomputedOnSave_data();
    void aggregateFlagIsRecomputedOnSave();
    void saveEmitsTheSummaryLine();
    void fullWidthProductNameIsNotCut();
    void missingFileLeavesRecordUntouched();
    void hugeSparseFileIsNotReadIntoMemory_data();
    void hugeSparseFileIsNotReadIntoMemory();
    void saveFailuresReportFalse_data();
    void saveFailuresReportFalse();
    void factoryLoadKeepsPrivateFields();
    void missingFactoryFileKeepsRecord();
    void sharedRecordIsCreatedByTheLoader();

private:
    QString Path(const QString& name) const { return m_dir->filePath(name); }
    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void SettingsFileTest::loadAndSaveByFileLength_data()
{
    QTest::addColumn<int>("fileLength");
    QTest::addColumn<quint32>("recordSize");
    QTest::addColumn<QStringList>("loadLines");
    QTest::addColumn<int>("writtenLength");
    QTest::addColumn<QStringList>("reloadLines");

    QTest::newRow("empty file") << 0 << 0u << QStringList{Loading} << 0 << QStringList{Loading};
    QTest::newRow("short block") << 300 << 300u << QStringList{Loading} << 300 << QStringList{Loading};
    QTest::newRow("exact block") << 564 << 564u << QStringList{Loading} << 564 << QStringList{Loading};
    QTest::newRow("longer file") << 600 << 600u << QStringList{Loading, Higher} << 564
                                 << QStringList{Loading, Higher, Differs};
    QTest::newRow("size field too large")
        << 564 << 1000u << QStringList{Loading, Differs} << 564 << QStringList{Loading};
    QTest::newRow("file shorter than its size field")
        << 100 << 564u << QStringList{Loading, Differs} << 564 << QStringList{Loading};
}

// Load, then save without edits: the block keeps every byte (the camera's too), the file keeps
// whatever lies beyond the written length, and the warnings follow the file's length.
void SettingsFileTest::loadAndSaveByFileLength()
{
    QFETCH(int, fileLength);
    QFETCH(quint32, recordSize);
    QFETCH(QStringList, loadLines);
    QFETCH(int, writtenLength);
    QFETCH(QStringList, reloadLines);

    const QString file = Path(u"setup.cfg"_s);
    const QByteArray original = PatternFile(fileLength, recordSize);
    WriteFile(file, original);

    SettingsRecord record;
    std::memset(record.Data(), 0x55, SettingsRecord::Size); // the load must clear this
    {
        DebugLineRecorder debug;
        QVERIFY(LoadSettingsFile(record, file));
        QCOMPARE(debug.Lines(), loadLines);
    }
    const QByteArray loaded = record.ToByteArray();
    const int kept = std::min(fileLength, int(SettingsRecord::Size));
    QCOMPARE(loaded.left(kept), original.left(kept));
    QCOMPARE(loaded.mid(kept), QByteArray(SettingsRecord::Size - kept, '\0'));

    QVERIFY(SaveSettingsFile(record, file));
    QCOMPARE(record.UInt32(Field::record_size), quint32(writtenLength));

    QByteArray expected = original;
    if (expected.size() < writtenLength)
        expected.resize(writtenLength, '\0');
    expected.replace(0, writtenLength, record.ToByteArray().left(writtenLength));
    const QByteArray saved = ReadFile(file);
    QCOMPARE(saved.size(), std::max(fileLength, writtenLength));
    QCOMPARE(saved, expected);
    // Only the size field and the derived flag may differ from what was loaded.
    for (int i = 0; i < std::min(kept, writtenLength); ++i) {
        const bool derived =
            i < 4 || (i >= Field::aggregate_flag.offset && i < Field::aggregate_flag.offset + 4);
        if (!derived)
            QCOMPARE(saved[i], original[i]);
    }

    SettingsRecord again;
    DebugLineRecorder debug;
    QVERIFY(LoadSettingsFile(again, file));
    QCOMPARE(debug.Lines(), reloadLines);
}

void SettingsFileTest::aggregateFlagIsRecomputedOnSave_data()
{
    QTest::addColumn<int>("input1");
    QTest::addColumn<int>("input2");
    QTest::addColumn<int>("input3");
    QTest::addColumn<int>("previousFlag");
    QTest::addColumn<int>("expectedFlag");
    QTest::newRow("all off, stale flag") << 0 << 0 << 0 << 1 << 0;
    QTest::newRow("second on") << 0 << 3 << 0 << 0 << 1;
    QTest::newRow("first negative") << -1 << 0 << 0 << 0 << 1;
    QTest::newRow("third on") << 0 << 0 << 7 << 5 << 1;
}

void SettingsFileTest::aggregateFlagIsRecomputedOnSave()
{
    QFETCH(int, input1);
    QFETCH(int, input2);
    QFETCH(int, input3);
    QFETCH(int, previousFlag);
    QFETCH(int, expectedFlag);

    SettingsRecord record;
    record.SetUInt32(Field::record_size, SettingsRecord::Size);
    record.SetInt32(Field::aggregate_input_1, input1);
    record.SetInt32(Field::aggregate_input_2, input2);
    record.SetInt32(Field::aggregate_input_3, input3);
    record.SetInt32(Field::aggregate_flag, previousFlag);
    const QString file = Path(u"flag.cfg"_s);
    QVERIFY(SaveSettingsFile(record, file));
    QCOMPARE(record.Int32(Field::aggregate_flag), expectedFlag);
    QCOMPARE(qFromLittleEndian<qint32>(ReadFile(file).constData() + Field::aggregate_flag.offset),
             expectedFlag);

    // Also when the file cannot be written.
    record.SetInt32(Field::aggregate_flag, previousFlag);
    QVERIFY(!SaveSettingsFile(record, Path(u"missing/setup.cfg"_s)));
    QCOMPARE(record.Int32(Field::aggregate_flag), expectedFlag);
}

void SettingsFileTest::saveEmitsTheSummaryLine()
{
    SettingsRecord record;
    record.SetUInt32(Field::record_size, 2000);
    record.SetUInt32(Field::config_version, 0x00010002);
    record.SetText(Field::product_name, u"K410"_s);
    DebugLineRecorder debug;
    QVERIFY(SaveSettingsFile(record, Path(u"setup.cfg"_s)));
    QCOMPARE(
        debug.Lines(),
        (QStringList{Saving,
                     u"Write Product:[K410]  Config Ver.:[1.2], CheckSum:[564], Written Size [564] \n"_s}));
}

void SettingsFileTest::fullWidthProductNameIsNotCut()
{
    QByteArray bytes = PatternFile(SettingsRecord::Size, SettingsRecord::Size);
    const QByteArray name = "ABCDEFGHIJKLMN\xE9Z"; // 16 bytes, no NUL, one Latin-1 letter
    bytes.replace(Field::product_name.offset, 16, name);
    WriteFile(Path(u"setup.cfg"_s), bytes);

    SettingsRecord record;
    QVERIFY(LoadSettingsFile(record, Path(u"setup.cfg"_s)));
    QCOMPARE(record.Text(Field::product_name), u"ABCDEFGHIJKLMN\u00E9Z"_s);
    QCOMPARE(record.Bytes(Field::product_name), name);
    // The byte right after the field must not leak into the name.
    QCOMPARE(record.Text(Field::product_name).size(), 16);
}

void SettingsFileTest::missingFileLeavesRecordUntouched()
{
    SettingsRecord record;
    std::memset(record.Data(), 0x42, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!LoadSettingsFile(record, Path(u"absent.cfg"_s)));
    QVERIFY(!LoadSettingsFile(record, m_dir->path())); // a folder is not a settings file
    QCOMPARE(debug.Lines(), (QStringList{NotFound, NotFound}));
    QCOMPARE(record.ToByteArray(), QByteArray(SettingsRecord::Size, 0x42));
    QVERIFY(!QFile::exists(Path(u"absent.cfg"_s)));
}

void SettingsFileTest::hugeSparseFileIsNotReadIntoMemory_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QStringList>("lines");
    // Only the low 32 bits of the length count: 4 GiB + 100 reads as a 100-byte file.
    QTest::newRow("3 GiB") << (qint64(3) << 30) << QStringList{Loading, Higher, Differs};
    QTest::newRow("4 GiB + 100") << ((qint64(1) << 32) + 100) << QStringList{Loading, Differs};
}

void SettingsFileTest::hugeSparseFileIsNotReadIntoMemory()
{
    QFETCH(qint64, size);
    QFETCH(QStringList, lines);
    const QString file = Path(u"huge.cfg"_s);
    WriteFile(file, PatternFile(SettingsRecord::Size, 77));
    {
        QFile f(file);
        if (!f.resize(size))
            QSKIP("this filesystem cannot hold a sparse file of that size");
    }
    SettingsRecord record;
    DebugLineRecorder debug;
    QVERIFY(LoadSettingsFile(record, file));
    QCOMPARE(debug.Lines(), lines);
    QCOMPARE(record.UInt32(Field::record_size), 77u);
    QFile::remove(file);
}

void SettingsFileTest::saveFailuresReportFalse_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("folder missing") << u"missing/setup.cfg"_s << QStringList{FailToSave};
    if (QFile::exists(u"/dev/full"_s)) // opens fine, every write fails: a full card
        QTest::newRow("card full") << u"/dev/full"_s << QStringList{Saving, FailToSave};
}

void SettingsFileTest::saveFailuresReportFalse()
{
    QFETCH(QString, target);
    QFETCH(QStringList, lines);
    SettingsRecord record;
    record.SetUInt32(Field::record_size, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!SaveSettingsFile(record, target.startsWith(u'/') ? target : Path(target)));
    QCOMPARE(debug.Lines(), lines);
}

void SettingsFileTest::factoryLoadKeepsPrivateFields()
{
    CardRoot::Instance().Set(m_dir->path() + u'/');
    const QByteArray factory = PatternFile(SettingsRecord::Size, SettingsRecord::Size, 11);
    WriteFile(Path(u"default.cfg"_s), factory);

    SettingsRecord record;
    std::memset(record.Data(), 0x21, SettingsRecord::Size);
    record.SetBytes(Field::device_private_a, "PRIVATE-A!");
    record.SetBytes(Field::device_private_b, "PVTB");

    QVERIFY(LoadFactoryDefaults(record));
    QCOMPARE(record.Bytes(Field::device_private_a), QByteArray("PRIVATE-A!"));
    QCOMPARE(record.Bytes(Field::device_private_b), QByteArray("PVTB"));
    for (int i = 0; i < SettingsRecord::Size; ++i) {
        const bool privateA = i >= 40 && i < 50;
        const bool privateB = i >= 224 && i < 228;
        if (!privateA && !privateB)
            QCOMPARE(record.Data()[i], factory[i]);
    }
}

void SettingsFileTest::missingFactoryFileKeepsRecord()
{
    CardRoot::Instance().Set(m_dir->path() + u'/');
    QCOMPARE(FactoryDefaultsPath(), m_dir->path() + u"/default.cfg"_s);
    SettingsRecord record;
    std::memset(record.Data(), 0x33, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!LoadFactoryDefaults(record));
    QCOMPARE(debug.Lines(), QStringList{NotFound});
    QCOMPARE(record.ToByteArray(), QByteArray(SettingsRecord::Size, 0x33));
}

void SettingsFileTest::sharedRecordIsCreatedByTheLoader()
{
    SettingsRecord::ReleaseInstance();
    WriteFile(Path(u"setup.cfg"_s), PatternFile(SettingsRecord::Size, SettingsRecord::Size));
    QVERIFY(LoadSettingsFile(Path(u"setup.cfg"_s)));
    QVERIFY(SettingsRecord::Instance());
    QCOMPARE(SettingsRecord::Instance()->ToByteArray(),
             PatternFile(SettingsRecord::Size, SettingsRecord::Size));
    SettingsRecord::ReleaseInstance();

    // A file that cannot be opened leaves no block behind.
    QVERIFY(!LoadSettingsFile(Path(u"missing.cfg"_s)));
    QVERIFY(!SettingsRecord::Instance());
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
