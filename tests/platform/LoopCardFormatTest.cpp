#include "platform/linux/LinuxDriveInfo.h"
#include "platform/linux/LinuxVolumeFormatter.h"
#include "tests/fakes/RecordingReports.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QString output;
};

// Standard output, and unless errorsApart standard error too.
Result Run(const QString& program, const QStringList& arguments, bool errorsApart = false)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    // mtools checks the geometry of floppies; a partition has none.
    environment.insert(u"MTOOLS_SKIP_CHECK"_s, u"1"_s);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(errorsApart ? QProcess::SeparateChannels : QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    Result result;
    if (!process.waitForStarted() || !process.waitForFinished(10 * 60 * 1000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

bool IsMounted(const QString& mountPoint)
{
    QFile table(u"/proc/self/mountinfo"_s);
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = ' ' + QFile::encodeName(mountPoint) + ' ';
    return table.readAll().contains(wanted);
}

bool IsHeldOpen(const QString& device)
{
    const QDir proc(u"/proc"_s);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir fds(u"/proc/"_s + pid + u"/fd"_s);
        for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (QFile::symLinkTarget(fds.filePath(fd)) == device)
                return true;
    }
    return false;
}

bool KernelHas(const QByteArray& fileSystem)
{
    QFile list(u"/proc/filesystems"_s);
    if (!list.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : list.readAll().split('\n'))
        if (line.trimmed().split('\t').last() == fileSystem)
            return true;
    return false;
}

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator* random = QRandomGenerator::global();
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(random->bounded(256));
    return bytes;
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A sparse image with one MBR partition, attached to a loop device and mounted, all of it made
// by this object and all of it undone when it goes, whatever happened in between.
class LoopCard final
{
public:
    LoopCard(const QString& folder, qint64 bytes, const QString& partitionType)
        : m_image(folder + "/images/card.img"_L1), m_mountPoint(folder + "/card"_L1)
    {
        QDir().mkpath(QFileInfo(m_image).path());
        QDir().mkpath(m_mountPoint);
        QFile image(m_image);
        if (!image.open(QIODevice::WriteOnly) || !image.resize(bytes)) {
            m_error = u"cannot create the sparse image"_s;
            return;
        }
        image.close();
        QFile layout(folder + "/layout"_L1);
        if (!WriteFile(layout.fileName(),
                       "label: dos\nstart=2048, type=" + partitionType.toLatin1() + '\n') ||
            !Step(u"sfdisk"_s, {u"-q"_s, u"--no-reread"_s, u"--no-tell-kernel"_s, m_image},
                  layout.fileName()))
            return;
        const Result attached = Run(u"losetup"_s, {u"-f"_s, u"--show"_s, u"-P"_s, m_image});
        if (attached.exitCode != 0) {
            m_error = u"losetup: "_s + attached.output;
            return;
        }
        m_disk = attached.output.trimmed();
        m_partition = m_disk + "p1"_L1;
        // A kernel without the MBR parser finds no partition by itself: tell it.
        const QString name = QFileInfo(m_disk).fileName();
        if (!QFileInfo::exists(u"/sys/block/"_s + name + u'/' + name + "p1"_L1) &&
            !Step(u"partx"_s, {u"-a"_s, m_disk}))
            return;
        for (int i = 0; i < 100 && !QFileInfo::exists(m_partition); ++i)
            QTest::qWait(50);
        if (!QFileInfo::exists(m_partition))
            m_error = m_partition + u" did not appear"_s;
    }

    ~LoopCard()
    {
        // Our own mount point only; lazily as a last resort so that the device can go.
        for (int i = 0; i < 20 && IsMounted(m_mountPoint); ++i) {
            if (Run(u"umount"_s, {m_mountPoint}).exitCode != 0)
                QThread::msleep(250);
        }
        if (IsMounted(m_mountPoint))
            Run(u"umount"_s, {u"-l"_s, m_mountPoint});
        if (!m_disk.isEmpty()) {
            Run(u"losetup"_s, {u"-d"_s, m_disk});
            const Result left = Run(u"losetup"_s, {u"-j"_s, m_image});
            if (!left.output.trimmed().isEmpty())
                qWarning("loop device still attached: %s", qPrintable(left.output));
        }
    }
    Q_DISABLE_COPY_MOVE(LoopCard)

    const QString& Error() const { return m_error; }
    const QString& Partition() const { return m_partition; }
    const QString& MountPoint() const { return m_mountPoint; }
    QString ImageFolder() const { return QFileInfo(m_image).path(); }

    // Makes a FAT32 file system with 4096-byte clusters, so that the change to 32768 shows.
    bool MakeOldFat()
    {
        return Step(u"mkfs.fat"_s, {u"-F"_s, u"32"_s, u"-s"_s, u"8"_s, u"-n"_s, u"OLDCARD"_s, m_partition});
    }

    // The kernel's driver where it has one, else the FUSE one, as a desktop would.
    bool Mount()
    {
        if (KernelHas("vfat") &&
            Run(u"mount"_s, {u"-t"_s, u"vfat"_s, m_partition, m_mountPoint}).exitCode == 0)
            return true;
        return Step(u"fusefat"_s, {u"-o"_s, u"rw+,fsname="_s + m_partition, m_partition, m_mountPoint});
    }

    // Returns once the FUSE driver, which finishes its writes after umount, has let go too.
    bool Unmount()
    {
        QProcess::execute(u"sync"_s, {});
        if (!Step(u"umount"_s, {m_mountPoint}))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (IsHeldOpen(m_partition)) {
            if (waited.elapsed() > 15000) {
                m_error = m_partition + u" is still held open after unmounting"_s;
                return false;
            }
            QTest::qWait(50);
        }
        return true;
    }

private:
    bool Step(const QString& program, const QStringList& arguments, const QString& input = {})
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardInputFile(input.isEmpty() ? QProcess::nullDevice() : input);
        process.start(program, arguments);
        if (process.waitForStarted() && process.waitForFinished(5 * 60 * 1000) &&
            process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return true;
        m_error = program + u": "_s + QString::fromLocal8Bit(process.readAll());
        return false;
    }

    QString m_image;
    QString m_mountPoint;
    QString m_disk;
    QString m_partition;
    QString m_error;
};

// What a camera leaves on its card.
const QStringList kDeviceFiles{u"setup.cfg"_s, u"default.cfg"_s, u"lang/ver.dat"_s};
const QStringList kOtherFiles{u"lang/en.dat"_s, u"DCIM/REC_0001.AVI"_s, u"DCIM/REC_0002.AVI"_s,
                              u"EVENT/EVT_0001.AVI"_s};

QHash<QString, QByteArray> FillCard(const QString& root)
{
    QHash<QString, QByteArray> content;
    content.insert(u"setup.cfg"_s, RandomBytes(564));
    content.insert(u"default.cfg"_s, RandomBytes(564));
    content.insert(u"lang/ver.dat"_s, "K410 1.02\r\nENG,FRA,DEU,KOR\r\n");
    content.insert(u"lang/en.dat"_s, RandomBytes(20000));
    content.insert(u"DCIM/REC_0001.AVI"_s, RandomBytes(3 * 1024 * 1024));
    content.insert(u"DCIM/REC_0002.AVI"_s, RandomBytes(1024 * 1024 + 17));
    content.insert(u"EVENT/EVT_0001.AVI"_s, RandomBytes(700 * 1024));
    for (auto it = content.cbegin(); it != content.cend(); ++it)
        if (!WriteFile(root + it.key(), it.value()))
            return {};
    return content;
}

} // namespace

class LoopCardFormatTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void formatsFat32AndKeepsTheDeviceFiles();
    void leavesABusyCardAsItWas();
    void formatsALargeCardAsExfat();

private:
    FormatOutcome FormatCard(const LoopCard& card, const QString& fileSystem, quint32 clusterSize,
                             RecordingReports& reports, qint64* elapsedMs = nullptr);
};

