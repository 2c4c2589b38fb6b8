#include "platform/linux/LinuxBlockDevices.h"
#include "platform/linux/LinuxVolumeFormatter.h"
#include "platform/linux/RootCardFormatter.h"
#include "tests/fakes/RecordingCommandRunner.h"
#include "tests/fakes/RecordingReports.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// A machine described as the kernel shows it: device folders under devices/, the links of
// dev/block/MAJ:MIN and class/block/NAME, and a mount table.
class FakeMachine final
{
public:
    explicit FakeMachine(const QString& root) : m_root(root) {}

    QString SysfsRoot() const { return m_root + "/sys"_L1; }
    QString MountInfoPath() const { return m_root + "/mountinfo"_L1; }

    // devicePath below devices/, ending with the disk's name.
    void AddDisk(const QString& devicePath, quint32 major, quint32 minor, bool removable = false,
                 const QString& mmcType = {})
    {
        const QString folder = SysfsRoot() + "/devices/"_L1 + devicePath;
        QVERIFY(WriteFile(folder + "/removable"_L1, removable ? "1\n" : "0\n"));
        QVERIFY(WriteFile(folder + "/queue/logical_block_size"_L1, "512\n"));
        QVERIFY(QDir().mkpath(folder + "/holders"_L1));
        QVERIFY(QDir().mkpath(folder + "/slaves"_L1));
        if (!mmcType.isEmpty())
            QVERIFY(
                WriteFile(QFileInfo(QFileInfo(folder).path()).path() + "/type"_L1, mmcType.toUtf8() + '\n'));
        // The kernel links a disk to the device it belongs to (for an MMC card, the card).
        QVERIFY(QFile::link(u"../.."_s, folder + "/device"_L1));
        Link(u"devices/"_s + devicePath, major, minor);
    }

    void AddPartition(const QString& diskPath, const QString& name, quint32 major, quint32 minor)
    {
        const QString relative = u"devices/"_s + diskPath + u'/' + name;
        QVERIFY(WriteFile(SysfsRoot() + u'/' + relative + "/partition"_L1, "1\n"));
        QVERIFY(QDir().mkpath(SysfsRoot() + u'/' + relative + "/holders"_L1));
        QVERIFY(QDir().mkpath(SysfsRoot() + u'/' + relative + "/slaves"_L1));
        Link(relative, major, minor);
    }

    // A mapped device (LVM, LUKS) built on the given partitions.
    void AddMapped(const QString& name, quint32 major, quint32 minor, const QStringList& slaves)
    {
        AddDisk(u"virtual/block/"_s + name, major, minor);
        for (const QString& slave : slaves) {
            QVERIFY(QFile::link(u"../../"_s + slave,
                                SysfsRoot() + "/devices/virtual/block/"_L1 + name + "/slaves/"_L1 + slave));
            QVERIFY(WriteFile(SysfsRoot() + "/class/block/"_L1 + slave + "/holders/"_L1 + name, {}));
        }
    }

    void SetLoopBacking(const QString& loopDisk, const QString& backingFile)
    {
        QVERIFY(WriteFile(SysfsRoot() + "/devices/virtual/block/"_L1 + loopDisk + "/loop/backing_file"_L1,
                          backingFile.toUtf8() + '\n'));
    }

    void Mount(const QString& number, const QString& mountPoint, const QString& fsType, const QString& source,
               const QString& superOptions = u"rw"_s, const QString& root = u"/"_s)
    {
        QString escaped = mountPoint;
        escaped.replace(u' ', "\\040"_L1);
        m_mountInfo += u"%1 1 %2 %3 %4 rw,relatime shared:%1 - %5 %6 %7\n"_s.arg(
            QString::number(m_nextMountId), number, root, escaped, fsType, source, superOptions);
        ++m_nextMountId;
        QVERIFY(WriteFile(MountInfoPath(), m_mountInfo.toUtf8()));
    }

private:
    void Link(const QString& relative, quint32 major, quint32 minor)
    {
        const QString name = QFileInfo(relative).fileName();
        QVERIFY(QDir().mkpath(SysfsRoot() + "/dev/block"_L1));
        QVERIFY(QDir().mkpath(SysfsRoot() + "/class/block"_L1));
        QVERIFY(QFile::link(u"../../"_s + relative, SysfsRoot() + "/dev/block/"_L1 + QString::number(major) +
                                                        u':' + QString::number(minor)));
        QVERIFY(QFile::link(u"../../"_s + relative, SysfsRoot() + "/class/block/"_L1 + name));
        QVERIFY(WriteFile(SysfsRoot() + u'/' + relative + "/dev"_L1,
                          QByteArray::number(major) + ':' + QByteArray::number(minor) + '\n'));
    }

