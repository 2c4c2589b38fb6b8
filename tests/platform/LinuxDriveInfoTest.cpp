#include "platform/linux/LinuxDriveInfo.h"

#include "tests/support/ScopedEnvironmentVariable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Builds a sysfs tree the way the kernel lays it out: the device folders under devices/, the
// disk's "removable" attribute, a "partition" file in each partition's folder, and the
// dev/block/MAJOR:MINOR links that lead to them.
class FakeSysfs final
{
public:
    explicit FakeSysfs(const QString& root) : m_root(root) { QDir().mkpath(m_root + "/dev/block"_L1); }

    const QString& Root() const { return m_root; }

    // devicePath is relative to devices/; removable < 0 leaves the attribute out.
    bool AddDisk(const QString& devicePath, int removable, quint32 major, quint32 minor)
    {
        const QString folder = m_root + "/devices/"_L1 + devicePath;
        if (!QDir().mkpath(folder))
            return false;
        if (removable >= 0 && !WriteFile(folder + "/removable"_L1, QByteArray::number(removable) + '\n'))
            return false;
        return Link(u"devices/"_s + devicePath, major, minor);
    }

    bool AddPartition(const QString& diskPath, const QString& name, quint32 major, quint32 minor)
    {
        const QString relative = u"devices/"_s + diskPath + u'/' + name;
        const QString folder = m_root + u'/' + relative;
        return QDir().mkpath(folder) &&
               WriteFile(folder + "/partition"_L1, QByteArray::number(minor) + '\n') &&
               Link(relative, major, minor);
    }

private:
    bool Link(const QString& relativeTarget, quint32 major, quint32 minor)
    {
        const QString link =
            m_root + "/dev/block/"_L1 + QString::number(major) + u':' + QString::number(minor);
        QFile::remove(link);
        // Relative like the kernel's own links, so the tree still works wherever it lies.
        return QFile::link(u"../../"_s + relativeTarget, link);
    }

    QString m_root;
};

} // namespace

// Which drives count as removable, and where a path's filesystem starts.
class LinuxDriveInfoTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void removableDevices_data();
    void removableDevices();
    void pathsFollowTheirDevice_data();
    void pathsFollowTheirDevice();
    void filesystemRoots_data();
    void filesystemRoots();
    void filesystemRootWithoutMountTable();
    void loopDevicesOnlyInsideTheAllowedFolder_data();
    void loopDevicesOnlyInsideTheAllowedFolder();

private:
    QTemporaryDir m_dir;
    QString m_base;
    std::unique_ptr<FakeSysfs> m_sysfs;
};

void LinuxDriveInfoTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_base = QFileInfo(m_dir.path()).canonicalFilePath();
    // The tree itself lies below folders named like the buses: only the device's own place in
    // the tree may decide.
    m_sysfs = std::make_unique<FakeSysfs>(m_base + "/usb/mmc/sys"_L1);

    const QString usbStick =
        u"pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb"_s;
    QVERIFY(m_sysfs->AddDisk(usbStick, 1, 8, 16));
    QVERIFY(m_sysfs->AddPartition(usbStick, u"sdb1"_s, 8, 17));

    const QString usbDisk = u"pci0000:00/0000:00:14.0/usb3/3-2/3-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc"_s;
    QVERIFY(m_sysfs->AddDisk(usbDisk, 0, 8, 32));
    QVERIFY(m_sysfs->AddPartition(usbDisk, u"sdc1"_s, 8, 33));

    const QString sdCard = u"platform/soc/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0"_s;
    QVERIFY(m_sysfs->AddDisk(sdCard, 0, 179, 0));
    QVERIFY(m_sysfs->AddPartition(sdCard, u"mmcblk0p1"_s, 179, 1));
    QVERIFY(QDir().mkpath(m_sysfs->Root() + "/devices/"_L1 + sdCard + "/device"_L1));
    QVERIFY(WriteFile(m_sysfs->Root() + "/devices/"_L1 + sdCard + "/device/type"_L1, "SD\n"));
    // A soldered eMMC on the same bus is the system disk.
    const QString emmc = u"platform/soc/fe330000.mmc/mmc_host/mmc1/mmc1:0001/block/mmcblk1"_s;
    QVERIFY(m_sysfs->AddDisk(emmc, 0, 179, 8));
    QVERIFY(m_sysfs->AddPartition(emmc, u"mmcblk1p1"_s, 179, 9));
    QVERIFY(QDir().mkpath(m_sysfs->Root() + "/devices/"_L1 + emmc + "/device"_L1));
    QVERIFY(WriteFile(m_sysfs->Root() + "/devices/"_L1 + emmc + "/device/type"_L1, "MMC\n"));

    // An internal card reader on the SCSI bus: only the attribute tells.
    const QString cardReader = u"pci0000:00/0000:00:1f.2/host3/target3:0:0/3:0:0:0/block/sdd"_s;
    QVERIFY(m_sysfs->AddDisk(cardReader, 1, 8, 48));
    QVERIFY(m_sysfs->AddPartition(cardReader, u"sdd1"_s, 8, 49));

    const QString sata = u"pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda"_s;
    QVERIFY(m_sysfs->AddDisk(sata, 0, 8, 0));
    QVERIFY(m_sysfs->AddPartition(sata, u"sda1"_s, 8, 1));

    const QString nvme = u"pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1"_s;
    QVERIFY(m_sysfs->AddDisk(nvme, 0, 259, 0));
    QVERIFY(m_sysfs->AddPartition(nvme, u"nvme0n1p1"_s, 259, 1));

    QVERIFY(m_sysfs->AddDisk(u"virtual/block/loop0"_s, 0, 7, 0));
    QVERIFY(m_sysfs->AddDisk(u"virtual/block/loop1"_s, 0, 7, 1));
    QVERIFY(m_sysfs->AddPartition(u"virtual/block/loop1"_s, u"loop1p1"_s, 259, 5));
    QVERIFY(QDir().mkpath(m_base + "/images/inner"_L1));
    QVERIFY(WriteFile(m_base + "/images/inner/card.img"_L1, "image"));
    QVERIFY(QDir().mkpath(m_sysfs->Root() + "/devices/virtual/block/loop1/loop"_L1));
    QVERIFY(WriteFile(m_sysfs->Root() + "/devices/virtual/block/loop1/loop/backing_file"_L1,
                      QFile::encodeName(m_base + "/images/inner/card.img\n"_L1)));
    // A disk without the attribute at all.
    QVERIFY(m_sysfs->AddDisk(u"virtual/block/dm-0"_s, -1, 254, 0));
}

