#include "settings/SettingsFile.h"

#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"
#include "tests/support/DebugLineRecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString Loading = u"\n\nBlackBox Setting loading...\n"_s;
const QString Higher = u"Warning config version seems to be higher than 1.2 or invalid !\n"_s;
const QString Differs = u"Warning file length differs  from the checksum !\n"_s;
const QString NotFound = u"Warning BlackBox Setting not found !\n"_s;
const QString Saving = u"\n\nBlackBox Setting saving...\n"_s;
const QString FailToSave = u"\n\nBlackBox Setting fail to save\n"_s;

// A recognisable byte pattern with the given record_size in its first dword.
QByteArray patternFile(int length, quint32 recordSize, int seed = 3)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((i * 7 + seed) & 0xFF);
    if (length >= 4)
        qToLittleEndian<quint32>(recordSize, bytes.data());
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
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
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

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
    QString path(const QString& name) const { return m_dir->filePath(name); }
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

    const QString file = path(u"setup.cfg"_s);
    const QByteArray original = patternFile(fileLength, recordSize);
    writeFile(file, original);

    SettingsRecord record;
    std::memset(record.data(), 0x55, SettingsRecord::Size); // the load must clear this
    {
        DebugLineRecorder debug;
        QVERIFY(LoadSettingsFile(record, file));
        QCOMPARE(debug.lines(), loadLines);
    }
    const QByteArray loaded = record.toByteArray();
    const int kept = std::min(fileLength, int(SettingsRecord::Size));
    QCOMPARE(loaded.left(kept), original.left(kept));
    QCOMPARE(loaded.mid(kept), QByteArray(SettingsRecord::Size - kept, '\0'));

    QVERIFY(SaveSettingsFile(record, file));
    QCOMPARE(record.uint32(Field::record_size), quint32(writtenLength));

    QByteArray expected = original;
    if (expected.size() < writtenLength)
        expected.resize(writtenLength, '\0');
    expected.replace(0, writtenLength, record.toByteArray().left(writtenLength));
    const QByteArray saved = readFile(file);
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
    QCOMPARE(debug.lines(), reloadLines);
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
    record.setUInt32(Field::record_size, SettingsRecord::Size);
    record.setInt32(Field::aggregate_input_1, input1);
    record.setInt32(Field::aggregate_input_2, input2);
    record.setInt32(Field::aggregate_input_3, input3);
    record.setInt32(Field::aggregate_flag, previousFlag);
    const QString file = path(u"flag.cfg"_s);
    QVERIFY(SaveSettingsFile(record, file));
    QCOMPARE(record.int32(Field::aggregate_flag), expectedFlag);
    QCOMPARE(qFromLittleEndian<qint32>(readFile(file).constData() + Field::aggregate_flag.offset),
             expectedFlag);

    // Also when the file cannot be written.
    record.setInt32(Field::aggregate_flag, previousFlag);
    QVERIFY(!SaveSettingsFile(record, path(u"missing/setup.cfg"_s)));
    QCOMPARE(record.int32(Field::aggregate_flag), expectedFlag);
}

void SettingsFileTest::saveEmitsTheSummaryLine()
{
    SettingsRecord record;
    record.setUInt32(Field::record_size, 2000);
    record.setUInt32(Field::config_version, 0x00010002);
    record.setText(Field::product_name, u"K410"_s);
    DebugLineRecorder debug;
    QVERIFY(SaveSettingsFile(record, path(u"setup.cfg"_s)));
    QCOMPARE(
        debug.lines(),
        (QStringList{Saving,
                     u"Write Product:[K410]  Config Ver.:[1.2], CheckSum:[564], Written Size [564] \n"_s}));
}

void SettingsFileTest::fullWidthProductNameIsNotCut()
{
    QByteArray bytes = patternFile(SettingsRecord::Size, SettingsRecord::Size);
    const QByteArray name = "ABCDEFGHIJKLMN\xE9Z"; // 16 bytes, no NUL, one Latin-1 letter
    bytes.replace(Field::product_name.offset, 16, name);
    writeFile(path(u"setup.cfg"_s), bytes);

    SettingsRecord record;
    QVERIFY(LoadSettingsFile(record, path(u"setup.cfg"_s)));
    QCOMPARE(record.text(Field::product_name), u"ABCDEFGHIJKLMN\u00E9Z"_s);
    QCOMPARE(record.bytes(Field::product_name), name);
    // The byte right after the field must not leak into the name.
    QCOMPARE(record.text(Field::product_name).size(), 16);
}

