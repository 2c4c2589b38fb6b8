#include "platform/linux/LinuxProgramLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A stand-in program that writes its argument count, each argument and its working folder, one a
// line, and renames the record into place only when it is complete.
QString WriteRecorder(const QString& folder)
{
    const QString script = folder + "/recorder.sh"_L1;
    const QString record = folder + "/record"_L1;
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n"
               "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; pwd -P; } > '" +
               QFile::encodeName(record) + ".tmp' && mv '" + QFile::encodeName(record) + ".tmp' '" +
               QFile::encodeName(record) + "'\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return script;
}

} // namespace

// The relaunch hands the copy exactly one argument and its working folder.
class LinuxProgramLauncherTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passesOneArgument_data();
    void passesOneArgument();
    void reportsFailure_data();
    void reportsFailure();
};

void LinuxProgramLauncherTest::passesOneArgument_data()
{
    QTest::addColumn<QString>("argument");

    QTest::newRow("card folder with blanks and trailing slash") << u"/media/driver/DASH CAM 01/"_s;
    QTest::newRow("drive root") << u"/"_s;
    QTest::newRow("quotes and shell characters") << u"/media/it's \"mine\" $HOME *; ls/"_s;
    QTest::newRow("non-Latin folder") << u"/media/\u30c9\u30e9\u30a4\u30d6/"_s;
    QTest::newRow("empty argument") << QString();
}

void LinuxProgramLauncherTest::passesOneArgument()
{
    QFETCH(QString, argument);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = WriteRecorder(dir.path());
    QVERIFY(!program.isEmpty());
    const QString workingFolder = dir.path() + "/local copy"_L1;
    QVERIFY(QDir().mkpath(workingFolder));

    QVERIFY(LinuxProgramLauncher().StartDetached(program, argument, workingFolder));

    QFile record(dir.path() + "/record"_L1);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists(), 10000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(record.readAll()).split(u'\n');
    const QStringList expected{u"1"_s, argument, QFileInfo(workingFolder).canonicalFilePath(), QString()};
    QCOMPARE(lines, expected);
}

void LinuxProgramLauncherTest::reportsFailure_data()
{
    QTest::addColumn<bool>("programExists");
    QTest::addColumn<bool>("folderExists");

    QTest::newRow("no such program") << false << true;
    QTest::newRow("no such working folder") << true << false;
}

void LinuxProgramLauncherTest::reportsFailure()
{
    QFETCH(bool, programExists);
    QFETCH(bool, folderExists);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = programExists ? WriteRecorder(dir.path()) : dir.path() + "/missing.sh"_L1;
    const QString folder = folderExists ? dir.path() : dir.path() + "/missing folder"_L1;

    QVERIFY(!LinuxProgramLauncher().StartDetached(program, u"/media/card/"_s, folder));
    // Nothing ran: no record appears.
    QTest::qWait(200);
    QVERIFY(!QFile::exists(dir.path() + "/record"_L1));
}

QTEST_GUILESS_MAIN(LinuxProgramLauncherTest)
#include "LinuxProgramLauncherTest.moc"