void LinuxDriveInfoTest::removableDevices_data()
{
    QTest::addColumn<quint32>("major");
    QTest::addColumn<quint32>("minor");
    QTest::addColumn<bool>("removable");

    QTest::newRow("USB stick partition") << 8u << 17u << true;
    QTest::newRow("USB stick") << 8u << 16u << true;
    QTest::newRow("USB disk that says it is fixed") << 8u << 33u << true;
    QTest::newRow("SD card partition") << 179u << 1u << true;
    QTest::newRow("SD card") << 179u << 0u << true;
    QTest::newRow("eMMC partition") << 179u << 9u << false;
    QTest::newRow("card reader partition, attribute of its disk") << 8u << 49u << true;
    QTest::newRow("SATA disk partition") << 8u << 1u << false;
    QTest::newRow("SATA disk") << 8u << 0u << false;
    QTest::newRow("NVMe partition") << 259u << 1u << false;
    QTest::newRow("loop device") << 7u << 0u << false;
    QTest::newRow("device mapper without attribute") << 254u << 0u << false;
    QTest::newRow("no block device (tmpfs, overlay)") << 0u << 45u << false;
}

void LinuxDriveInfoTest::removableDevices()
{
    QFETCH(quint32, major);
    QFETCH(quint32, minor);
    QFETCH(bool, removable);

    const LinuxDriveInfo drives(m_sysfs->Root(), m_base + "/no-mount-table"_L1);
    QCOMPARE(drives.IsRemovableDevice(major, minor), removable);
}

void LinuxDriveInfoTest::pathsFollowTheirDevice_data()
{
    QTest::addColumn<QString>("devicePath"); // empty: the path's device is not in the tree
    QTest::addColumn<int>("removableAttribute");
    QTest::addColumn<bool>("removable");

    QTest::newRow("on a USB stick") << u"pci0000:00/usb1/1-1/1-1:1.0/host2/block/sde"_s << 0 << true;
    QTest::newRow("on a removable disk") << u"pci0000:00/ata2/host1/block/sdf"_s << 1 << true;
    QTest::newRow("on a fixed disk") << u"pci0000:00/ata2/host1/block/sdf"_s << 0 << false;
    QTest::newRow("no block device behind it") << QString() << 0 << false;
}

void LinuxDriveInfoTest::pathsFollowTheirDevice()
{
    QFETCH(QString, devicePath);
    QFETCH(int, removableAttribute);
    QFETCH(bool, removable);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString card = dir.path() + "/card folder"_L1;
    QVERIFY(QDir().mkpath(card));
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(card).constData(), &info), 0);

    // The tree names the device number of the folder the test made.
    FakeSysfs sysfs(dir.path() + "/sys"_L1);
    if (!devicePath.isEmpty())
        QVERIFY(sysfs.AddDisk(devicePath, removableAttribute, major(info.st_dev), minor(info.st_dev)));

    const LinuxDriveInfo drives(sysfs.Root(), dir.path() + "/no-mount-table"_L1);
    QCOMPARE(drives.IsRemovableDrive(card), removable);
    QCOMPARE(drives.IsRemovableDrive(card + "/missing/setup.cfg"_L1), false);
}

