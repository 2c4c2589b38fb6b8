#include "app/CSettingApp.h"

#include <QDir>
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

    // Without exactly one argument the program ends at once and shows nothing (a shown window
    // would keep it running).
    void wrongArgumentCountEndsTheProcess_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no argument") << QStringList{};
        QTest::newRow("two arguments") << QStringList{QDir::tempPath() + u'/', u"extra"_s};
    }

    void wrongArgumentCountEndsTheProcess()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir home; // the relaunch must not find a removable drive here either
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DASHCAM_SETTINGS_PROGRAM), arguments);
        QVERIFY(program.waitForStarted());
        const bool ended = program.waitForFinished(10000);
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