    QString m_root;
    QString m_mountInfo;
    int m_nextMountId = 20;
};

// A backend whose service mounts the new file system under its label, as UDisks2 does.
class MovingBackend final : public CardFormatBackend
{
public:
    MovingBackend() = default;
    QString Format(const CardVolume& volume, const CardFormatJob& job, FormatReports& reports) const override
    {
        seen = volume;
        seenJob = job;
        reports.Done(true);
        return u"/media/fixture-user/"_s + job.label;
    }
    mutable CardVolume seen;
    mutable CardFormatJob seenJob;
};

// Device nodes a fixture cannot create: FUSE mounts name their device by node.
class FakeNodeBlockDevices final : public LinuxBlockDevices
{
public:
    FakeNodeBlockDevices(const QString& sysfsRoot, QHash<QString, std::pair<quint32, quint32>> nodes)
        : LinuxBlockDevices(sysfsRoot), m_nodes(std::move(nodes))
    {}

protected:
    std::optional<std::pair<quint32, quint32>> NodeNumber(const QString& nodePath) const override
    {
        if (!m_nodes.contains(nodePath))
            return std::nullopt;
        return m_nodes.value(nodePath);
    }

private:
    QHash<QString, std::pair<quint32, quint32>> m_nodes;
};

const QString kUsb = u"pci0000:00/0000:00:14.0/usb1/1-%1/1-%1:1.0/host%1/target%1:0:0/%1:0:0:0/block/"_s;
const QString kSata = u"pci0000:00/0000:00:1f.2/ata%1/host%1/target%1:0:0/%1:0:0:0/block/"_s;
const QString kMedia = u"/media/fixture-user/"_s;

} // namespace

class CardSafetyPolicyTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void refusesEverythingButARemovableCard_data();
    void refusesEverythingButARemovableCard();
    void formatsTheCardItFound_data();
    void formatsTheCardItFound();
    void readsTheMountTable();
    void followsTheCardToItsNewMountPoint();

private:
    std::unique_ptr<LinuxVolumeFormatter>
    Formatter(const std::shared_ptr<RecordingCommandRunner>& runner) const;

    QTemporaryDir m_dir;
    QString m_allowedLoopDir;
    std::unique_ptr<FakeMachine> m_machine;
};

void CardSafetyPolicyTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_machine = std::make_unique<FakeMachine>(m_dir.path());
    FakeMachine& m = *m_machine;

    // The system: "/" on a USB stick (a live system: removable, and still not to be touched),
    // /boot on a SATA disk, /home on a mapped partition of the same disk.
    m.AddDisk(kUsb.arg(9) + "sdk"_L1, 8, 160);
    m.AddPartition(kUsb.arg(9) + "sdk"_L1, u"sdk1"_s, 8, 161);
    m.Mount(u"8:161"_s, u"/"_s, u"ext4"_s, u"/dev/sdk1"_s);
    m.AddDisk(kSata.arg(1) + "sda"_L1, 8, 0);
    m.AddPartition(kSata.arg(1) + "sda"_L1, u"sda1"_s, 8, 1);
    m.AddPartition(kSata.arg(1) + "sda"_L1, u"sda2"_s, 8, 2);
    m.AddMapped(u"dm-0"_s, 253, 0, {u"sda2"_s});
    m.Mount(u"8:1"_s, u"/boot"_s, u"ext4"_s, u"/dev/sda1"_s);
    m.Mount(u"253:0"_s, u"/home"_s, u"ext4"_s, u"/dev/mapper/vg-home"_s);
    m.Mount(u"0:25"_s, u"/tmp"_s, u"tmpfs"_s, u"tmpfs"_s);

    // Cards a user may format: a USB card reader (which calls itself fixed), an SD card on an MMC
    // bus, a card without a partition table, a card mounted through FUSE.
    m.AddDisk(kUsb.arg(6) + "sdb"_L1, 8, 16);
    m.AddPartition(kUsb.arg(6) + "sdb"_L1, u"sdb1"_s, 8, 17);
    m.Mount(u"8:17"_s, kMedia + "CARD"_L1, u"vfat"_s, u"/dev/sdb1"_s, u"rw,uid=1000,gid=1000,fmask=0022"_s);
    m.AddDisk(u"platform/soc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1"_s, 179, 8, false, u"SD"_s);
    m.AddPartition(u"platform/soc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1"_s, u"mmcblk1p1"_s, 179, 9);
    m.Mount(u"179:9"_s, kMedia + "SD CARD"_L1, u"exfat"_s, u"/dev/mmcblk1p1"_s);
    m.AddDisk(kUsb.arg(7) + "sdh"_L1, 8, 112);
    m.Mount(u"8:112"_s, kMedia + "WHOLE"_L1, u"vfat"_s, u"/dev/sdh"_s);
    m.AddDisk(kUsb.arg(8) + "sde"_L1, 8, 64);
    m.AddPartition(kUsb.arg(8) + "sde"_L1, u"sde1"_s, 8, 65);
    m.Mount(u"0:50"_s, kMedia + "FUSECARD"_L1, u"fuse"_s, u"/dev/sde1"_s, u"rw,user_id=0,group_id=0"_s);
    m.AddDisk(u"virtual/block/loop0"_s, 7, 0);
    m.AddPartition(u"virtual/block/loop0"_s, u"loop0p1"_s, 259, 0);
    m_allowedLoopDir = m_dir.path() + "/images"_L1;
    QVERIFY(WriteFile(m_allowedLoopDir + "/card.img"_L1, "image"));
    m.SetLoopBacking(u"loop0"_s, m_allowedLoopDir + "/card.img"_L1);
    m.Mount(u"259:0"_s, kMedia + "LOOPCARD"_L1, u"vfat"_s, u"/dev/loop0p1"_s);

    // Everything that must stay as it is.
    m.AddDisk(kSata.arg(2) + "sdc"_L1, 8, 32);
    m.AddPartition(kSata.arg(2) + "sdc"_L1, u"sdc1"_s, 8, 33);
    m.Mount(u"8:33"_s, u"/mnt/data"_s, u"vfat"_s, u"/dev/sdc1"_s);
    m.AddDisk(u"platform/soc/mmc_host/mmc0/mmc0:0001/block/mmcblk0"_s, 179, 0, false, u"MMC"_s);
    m.AddPartition(u"platform/soc/mmc_host/mmc0/mmc0:0001/block/mmcblk0"_s, u"mmcblk0p1"_s, 179, 1);
    m.Mount(u"179:1"_s, kMedia + "EMMC"_L1, u"vfat"_s, u"/dev/mmcblk0p1"_s);
    m.AddDisk(kSata.arg(3) + "sdd"_L1, 8, 48, true);
    m.AddPartition(kSata.arg(3) + "sdd"_L1, u"sdd1"_s, 8, 49);
    m.AddPartition(kSata.arg(3) + "sdd"_L1, u"sdd2"_s, 8, 50);
    m.Mount(u"8:49"_s, kMedia + "STICK"_L1, u"vfat"_s, u"/dev/sdd1"_s);
    m.Mount(u"8:50"_s, kMedia + "STICK2"_L1, u"ext4"_s, u"/dev/sdd2"_s);
    m.AddDisk(u"virtual/block/loop1"_s, 7, 1);
    m.AddPartition(u"virtual/block/loop1"_s, u"loop1p1"_s, 259, 1);
    QVERIFY(WriteFile(m_dir.path() + "/elsewhere/other.img"_L1, "image"));
    m.SetLoopBacking(u"loop1"_s, m_dir.path() + "/elsewhere/other.img"_L1);
    m.Mount(u"259:1"_s, kMedia + "OTHERLOOP"_L1, u"vfat"_s, u"/dev/loop1p1"_s);
    // The running program on a USB stick, the user's home folder on a mapped partition of
    // another: removable, and still not to be touched.
    m.AddDisk(kUsb.arg(10) + "sdg"_L1, 8, 96);
    m.AddPartition(kUsb.arg(10) + "sdg"_L1, u"sdg1"_s, 8, 97);
    m.Mount(u"8:97"_s, kMedia + "PROGRAM"_L1, u"vfat"_s, u"/dev/sdg1"_s);
    m.AddDisk(kUsb.arg(11) + "sdm"_L1, 8, 192);
    m.AddPartition(kUsb.arg(11) + "sdm"_L1, u"sdm1"_s, 8, 193);
    m.AddPartition(kUsb.arg(11) + "sdm"_L1, u"sdm2"_s, 8, 194);
    m.AddMapped(u"dm-1"_s, 253, 1, {u"sdm2"_s});
    m.Mount(u"8:193"_s, kMedia + "HOMESTICK"_L1, u"vfat"_s, u"/dev/sdm1"_s);
    m.Mount(u"253:1"_s, u"/home/fixture-user"_s, u"ext4"_s, u"/dev/mapper/usbhome"_s);
    // A FUSE mount that does not name a device, and a bind mount of a card's subfolder.
    m.AddDisk(kUsb.arg(12) + "sdf"_L1, 8, 80);
    m.Mount(u"0:51"_s, kMedia + "FUSENAMELESS"_L1, u"fuse.fusefat"_s, u"fusefat"_s);
    m.AddDisk(kUsb.arg(13) + "sdn"_L1, 8, 208);
    m.Mount(u"8:208"_s, u"/srv/bound"_s, u"vfat"_s, u"/dev/sdn"_s, u"rw"_s, u"/DCIM"_s);
}

