#include "tests/support/DemoCard.h"
#include "tests/support/PrivateXServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The built Debian package, unpacked into a scratch root, started the way a file manager's
// "Open with" starts it (its desktop entry's command with the card's folder), on a private X
// server: the settings window opens on the card, and Cancel leaves the card as it was.
class InstalledPackageSmokeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installedProgramOpensTheCard()
    {
        const QStringList debs =
            QDir(QStringLiteral(DASHCAM_PACKAGE_FOLDER)).entryList({u"*.deb"_s}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        QTemporaryDir root;
        QProcess unpack;
        unpack.setProcessChannelMode(QProcess::ForwardedChannels);
        unpack.start(u"dpkg"_s,
                     {u"-x"_s, QStringLiteral(DASHCAM_PACKAGE_FOLDER "/") + debs.first(), root.path()});
        QVERIFY(unpack.waitForFinished(60000));
        QCOMPARE(unpack.exitCode(), 0);

        // The command line the desktop entry gives, the card's folder as a file manager passes it.
        QFile entry(
            root.filePath(u"usr/share/applications/"_s + QStringLiteral(DASHCAM_APP_ID) + u".desktop"_s));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QStringList command;
        for (const QByteArray& line : entry.readAll().split('\n')) {
            if (line.startsWith("Exec="))
                command = QString::fromUtf8(line.mid(5)).split(u' ', Qt::SkipEmptyParts);
        }
        QCOMPARE(command, (QStringList{u"dashcam-settings"_s, u"%f"_s}));

        QTemporaryDir card;
        QVERIFY(CopyDemoCard(card.path()));
        QFile setup(card.filePath(u"setup.cfg"_s));
        QVERIFY(setup.open(QIODevice::ReadOnly));
        const QByteArray before = setup.readAll();
        setup.close();

        PrivateXServer server;
        QVERIFY2(server.IsRunning(), qPrintable(server.ErrorString()));
        QTemporaryDir home;
        QProcessEnvironment environment = server.ProcessEnvironment();
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString installed = root.filePath(u"usr/bin/"_s + command[0]);
        QVERIFY(QFileInfo(installed).isExecutable());
        program.start(installed, {card.path()}); // no trailing separator, as "%f" gives it
        QVERIFY(program.waitForStarted());

        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = Xdotool(environment, {u"search"_s, u"--onlyvisible"_s,
                                                                  u"--name"_s, u"^Dash Cam Settings$"_s}))
                                      .isEmpty(),
                                 15000);
        const QString geometry = Xdotool(environment, {u"getwindowgeometry"_s, window.section(u'\n', 0, 0)});
        QVERIFY2(geometry.contains(u"Geometry: 722x587"_s), qPrintable(geometry));

        // The Cancel button spans 510..610 x 546..575 of the window at the screen's corner.
        Xdotool(environment, {u"mousemove"_s, u"560"_s, u"560"_s});
        QTest::qWait(100);
        Xdotool(environment, {u"click"_s, u"1"_s});
        const bool ended = program.waitForFinished(15000);
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QCOMPARE(program.exitCode(), 0);

        QVERIFY(setup.open(QIODevice::ReadOnly));
        QCOMPARE(setup.readAll(), before);
        QCOMPARE(QDir(card.path()).entryList(QDir::Files), (QStringList{u"default.cfg"_s, u"setup.cfg"_s}));
    }

private:
    static QString Xdotool(const QProcessEnvironment& environment, const QStringList& arguments)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(u"xdotool"_s, arguments);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
};

QTEST_GUILESS_MAIN(InstalledPackageSmokeTest)
#include "InstalledPackageSmokeTest.moc"
