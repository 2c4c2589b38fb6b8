#include "app/CSettingApp.h"
#include "startup/CardFinder.h"
#include "platform/PlatformServices.h"
#include "tests/support/PrivateXServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cardRootFromArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("root");
        const QString folder = QDir::tempPath();
        QTest::newRow("none") << QStringList{u"prog"_s} << QString();
        QTest::newRow("two") << QStringList{u"prog"_s, folder + u'/', u"x"_s} << QString();
        QTest::newRow("folder with separator") << QStringList{u"prog"_s, folder + u'/'} << folder + u'/';
        QTest::newRow("folder without separator") << QStringList{u"prog"_s, folder} << folder + u'/';
        // A folder that does not exist (yet) is still the card's folder: nothing may be looked up or
        // written beside it.
        QTest::newRow("missing folder")
            << QStringList{u"prog"_s, u"/no/such/DASHCAM"_s} << u"/no/such/DASHCAM/"_s;
        QTest::newRow("empty argument") << QStringList{u"prog"_s, QString()} << QString();
    }

    void cardRootFromArguments()
    {
        QFETCH(QStringList, arguments);
        QTEST(CSettingApp::CardRootFromArguments(arguments), "root");
    }

    // Without a display the program ends at once, normally, and shows nothing (a shown window
    // would keep it running): there is nowhere to ask for the card, nor to show the settings.
    void endsAtOnceWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no argument") << QStringList{};
        QTest::newRow("two arguments") << QStringList{QDir::tempPath() + u'/', u"extra"_s};
        QTest::newRow("a card folder") << QStringList{QDir::tempPath() + u'/'};
    }

    void endsAtOnceWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir home; // the relaunch must not find a removable drive here either
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        program.start(QStringLiteral(DASHCAM_SETTINGS_PROGRAM), arguments);
        QVERIFY(program.waitForStarted());
        const bool ended = program.waitForFinished(10000);
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    // Started from a desktop's menu (no argument, a display) the program asks for the card
    // instead of ending: without a card in a reader its "no card" window appears, and closing
    // that window ends the program.
    void noArgumentWithDisplayAsksForTheCard()
    {
        // This checks the window for a PC without cards; a card in a reader opens it instead.
        const PlatformServices platform = PlatformServices::Defaults();
        if (!CardFinder(*platform.Volumes(), *platform.Drives()).FindCards().isEmpty())
            QSKIP("a camera memory card is mounted on this PC");

        PrivateXServer server;
        QVERIFY2(server.IsRunning(), qPrintable(server.ErrorString()));
        QTemporaryDir home;
        QProcessEnvironment environment = server.ProcessEnvironment();
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        environment.insert(u"LANG"_s, u"C.UTF-8"_s);
        environment.remove(u"LC_ALL"_s);
        environment.remove(u"LC_MESSAGES"_s);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(DASHCAM_SETTINGS_PROGRAM), {});
        QVERIFY(program.waitForStarted());

        // The dialog carries the program's title; the settings window (722 x 587) does not open.
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = Xdotool(environment, {u"search"_s, u"--onlyvisible"_s,
                                                                  u"--name"_s, u"^Dash Cam Settings$"_s}))
                                      .isEmpty(),
                                 15000);
        window = window.section(u'\n', 0, 0);
        QVERIFY(!Xdotool(environment, {u"getwindowgeometry"_s, window}).contains(u"722x587"_s));
        QVERIFY(program.state() == QProcess::Running);

        Xdotool(environment, {u"windowactivate"_s, u"--sync"_s, window});
        Xdotool(environment, {u"key"_s, u"--window"_s, window, u"Escape"_s});
        const bool ended = program.waitForFinished(15000);
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QCOMPARE(program.exitCode(), 0);
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