void LoopCardFormatTest::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("formatting a loop device needs root (CI runs as root)");
    if (!QFileInfo::exists(u"/dev/loop-control"_s))
        QSKIP("no loop devices on this machine (/dev/loop-control is missing)");
    for (const QString& tool : {u"losetup"_s, u"partx"_s, u"sfdisk"_s, u"mkfs.fat"_s, u"fsck.fat"_s,
                                u"mkfs.exfat"_s, u"fsck.exfat"_s, u"mdir"_s, u"mcopy"_s, u"mlabel"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty() &&
            QStandardPaths::findExecutable(tool, {u"/usr/sbin"_s, u"/sbin"_s}).isEmpty())
            QSKIP(qPrintable(tool + u" is missing: run scripts/install-deps"_s));
    }
    const bool fuse = QFileInfo::exists(u"/dev/fuse"_s) && KernelHas("fuse");
    if (!KernelHas("vfat") && !(fuse && !QStandardPaths::findExecutable(u"fusefat"_s).isEmpty()))
        QSKIP("the kernel has no FAT driver and FUSE or fusefat is missing: the card cannot be mounted");
    if (!KernelHas("exfat") && !(fuse && !QStandardPaths::findExecutable(u"mount.exfat-fuse"_s).isEmpty()))
        QSKIP("the kernel has no exFAT driver and FUSE or exfat-fuse is missing: the card cannot be mounted");
    const Result probe = Run(u"losetup"_s, {u"-f"_s});
    if (probe.exitCode != 0)
        QSKIP(qPrintable(u"no free loop device: "_s + probe.output));
}

