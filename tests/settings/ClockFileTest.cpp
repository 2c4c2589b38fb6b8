#include "settings/ClockFile.h"

#include "settings/DeviceClock.h"
#include "settings/SystemClock.h"
#include "tests/support/ProcessStateGuard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using Fields = QList<int>; // year, month, day, hour, minute, second

class ClockFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void readsFirstLine_data();
    void readsFirstLine();
    void missingFileClearsFlag();
    void formatsLine_data();
    void formatsLine();
    void writeReplacesFileWhenSet();
    void writeDeletesFileWhenNotSet();
    void writeFailuresReportFalse();
    void offsetIsStandardTime_data();
    void offsetIsStandardTime();
    void offsetFollowsTheClocksNow_data();
    void offsetFollowsTheClocksNow();

private:
    QString Path() const { return m_dir->filePath(u"time.dat"_s); }
    void Write(const QByteArray& bytes)
    {
        QFile file(Path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void ClockFileTest::readsFirstLine_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<Fields>("fields");

    QTest::newRow("camera line") << QByteArray("2020,01,02,03,04,05,+0100") << true
                                 << Fields{2020, 1, 2, 3, 4, 5};
    QTest::newRow("blank after comma") << QByteArray("2020, 1") << true << Fields{2020, 1, 0, 0, 0, 0};
    QTest::newRow("CR LF and a second line") << QByteArray("2021,12,31,23,59,58,+0900\r\n1999,1,1,1,1,1")
                                             << true << Fields{2021, 12, 31, 23, 59, 58};
    QTest::newRow("LF only, trailing blanks")
        << QByteArray("2019 ,7 ,4\t,9,5,0 \n") << true << Fields{2019, 7, 4, 9, 5, 0};
    QTest::newRow("empty first line") << QByteArray("\n2020,1,1,1,1,1") << true << Fields{0, 0, 0, 0, 0, 0};
    QTest::newRow("empty items") << QByteArray("2020,,3,,,") << true << Fields{2020, 0, 3, 0, 0, 0};
    QTest::newRow("signs, junk, overflow") << QByteArray("-1,+7,12abc,99999999999,x5,-70000") << true
                                           << Fields{65535, 7, 12, 65535, 0, 0x10000 - 70000 % 0x10000};
    QTest::newRow("NUL ends the line")
        << QByteArray("2020,05\0,06,07", 14) << true << Fields{2020, 5, 0, 0, 0, 0};
    QTest::newRow("binary junk") << QByteArray("\xff\xfe\x01,\x80\x90", 6) << true
                                 << Fields{0, 0, 0, 0, 0, 0};
    QTest::newRow("megabyte line") << QByteArray("2020,01,02,") + QByteArray(1 << 20, '9') << true
                                   << Fields{2020, 1, 2, 65535, 0, 0};
    QTest::newRow("empty file") << QByteArray() << false << Fields{};
}

void ClockFileTest::readsFirstLine()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QFETCH(Fields, fields);
    Write(content);

    DeviceClock clock;
    clock.is_set = !ok;
    clock.day_of_week = 4;
    clock.milliseconds = 123;
    QCOMPARE(ReadClockFile(clock, Path()), ok);
    QCOMPARE(clock.is_set, ok);
    if (ok) {
        QCOMPARE((Fields{clock.year, clock.month, clock.day, clock.hour, clock.minute, clock.second}),
                 fields);
    }
    // Never part of the file.
    QCOMPARE(clock.day_of_week, quint16(4));
    QCOMPARE(clock.milliseconds, quint16(123));
}

void ClockFileTest::missingFileClearsFlag()
{
    DeviceClock clock;
    clock.is_set = true;
    QVERIFY(!ReadClockFile(clock, Path()));
    QVERIFY(!clock.is_set);
}

