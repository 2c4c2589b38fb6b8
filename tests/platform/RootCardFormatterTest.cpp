#include "platform/linux/RootCardFormatter.h"

#include "platform/linux/VolumeLabel.h"
#include "tests/fakes/RecordingCommandRunner.h"
#include "tests/fakes/RecordingReports.h"

#include <QTest>

using namespace Qt::StringLiterals;

class RootCardFormatterTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runsTheStagesInOrder_data();
    void runsTheStagesInOrder();
    void makesLabelsValid_data();
    void makesLabelsValid();
};

void RootCardFormatterTest::runsTheStagesInOrder_data()
{
    QTest::addColumn<bool>("exfat");
    QTest::addColumn<quint32>("sectorSize");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("events");

    const QStringList three{u"progress"_s, u"progress"_s, u"progress"_s, u"done ok"_s};
    QTest::newRow("FAT32, kernel driver")
        << false << 512u << QStringList()
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n CAM /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s}
        << three;
    QTest::newRow("FAT32 on 4096-byte sectors")
        << false << 4096u << QStringList()
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 8 -n CAM /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s}
        << three;
    QTest::newRow("FAT32, no kernel driver: FUSE")
        << false << 512u << QStringList{u"mount"_s}
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n CAM /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s,
                       u"fusefat -o rw+,fsname=/dev/sdb1 /dev/sdb1 /media/u/CARD"_s}
        << three;
    QTest::newRow("exFAT, no kernel driver: FUSE")
        << true << 512u << QStringList{u"mount"_s}
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.exfat -L CAM /dev/sdb1"_s,
                       u"mount -t exfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s,
                       u"mount.exfat-fuse -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s}
        << three;
    // A program holds files on the card: nothing past the unmount may happen.
    QTest::newRow("busy card") << false << 512u << QStringList{u"umount"_s}
                               << QStringList{u"umount /media/u/CARD"_s} << QStringList{u"done failed"_s};
    QTest::newRow("mkfs fails: mounted again, failure reported")
        << false << 512u << QStringList{u"mkfs.fat"_s}
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n CAM /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s}
        << QStringList{u"progress"_s, u"progress"_s, u"progress"_s, u"done failed"_s};
    // Something keeps the device open after the unmount: no mkfs under its feet.
    QTest::newRow("device still held after unmounting")
        << false << 512u << QStringList{u"(held)"_s}
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s}
        << QStringList{u"progress"_s, u"progress"_s, u"progress"_s, u"done failed"_s};
    QTest::newRow("no way to mount again")
        << false << 512u << QStringList{u"mount"_s, u"fusefat"_s}
        << QStringList{u"umount /media/u/CARD"_s, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n CAM /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,umask=0077 /dev/sdb1 /media/u/CARD"_s,
                       u"fusefat -o rw+,fsname=/dev/sdb1 /dev/sdb1 /media/u/CARD"_s}
        << QStringList{u"progress"_s, u"progress"_s, u"done failed"_s};
}

void RootCardFormatterTest::runsTheStagesInOrder()
{
    QFETCH(bool, exfat);
    QFETCH(quint32, sectorSize);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, events);
    const auto runner = std::make_shared<RecordingCommandRunner>();
    for (const QString& program : failing)
        runner->SetExitCode(program, 32);
    runner->SetStillHeld(failing.contains(u"(held)"_s));
    CardVolume volume;
    volume.mountPoint = u"/media/u/CARD"_s;
    volume.devicePath = u"/dev/sdb1"_s;
    volume.deviceName = u"sdb1"_s;
    volume.diskName = u"sdb"_s;
    volume.isPartition = true;
    volume.superOptions = u"rw,uid=1000,gid=1000,umask=0077,codepage=437,iocharset=ascii"_s;
    volume.logicalBlockSize = sectorSize;
    CardFormatJob job{exfat ? CardFormatJob::FileSystem::Exfat : CardFormatJob::FileSystem::Fat32, u"CAM"_s,
                      exfat ? 0u : 32768u};
    RecordingReports reports;

    const QString mountPoint = RootCardFormatter(runner).Format(volume, job, reports);

    QCOMPARE(runner->Calls(), calls);
    QCOMPARE(reports.Events(), events);
    QCOMPARE(mountPoint, u"/media/u/CARD"_s);
}

void RootCardFormatterTest::makesLabelsValid_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("fat");
    QTest::addColumn<QString>("exfat");

    QTest::newRow("plain") << u"K410"_s << u"K410"_s << u"K410"_s;
    QTest::newRow("lower case") << u"my cam"_s << u"MY CAM"_s << u"my cam"_s;
    QTest::newRow("forbidden characters") << u"A*B?C/D.E:F"_s << u"ABCDEF"_s << u"A*B?C/D.E:F"_s;
    QTest::newRow("too long") << u"ABCDEFGHIJKLMNOP"_s << u"ABCDEFGHIJK"_s << u"ABCDEFGHIJK"_s;
    QTest::newRow("not ASCII") << u"Kämerä 3"_s << u"KMER 3"_s << u"Kämerä 3"_s;
    QTest::newRow("empty") << QString() << u"K410"_s << u"K410"_s;
    QTest::newRow("nothing valid for FAT") << u"日本語"_s << u"K410"_s << u"日本語"_s;
    QTest::newRow("blanks only") << u"   "_s << u"K410"_s << u"K410"_s;
    QTest::newRow("control characters") << u"A\tB\nC"_s << u"ABC"_s << u"ABC"_s;
    QTest::newRow("surrogate pair at the limit") << u"ABCDEFGHIJ😀"_s << u"ABCDEFGHIJ"_s << u"ABCDEFGHIJ"_s;
}

void RootCardFormatterTest::makesLabelsValid()
{
    QFETCH(QString, label);
    QFETCH(QString, fat);
    QFETCH(QString, exfat);

    QCOMPARE(VolumeLabel::ForFat(label), fat);
    QCOMPARE(VolumeLabel::ForExfat(label), exfat);
}

QTEST_GUILESS_MAIN(RootCardFormatterTest)
#include "RootCardFormatterTest.moc"
