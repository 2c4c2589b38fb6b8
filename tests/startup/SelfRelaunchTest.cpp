#include "startup/SelfRelaunch.h"

#include "platform/PlatformServices.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/RecordingLauncher.h"
#include "tests/support/DebugLineRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The program on the card copies itself to the PC and starts the copy with its own folder.
class SelfRelaunchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { qputenv("XDG_DATA_HOME", m_savedDataHome); }
    void removableDriveRelaunchesLocalCopy();
    void fixedDriveRunsInPlace();
    void failedCopyRunsFromTheCard();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_record;
    QByteArray m_savedDataHome;
};

void SelfRelaunchTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(u"data home"_s)));
    // A stand-in for the program that records how it was started.
    QVERIFY(QDir(m_dir->path()).mkpath(u"My Card"_s));
    m_program = m_dir->filePath(u"My Card/dashcam-settings"_s);
    m_record = m_dir->filePath(u"started.txt"_s);
    QFile script(m_program);
    QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\n{ echo \"$#\"; printf '%s\\n' \"$@\"; pwd; } > '" + QFile::encodeName(m_record) +
                 ".tmp' && mv '" + QFile::encodeName(m_record) + ".tmp' '" + QFile::encodeName(m_record) +
                 "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

void SelfRelaunchTest::removableDriveRelaunchesLocalCopy()
{
    const FakeDriveInfo drives(true, FakeDriveInfo::RealRoots{});
    const auto& platform = PlatformServices::Defaults();
    SelfRelaunch relaunch(drives, *platform.AppData(), *platform.Launcher());
    DebugLineRecorder debug;
    QVERIFY(relaunch.RelaunchFromLocalCopy(m_program));

    const QString copy = m_dir->filePath(u"data home/Quelvix/dashcam-settings"_s);
    QCOMPARE(relaunch.RelaunchPath(), copy);
    QVERIFY(QFileInfo(copy).isExecutable());
    const QString cardFolder = m_dir->filePath(u"My Card/"_s);
    const QString root = drives.FilesystemRoot(copy);
    QVERIFY(root.endsWith(u'/'));
    QCOMPARE(debug.Lines(), (QStringList{copy, cardFolder, root}));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    QFile record(m_record);
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(record.readAll()).split(u'\n', Qt::SkipEmptyParts);
    // One argument, blanks and all, and the copy's filesystem root as the working folder.
    QCOMPARE(lines, (QStringList{u"1"_s, cardFolder, QDir(root).canonicalPath()}));

    // A second start replaces the earlier copy.
    QFile::remove(m_record);
    QVERIFY(relaunch.RelaunchFromLocalCopy(m_program));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
}

void SelfRelaunchTest::fixedDriveRunsInPlace()
{
    const FakeDriveInfo drives(false);
    const RecordingLauncher launcher;
    SelfRelaunch relaunch(drives, *PlatformServices::Defaults().AppData(), launcher);
    QVERIFY(!relaunch.RelaunchFromLocalCopy(m_program));
    QVERIFY(relaunch.RelaunchPath().isEmpty());
    QVERIFY(launcher.m_calls.isEmpty());
    QVERIFY(!QFile::exists(m_dir->filePath(u"data home/Quelvix"_s)));
}

void SelfRelaunchTest::failedCopyRunsFromTheCard()
{
    // The copy's folder cannot be made: a file stands where it should go.
    QFile blocker(m_dir->filePath(u"data home"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const FakeDriveInfo drives(true);
    const RecordingLauncher launcher;
    SelfRelaunch relaunch(drives, *PlatformServices::Defaults().AppData(), launcher);
    QVERIFY(!relaunch.RelaunchFromLocalCopy(m_program));
    QVERIFY(launcher.m_calls.isEmpty());
}

QTEST_GUILESS_MAIN(SelfRelaunchTest)
#include "SelfRelaunchTest.moc"