void SettingsFileTest::missingFileLeavesRecordUntouched()
{
    SettingsRecord record;
    std::memset(record.data(), 0x42, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!LoadSettingsFile(record, path(u"absent.cfg"_s)));
    QVERIFY(!LoadSettingsFile(record, m_dir->path())); // a folder is not a settings file
    QCOMPARE(debug.lines(), (QStringList{NotFound, NotFound}));
    QCOMPARE(record.toByteArray(), QByteArray(SettingsRecord::Size, 0x42));
    QVERIFY(!QFile::exists(path(u"absent.cfg"_s)));
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
    const QString file = path(u"huge.cfg"_s);
    writeFile(file, patternFile(SettingsRecord::Size, 77));
    {
        QFile f(file);
        if (!f.resize(size))
            QSKIP("this filesystem cannot hold a sparse file of that size");
    }
    SettingsRecord record;
    DebugLineRecorder debug;
    QVERIFY(LoadSettingsFile(record, file));
    QCOMPARE(debug.lines(), lines);
    QCOMPARE(record.uint32(Field::record_size), 77u);
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
    record.setUInt32(Field::record_size, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!SaveSettingsFile(record, target.startsWith(u'/') ? target : path(target)));
    QCOMPARE(debug.lines(), lines);
}

void SettingsFileTest::factoryLoadKeepsPrivateFields()
{
    CardRoot::set(m_dir->path() + u'/');
    const QByteArray factory = patternFile(SettingsRecord::Size, SettingsRecord::Size, 11);
    writeFile(path(u"default.cfg"_s), factory);

    SettingsRecord record;
    std::memset(record.data(), 0x21, SettingsRecord::Size);
    record.setBytes(Field::device_private_a, "PRIVATE-A!");
    record.setBytes(Field::device_private_b, "PVTB");

    QVERIFY(LoadFactoryDefaults(record));
    QCOMPARE(record.bytes(Field::device_private_a), QByteArray("PRIVATE-A!"));
    QCOMPARE(record.bytes(Field::device_private_b), QByteArray("PVTB"));
    for (int i = 0; i < SettingsRecord::Size; ++i) {
        const bool privateA = i >= 40 && i < 50;
        const bool privateB = i >= 224 && i < 228;
        if (!privateA && !privateB)
            QCOMPARE(record.data()[i], factory[i]);
    }
}

void SettingsFileTest::missingFactoryFileKeepsRecord()
{
    CardRoot::set(m_dir->path() + u'/');
    QCOMPARE(FactoryDefaultsPath(), m_dir->path() + u"/default.cfg"_s);
    SettingsRecord record;
    std::memset(record.data(), 0x33, SettingsRecord::Size);
    DebugLineRecorder debug;
    QVERIFY(!LoadFactoryDefaults(record));
    QCOMPARE(debug.lines(), QStringList{NotFound});
    QCOMPARE(record.toByteArray(), QByteArray(SettingsRecord::Size, 0x33));
}

void SettingsFileTest::sharedRecordIsCreatedByTheLoader()
{
    SettingsRecord::releaseShared();
    writeFile(path(u"setup.cfg"_s), patternFile(SettingsRecord::Size, SettingsRecord::Size));
    QVERIFY(LoadSettingsFile(path(u"setup.cfg"_s)));
    QVERIFY(SettingsRecord::shared());
    QCOMPARE(SettingsRecord::shared()->toByteArray(),
             patternFile(SettingsRecord::Size, SettingsRecord::Size));
    SettingsRecord::releaseShared();

    // A file that cannot be opened leaves no block behind.
    QVERIFY(!LoadSettingsFile(path(u"missing.cfg"_s)));
    QVERIFY(!SettingsRecord::shared());
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