FormatOutcome LoopCardFormatTest::FormatCard(const LoopCard& card, const QString& fileSystem,
                                             quint32 clusterSize, RecordingReports& reports,
                                             qint64* elapsedMs)
{
    // Only a loop device whose image lies in this test's own folder may be formatted.
    ScopedEnvironmentVariable allowed("DASHCAM_ALLOW_LOOP_BACKING_DIR",
                                      QFile::encodeName(card.ImageFolder()));
    const LinuxVolumeFormatter formatter;
    const FormatRequest request{card.MountPoint() + u'/', true, fileSystem,
                                u"Road cam:1"_s,          true, clusterSize};
    QElapsedTimer timer;
    timer.start();
    const FormatOutcome outcome = formatter.Format(request, reports);
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    return outcome;
}

void LoopCardFormatTest::formatsFat32AndKeepsTheDeviceFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    LoopCard card(folder.path(), 8LL * 1024 * 1024 * 1024, u"c"_s);
    QVERIFY2(card.Error().isEmpty(), qPrintable(card.Error()));
    QVERIFY2(card.MakeOldFat(), qPrintable(card.Error()));
    QVERIFY2(card.Mount(), qPrintable(card.Error()));
    const QString root = card.MountPoint() + u'/';
    const QHash<QString, QByteArray> before = FillCard(root);
    QVERIFY(!before.isEmpty());
    // The drive facts the procedure asks first agree with the formatter, FUSE mount or not.
    QVERIFY(!LinuxDriveInfo().IsRemovableDrive(root));
    {
        ScopedEnvironmentVariable allowed("DASHCAM_ALLOW_LOOP_BACKING_DIR",
                                          QFile::encodeName(card.ImageFolder()));
        QVERIFY(LinuxDriveInfo().IsRemovableDrive(root));
    }

    // What the format procedure does around the formatter: save the device files, format, put
    // them back together with the program file.
    const QString programFolder = folder.path() + "/program/"_L1;
    QVERIFY(QDir().mkpath(programFolder));
    for (const QString& file : kDeviceFiles)
        QVERIFY(QFile::copy(root + file, programFolder + QFileInfo(file).fileName()));
    RecordingReports reports;
    qint64 formatMs = 0;
    const FormatOutcome outcome = FormatCard(card, u"FAT32"_s, 32768, reports, &formatMs);
    QCOMPARE(outcome.kind, FormatOutcome::Kind::Ran);
    QCOMPARE(reports.DoneReports(), QList<bool>{true});
    QCOMPARE(reports.ProgressReports(), 3);
    QCOMPARE(outcome.cardRootAfter, root);
    QVERIFY(IsMounted(card.MountPoint()));
    // (fusefat shows the volume label as a file: look for what was there, not for emptiness.)
    for (const QString& top : {u"setup.cfg"_s, u"default.cfg"_s, u"lang"_s, u"DCIM"_s, u"EVENT"_s})
        QVERIFY2(!QFileInfo::exists(outcome.cardRootAfter + top), qPrintable(top));
    QVERIFY(QDir().mkpath(outcome.cardRootAfter + "lang"_L1));
    for (const QString& file : kDeviceFiles)
        QVERIFY(QFile::copy(programFolder + QFileInfo(file).fileName(), outcome.cardRootAfter + file));
    const QString program = QCoreApplication::applicationFilePath();
    const QString programName = QFileInfo(program).fileName();
    QVERIFY(QFile::copy(program, outcome.cardRootAfter + programName));
    QVERIFY2(card.Unmount(), qPrintable(card.Error()));

    // Checked without the program: the file system's own checker and mtools.
    const Result check = Run(u"fsck.fat"_s, {u"-n"_s, u"-v"_s, card.Partition()});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(check.output.contains("32768 bytes per cluster"_L1), qPrintable(check.output));
    QVERIFY2(check.output.contains("32 bit entries"_L1), qPrintable(check.output));
    const Result label = Run(u"mlabel"_s, {u"-s"_s, u"-i"_s, card.Partition(), u"::"_s});
    QVERIFY2(label.output.contains("Volume label is ROAD CAM1"_L1), qPrintable(label.output));
    const Result listing = Run(u"mdir"_s, {u"-/"_s, u"-b"_s, u"-i"_s, card.Partition(), u"::/"_s}, true);
    QStringList files = listing.output.split(u'\n', Qt::SkipEmptyParts);
    files.sort();
    QStringList expected{u"::/"_s + programName, u"::/default.cfg"_s, u"::/lang/"_s, u"::/lang/ver.dat"_s,
                         u"::/setup.cfg"_s};
    expected.sort();
    QVERIFY2(files == expected, qPrintable(listing.output));
    for (const QString& file : kDeviceFiles) {
        const QString copy = folder.path() + "/readback-"_L1 + QFileInfo(file).fileName();
        QCOMPARE(Run(u"mcopy"_s, {u"-n"_s, u"-i"_s, card.Partition(), u"::/"_s + file, copy}).exitCode, 0);
        QCOMPARE(ReadFile(copy), before.value(file));
    }
    const QString programCopy = folder.path() + "/readback-program"_L1;
    QCOMPARE(
        Run(u"mcopy"_s, {u"-n"_s, u"-i"_s, card.Partition(), u"::/"_s + programName, programCopy}).exitCode,
        0);
    QVERIFY(ReadFile(programCopy) == ReadFile(program));

    // The same file system made by mkfs.fat alone, on the same device, for comparison.
    QElapsedTimer timer;
    timer.start();
    const Result alone =
        Run(u"mkfs.fat"_s, {u"-F"_s, u"32"_s, u"-s"_s, u"64"_s, u"-n"_s, u"ROAD CAM1"_s, card.Partition()});
    const qint64 aloneMs = timer.elapsed();
    QCOMPARE(alone.exitCode, 0);
    qInfo("8 GiB card: the formatter took %lld ms (unmount, mkfs, mount); mkfs.fat alone %lld ms", formatMs,
          aloneMs);
}