void LinuxDriveInfoTest::filesystemRoots_data()
{
    QTest::addColumn<QString>("path");     // @ stands for the test's folder
    QTest::addColumn<QString>("expected"); // likewise

    QTest::newRow("file on the card") << u"@/card one/DCIM/clip.mp4"_s << u"@/card one/"_s;
    QTest::newRow("card root itself") << u"@/card one"_s << u"@/card one/"_s;
    QTest::newRow("card root with slash") << u"@/card one/"_s << u"@/card one/"_s;
    QTest::newRow("filesystem mounted inside another")
        << u"@/card one/inner/lang"_s << u"@/card one/inner/"_s;
    QTest::newRow("mount point named like a longer one") << u"@/cardtwo/x"_s << u"@/cardtwo/"_s;
    QTest::newRow("folder named like a shorter mount point") << u"@/cards/x"_s << u"/"_s;
    QTest::newRow("dot-dot resolved first") << u"@/card/../cardtwo/x"_s << u"@/cardtwo/"_s;
    QTest::newRow("symbolic link followed") << u"@/link to card/clip.mp4"_s << u"@/card one/"_s;
    QTest::newRow("file not yet written") << u"@/card one/new/setup.cfg"_s << u"@/card one/"_s;
    QTest::newRow("escaped backslash in the table") << u"@/back\\slash/f"_s << u"@/back\\slash/"_s;
    QTest::newRow("outside every card") << u"@/elsewhere"_s << u"/"_s;
}

void LinuxDriveInfoTest::filesystemRoots()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString base = QFileInfo(dir.path()).canonicalFilePath();
    for (const char* folder : {"card one/DCIM", "card one/inner/lang", "cardtwo/x", "cards/x", "card",
                               "elsewhere", "back\\slash/f"})
        QVERIFY(QDir().mkpath(base + u'/' + QString::fromUtf8(folder)));
    QVERIFY(WriteFile(base + "/card one/DCIM/clip.mp4"_L1, "x"));
    QVERIFY(QFile::link(base + "/card one/DCIM"_L1, base + "/link to card"_L1));

    QByteArray escapedBase = QFile::encodeName(base);
    const QByteArray table = "22 1 0:21 / / rw,relatime - overlay overlay rw\n"
                             "30 22 8:17 / " +
                             escapedBase +
                             "/card\\040one rw,relatime shared:1 - vfat /dev/sdb1 rw\n"
                             "31 30 179:1 / " +
                             escapedBase +
                             "/card\\040one/inner rw - exfat /dev/mmcblk0p1 rw\n"
                             "32 22 8:33 / " +
                             escapedBase +
                             "/card rw - vfat /dev/sdc1 rw\n"
                             "33 22 0:50 / " +
                             escapedBase +
                             "/cardtwo rw - tmpfs tmpfs rw\n"
                             "34 22 8:49 / " +
                             escapedBase +
                             "/back\\134slash rw - vfat /dev/sdd1 rw\n"
                             "broken line\n";
    QVERIFY(WriteFile(base + "/mountinfo"_L1, table));

    const LinuxDriveInfo drives(base + "/no-sysfs"_L1, base + "/mountinfo"_L1);
    QCOMPARE(drives.FilesystemRoot(path.replace(u'@', base)), expected.replace(u'@', base));
}

void LinuxDriveInfoTest::filesystemRootWithoutMountTable()
{
    // Without a table the device numbers tell: /proc is a filesystem of its own on Linux.
    const LinuxDriveInfo drives(u"/sys"_s, m_base + "/no-mount-table"_L1);
    QCOMPARE(drives.FilesystemRoot(u"/proc/self/status"_s), u"/proc/"_s);
    QCOMPARE(drives.FilesystemRoot(QString()), QString());
}

void LinuxDriveInfoTest::loopDevicesOnlyInsideTheAllowedFolder_data()
{
    QTest::addColumn<QString>("allowedFolder"); // @ stands for the test's folder; empty: unset
    QTest::addColumn<bool>("removable");

    QTest::newRow("variable unset") << QString() << false;
    QTest::newRow("image inside the folder") << u"@/images"_s << true;
    QTest::newRow("image in a subfolder of it") << u"@"_s << true;
    QTest::newRow("image outside the folder") << u"@/images/inner/other"_s << false;
    QTest::newRow("folder that does not exist") << u"@/nowhere"_s << false;
}

void LinuxDriveInfoTest::loopDevicesOnlyInsideTheAllowedFolder()
{
    QFETCH(QString, allowedFolder);
    QFETCH(bool, removable);
    QVERIFY(QDir().mkpath(m_base + "/images/inner/other"_L1));
    allowedFolder.replace(u'@', m_base);
    ScopedEnvironmentVariable allowed(
        "DASHCAM_ALLOW_LOOP_BACKING_DIR",
        allowedFolder.isEmpty() ? std::nullopt : std::optional(QFile::encodeName(allowedFolder)));

    const LinuxDriveInfo drives(m_sysfs->Root(), m_base + "/no-mount-table"_L1);
    QCOMPARE(drives.IsRemovableDevice(259, 5), removable);
    QCOMPARE(drives.IsRemovableDevice(7, 1), removable);
    // A loop device without a backing file attribute is never a card.
    QCOMPARE(drives.IsRemovableDevice(7, 0), false);
}

QTEST_GUILESS_MAIN(LinuxDriveInfoTest)
#include "LinuxDriveInfoTest.moc"