std::unique_ptr<LinuxVolumeFormatter>
CardSafetyPolicyTest::Formatter(const std::shared_ptr<RecordingCommandRunner>& runner) const
{
    LinuxVolumeFormatter::Setup setup;
    setup.devices = std::make_shared<FakeNodeBlockDevices>(
        m_machine->SysfsRoot(), QHash<QString, std::pair<quint32, quint32>>{{u"/dev/sde1"_s, {8, 65}}});
    setup.mountInfoPath = m_machine->MountInfoPath();
    setup.protectedPaths = {u"/"_s, u"/boot"_s, u"/home/fixture-user"_s,
                            kMedia + "PROGRAM/bin/dashcam-settings"_L1};
    setup.allowedLoopBackingDir = m_allowedLoopDir;
    setup.backend = std::make_shared<RootCardFormatter>(runner);
    return std::make_unique<LinuxVolumeFormatter>(std::move(setup));
}

void CardSafetyPolicyTest::refusesEverythingButARemovableCard_data()
{
    QTest::addColumn<QString>("cardRoot");
    QTest::addColumn<QString>("reason");

    QTest::newRow("root disk") << u"/DCIM/"_s << u"sdk holds /"_s;
    QTest::newRow("boot disk") << u"/boot/"_s << u"sda is not a removable memory card"_s;
    QTest::newRow("non-removable data disk") << u"/mnt/data/"_s << u"sdc is not a removable memory card"_s;
    QTest::newRow("soldered eMMC") << kMedia + "EMMC/"_L1 << u"mmcblk0 is not a removable memory card"_s;
    QTest::newRow("disk with another mounted partition")
        << kMedia + "STICK/"_L1 << u"another partition of sdd is mounted at /media/fixture-user/STICK2"_s;
    QTest::newRow("loop device outside the allowed folder")
        << kMedia + "OTHERLOOP/"_L1 << u"loop1p1 is a loop device outside the allowed folder"_s;
    QTest::newRow("disk of the running program")
        << kMedia + "PROGRAM/"_L1 << u"sdg holds "_s + kMedia + "PROGRAM/bin/dashcam-settings"_L1;
    QTest::newRow("disk of the home folder") << kMedia + "HOMESTICK/"_L1 << u"sdm holds /home/fixture-user"_s;
    QTest::newRow("memory file system") << u"/tmp/card/"_s << u"/tmp is not on a block device"_s;
    QTest::newRow("FUSE mount naming no device")
        << kMedia + "FUSENAMELESS/"_L1 << u"/media/fixture-user/FUSENAMELESS is not on a block device"_s;
    QTest::newRow("bind mount of a card folder")
        << u"/srv/bound/"_s << u"/srv/bound shows only a folder of its file system"_s;
}