void ClockFileTest::formatsLine_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("UTC+9") << 2019 << 540 << QByteArray("2019,07,04,09,05,00,+0900");
    QTest::newRow("UTC-5") << 2019 << -300 << QByteArray("2019,07,04,09,05,00,-0500");
    QTest::newRow("UTC+5:30") << 2019 << 330 << QByteArray("2019,07,04,09,05,00,+0530");
    QTest::newRow("UTC") << 2019 << 0 << QByteArray("2019,07,04,09,05,00,-0000");
    QTest::newRow("UTC-3:30") << 2019 << -210 << QByteArray("2019,07,04,09,05,00,-0330");
    QTest::newRow("year below 1000") << 999 << 60 << QByteArray(" 999,07,04,09,05,00,+0100");
}

void ClockFileTest::formatsLine()
{
    QFETCH(int, year);
    QFETCH(int, offset);
    QFETCH(QByteArray, line);
    DeviceClock clock;
    clock.year = quint16(year);
    clock.month = 7;
    clock.day = 4;
    clock.hour = 9;
    clock.minute = 5;
    clock.second = 0;
    QCOMPARE(FormatClockLine(clock, offset), line);
}

void ClockFileTest::writeReplacesFileWhenSet()
{
    Write(QByteArray(200, 'z')); // an older, longer file must not leave a tail behind
    DeviceClock clock;
    clock.is_set = true;
    clock.year = 2024;
    clock.month = 2;
    clock.day = 29;
    clock.hour = 23;
    clock.minute = 59;
    clock.second = 1;
    QVERIFY(WriteClockFile(clock, Path(), 540));
    QFile file(Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("2024,02,29,23,59,01,+0900"));
}

void ClockFileTest::writeDeletesFileWhenNotSet()
{
    DeviceClock clock;
    Write("2020,01,01,00,00,00,+0000");
    QVERIFY(WriteClockFile(clock, Path(), 0));
    QVERIFY(!QFile::exists(Path()));
    QVERIFY(WriteClockFile(clock, Path(), 0)); // nothing to delete is fine
}

void ClockFileTest::writeFailuresReportFalse()
{
    DeviceClock unset;
    // A time.dat that cannot be deleted (here a non-empty folder of that name).
    QVERIFY(QDir(m_dir->path()).mkpath(u"time.dat/keep"_s));
    QVERIFY(!WriteClockFile(unset, Path(), 0));

    DeviceClock set;
    set.is_set = true;
    QVERIFY(!WriteClockFile(set, m_dir->filePath(u"missing/time.dat"_s), 0));
    if (QFile::exists(u"/dev/full"_s))
        QVERIFY(!WriteClockFile(set, u"/dev/full"_s, 0));
}

void ClockFileTest::offsetIsStandardTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<int>("minutes");
    QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << 540;
    QTest::newRow("New York, DST ignored") << QByteArray("America/New_York") << -300;
    QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << 330;
    QTest::newRow("UTC") << QByteArray("UTC") << 0;
}

void ClockFileTest::offsetIsStandardTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(int, minutes);
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", zone);
    const int offset = StandardTimeOffsetMinutes();
    qputenv("TZ", previous);
    QCOMPARE(offset, minutes);
}

// Zones that moved their standard time: the offset is the one in force at the clock's now.
void ClockFileTest::offsetFollowsTheClocksNow_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("minutes");
    const auto utc = [](int year, int month) {
        return QDateTime(QDate(year, month, 1), QTime(12, 0), Qt::UTC);
    };
    QTest::newRow("Moscow 2012, UTC+4") << QByteArray("Europe/Moscow") << utc(2012, 7) << 240;
    QTest::newRow("Moscow 2020, UTC+3") << QByteArray("Europe/Moscow") << utc(2020, 7) << 180;
    QTest::newRow("Apia before the date line move") << QByteArray("Pacific/Apia") << utc(2011, 6) << -660;
    QTest::newRow("Apia after the date line move") << QByteArray("Pacific/Apia") << utc(2012, 6) << 780;
}

void ClockFileTest::offsetFollowsTheClocksNow()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, now);
    QFETCH(int, minutes);
    const ProcessStateGuard state;
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", zone);
    SystemClock::Instance().SetFixedNow(now);
    const int offset = StandardTimeOffsetMinutes();
    qputenv("TZ", previous);
    QCOMPARE(offset, minutes);
}

QTEST_GUILESS_MAIN(ClockFileTest)
#include "ClockFileTest.moc"
