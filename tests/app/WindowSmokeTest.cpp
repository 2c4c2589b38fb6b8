#include "tests/support/DemoCard.h"
#include "tests/support/PrivateXServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The built program on a real X server: its window appears under its title, and a pointer
// click at the Save button's place writes the card and ends the program.
class WindowSmokeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveWithThePointer()
    {
        PrivateXServer server;
        QVERIFY2(server.IsRunning(), qPrintable(server.ErrorString()));

        QTemporaryDir card;
        QVERIFY(CopyDemoCard(card.path()));
        QFile clock(card.filePath(u"time.dat"_s));
        QVERIFY(clock.open(QIODevice::WriteOnly));
        clock.write("2020,01,02,03,04,05,+0100");
        clock.close();
        QFile setup(card.filePath(u"setup.cfg"_s));
        QVERIFY(setup.open(QIODevice::ReadWrite));
        QByteArray bytes = setup.readAll();
        bytes[440] = 0; // aggregate_flag, which Save recomputes to 1 for the demo card
        QVERIFY(setup.seek(0));
        setup.write(bytes);
        setup.close();

        QTemporaryDir home;
        QProcessEnvironment environment = server.ProcessEnvironment();
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(DASHCAM_SETTINGS_PROGRAM), {card.path() + u'/'});
        QVERIFY(program.waitForStarted());

        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = Xdotool(environment, {u"search"_s, u"--onlyvisible"_s,
                                                                  u"--name"_s, u"^Dash Cam Settings$"_s}))
                                      .isEmpty(),
                                 15000);
        const QString geometry = Xdotool(environment, {u"getwindowgeometry"_s, window.section(u'\n', 0, 0)});
        QVERIFY2(geometry.contains(u"Position: 0,0"_s), qPrintable(geometry));
        QVERIFY2(geometry.contains(u"Geometry: 722x587"_s), qPrintable(geometry));
        QVERIFY(program.state() == QProcess::Running); // nothing was written yet
        QVERIFY(QFile::exists(card.filePath(u"time.dat"_s)));

        // The Save button spans 614..714 x 546..575 of the window at the screen's corner.
        Xdotool(environment, {u"mousemove"_s, u"664"_s, u"560"_s});
        QTest::qWait(100);
        Xdotool(environment, {u"click"_s, u"1"_s});
        QVERIFY(program.waitForFinished(15000));
        QCOMPARE(program.exitCode(), 0);

        QVERIFY(setup.open(QIODevice::ReadOnly));
        const QByteArray saved = setup.readAll();
        QCOMPARE(saved.size(), 564);
        QCOMPARE(saved[440], char(1));
        QCOMPARE(saved.left(440), bytes.left(440));
        QCOMPARE(saved.mid(444), bytes.mid(444));
        QVERIFY(!QFile::exists(card.filePath(u"time.dat"_s)));
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

QTEST_GUILESS_MAIN(WindowSmokeTest)
#include "WindowSmokeTest.moc"