void CardSafetyPolicyTest::refusesEverythingButARemovableCard()
{
    QFETCH(QString, cardRoot);
    QFETCH(QString, reason);
    const auto runner = std::make_shared<RecordingCommandRunner>();
    RecordingReports reports;
    FormatRequest request{cardRoot, true, u"FAT32"_s, u"K410"_s, true, 32768};

    const FormatOutcome outcome = Formatter(runner)->Format(request, reports);

    QCOMPARE(outcome.kind, FormatOutcome::Kind::Refused);
    QCOMPARE(outcome.reason, reason);
    QCOMPARE(runner->Calls(), QStringList());
    QCOMPARE(reports.Events(), QStringList());
}

void CardSafetyPolicyTest::formatsTheCardItFound_data()
{
    QTest::addColumn<QString>("cardRoot");
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("cardRootAfter");

    const QString card = kMedia + "CARD"_L1;
    QTest::newRow("USB card reader")
        << card + u'/' << u"FAT32"_s
        << QStringList{u"umount "_s + card, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n K410 /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,fmask=0022 /dev/sdb1 "_s + card}
        << card + u'/';
    QTest::newRow("card folder below the mount point")
        << card + "/camera/"_L1 << u"FAT32"_s
        << QStringList{u"umount "_s + card, u"(wait until released) /dev/sdb1"_s,
                       u"mkfs.fat -F 32 -s 64 -n K410 /dev/sdb1"_s,
                       u"mount -t vfat -o uid=1000,gid=1000,fmask=0022 /dev/sdb1 "_s + card}
        << card + "/camera/"_L1;
    const QString sd = kMedia + "SD CARD"_L1;
    QTest::newRow("SD card on an MMC bus")
        << sd + u'/' << u"exfat"_s
        << QStringList{u"umount "_s + sd, u"(wait until released) /dev/mmcblk1p1"_s,
                       u"mkfs.exfat -L K410 /dev/mmcblk1p1"_s, u"mount -t exfat /dev/mmcblk1p1 "_s + sd}
        << sd + u'/';
    const QString whole = kMedia + "WHOLE"_L1;
    QTest::newRow("card without partition table")
        << whole + u'/' << u"FAT32"_s
        << QStringList{u"umount "_s + whole, u"(wait until released) /dev/sdh"_s,
                       u"mkfs.fat -F 32 -s 64 -n K410 -I /dev/sdh"_s, u"mount -t vfat /dev/sdh "_s + whole}
        << whole + u'/';
    const QString fuse = kMedia + "FUSECARD"_L1;
    QTest::newRow("card mounted through FUSE")
        << fuse + u'/' << u"FAT32"_s
        << QStringList{u"umount "_s + fuse, u"(wait until released) /dev/sde1"_s,
                       u"mkfs.fat -F 32 -s 64 -n K410 /dev/sde1"_s,
                       u"mount -t vfat -o uid=0,gid=0 /dev/sde1 "_s + fuse}
        << fuse + u'/';
    const QString loop = kMedia + "LOOPCARD"_L1;
    QTest::newRow("loop device inside the allowed folder")
        << loop + u'/' << u"FAT32"_s
        << QStringList{u"umount "_s + loop, u"(wait until released) /dev/loop0p1"_s,
                       u"mkfs.fat -F 32 -s 64 -n K410 /dev/loop0p1"_s,
                       u"mount -t vfat /dev/loop0p1 "_s + loop}
        << loop + u'/';
}

void CardSafetyPolicyTest::formatsTheCardItFound()
{
    QFETCH(QString, cardRoot);
    QFETCH(QString, fileSystem);
    QFETCH(QStringList, calls);
    QFETCH(QString, cardRootAfter);
    const auto runner = std::make_shared<RecordingCommandRunner>();
    RecordingReports reports;
    FormatRequest request{cardRoot, true, fileSystem, u""_s, true, fileSystem == "FAT32"_L1 ? 32768u : 0u};

    const FormatOutcome outcome = Formatter(runner)->Format(request, reports);

    QCOMPARE(outcome.kind, FormatOutcome::Kind::Ran);
    QCOMPARE(runner->Calls(), calls);
    QCOMPARE(reports.Events(), (QStringList{u"progress"_s, u"progress"_s, u"progress"_s, u"done ok"_s}));
    QCOMPARE(outcome.cardRootAfter, cardRootAfter);
}

void CardSafetyPolicyTest::readsTheMountTable()
{
    const LinuxMountTable table = LinuxMountTable::Parse(
        "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue\n"
        "37 36 8:17 / /media/u/MY\\040CARD rw - vfat /dev/sdb1 rw,uid=1000\n"
        "garbage line\n"
        "38 36 8:33 / /media/u/MY\\040CARD rw shared:4 shared:5 - exfat /dev/sdc1 rw\n"
        "39 1 0:40 / /media/u/MY\\040CARD/inner rw - fuse /dev/sdd1 rw,user_id=0\n");

    QCOMPARE(table.Entries().size(), 4);
    const MountEntry& first = table.Entries().first();
    QCOMPARE(first.root, u"/mnt1"_s);
    QCOMPARE(first.mountPoint, u"/mnt/parent"_s);
    QCOMPARE(first.fsType, u"ext3"_s);
    QCOMPARE(first.source, u"/dev/root"_s);
    QCOMPARE(first.superOptions, u"rw,errors=continue"_s);
    // The later of two mounts on one point hides the earlier; the deepest point wins.
    const MountEntry* card = table.EntryHolding(u"/media/u/MY CARD/DCIM"_s);
    QVERIFY(card);
    QCOMPARE(card->id, 38);
    QCOMPARE(card->major, 8u);
    QCOMPARE(card->minor, 33u);
    const MountEntry* inner = table.EntryHolding(u"/media/u/MY CARD/inner"_s);
    QVERIFY(inner);
    QCOMPARE(inner->id, 39);
    QCOMPARE(table.EntryHolding(u"/media/u/MY CARDS"_s), nullptr);
}

void CardSafetyPolicyTest::followsTheCardToItsNewMountPoint()
{
    const auto backend = std::make_shared<MovingBackend>();
    LinuxVolumeFormatter::Setup setup;
    setup.devices = std::make_shared<LinuxBlockDevices>(m_machine->SysfsRoot());
    setup.mountInfoPath = m_machine->MountInfoPath();
    setup.protectedPaths = {u"/"_s};
    setup.backend = backend;
    RecordingReports reports;

    const FormatOutcome outcome = LinuxVolumeFormatter(setup).Format(
        {kMedia + "CARD/camera/front/"_L1, true, u"FAT32"_s, u"my cam"_s, true, 32768}, reports);

    QCOMPARE(outcome.kind, FormatOutcome::Kind::Ran);
    QCOMPARE(outcome.cardRootAfter, u"/media/fixture-user/MY CAM/camera/front/"_s);
    QCOMPARE(backend->seen.devicePath, u"/dev/sdb1"_s);
    QCOMPARE(backend->seen.mountPoint, kMedia + "CARD"_L1);
    QCOMPARE(backend->seenJob.label, u"MY CAM"_s);
    QCOMPARE(backend->seenJob.clusterSize, 32768u);
}

QTEST_GUILESS_MAIN(CardSafetyPolicyTest)
#include "CardSafetyPolicyTest.moc"