void LoopCardFormatTest::leavesABusyCardAsItWas()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    LoopCard card(folder.path(), 3LL * 1024 * 1024 * 1024, u"c"_s);
    QVERIFY2(card.Error().isEmpty(), qPrintable(card.Error()));
    QVERIFY2(card.MakeOldFat(), qPrintable(card.Error()));
    QVERIFY2(card.Mount(), qPrintable(card.Error()));
    const QString root = card.MountPoint() + u'/';
    const QHash<QString, QByteArray> before = FillCard(root);
    QVERIFY(!before.isEmpty());

    RecordingReports reports;
    FormatOutcome outcome;
    {
        // A player holds a video open.
        QFile held(root + "DCIM/REC_0001.AVI"_L1);
        QVERIFY(held.open(QIODevice::ReadOnly));
        outcome = FormatCard(card, u"FAT32"_s, 32768, reports);
    }

    QCOMPARE(outcome.kind, FormatOutcome::Kind::Ran);
    QCOMPARE(reports.DoneReports(), QList<bool>{false});
    QCOMPARE(reports.ProgressReports(), 0);
    QVERIFY(IsMounted(card.MountPoint()));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(ReadFile(root + it.key()) == it.value(), qPrintable(it.key()));
    QVERIFY2(card.Unmount(), qPrintable(card.Error()));
    const Result label = Run(u"mlabel"_s, {u"-s"_s, u"-i"_s, card.Partition(), u"::"_s});
    QVERIFY2(label.output.contains("Volume label is OLDCARD"_L1), qPrintable(label.output));
}

void LoopCardFormatTest::formatsALargeCardAsExfat()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // Above 60000 MiB, where the camera wants exFAT.
    LoopCard card(folder.path(), 64000LL * 1024 * 1024, u"7"_s);
    QVERIFY2(card.Error().isEmpty(), qPrintable(card.Error()));
    QVERIFY2(card.MakeOldFat(), qPrintable(card.Error()));
    QVERIFY2(card.Mount(), qPrintable(card.Error()));
    const QString root = card.MountPoint() + u'/';
    const QHash<QString, QByteArray> before = FillCard(root);
    QVERIFY(!before.isEmpty());

    RecordingReports reports;
    const FormatOutcome outcome = FormatCard(card, u"exfat"_s, 0, reports);
    QCOMPARE(outcome.kind, FormatOutcome::Kind::Ran);
    QCOMPARE(reports.DoneReports(), QList<bool>{true});
    QCOMPARE(reports.ProgressReports(), 3);
    QVERIFY(IsMounted(card.MountPoint()));
    // The new file system takes files: put the settings back and read them after a fresh mount.
    QVERIFY(WriteFile(outcome.cardRootAfter + "setup.cfg"_L1, before.value(u"setup.cfg"_s)));
    QVERIFY(!QFileInfo::exists(outcome.cardRootAfter + "DCIM"_L1));
    QVERIFY2(card.Unmount(), qPrintable(card.Error()));

    const Result check = Run(u"fsck.exfat"_s, {u"-n"_s, card.Partition()});
    QVERIFY2(check.exitCode == 0 && check.output.contains("clean"_L1), qPrintable(check.output));
    const Result label = Run(u"exfatlabel"_s, {card.Partition()});
    QVERIFY2(label.output.contains("label: Road cam:1"_L1), qPrintable(label.output));
    const Result mounted = Run(u"mount.exfat-fuse"_s, {card.Partition(), card.MountPoint()});
    QVERIFY2(mounted.exitCode == 0 ||
                 Run(u"mount"_s, {u"-t"_s, u"exfat"_s, card.Partition(), card.MountPoint()}).exitCode == 0,
             qPrintable(mounted.output));
    QCOMPARE(ReadFile(root + "setup.cfg"_L1), before.value(u"setup.cfg"_s));
}

QTEST_GUILESS_MAIN(LoopCardFormatTest)
#include "LoopCardFormatTest.moc"
