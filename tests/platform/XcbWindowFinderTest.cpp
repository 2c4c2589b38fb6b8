#include "platform/linux/XcbWindowFinder.h"

#include "tests/support/PrivateXServer.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/XTestWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kViewerTitle = u"ORBELMARK DASHCAM PC VIEWER"_s;

// A display number no server of this machine answers on.
QString UnusedDisplay()
{
    for (int number = 731; number < 1000; ++number) {
        const QString n = QString::number(number);
        if (!QFile::exists(u"/tmp/.X11-unix/X"_s + n) && !QFile::exists(u"/tmp/.X"_s + n + u"-lock"_s))
            return u":"_s + n;
    }
    return {};
}

} // namespace

// The viewer's windows are found by their exact title on a real X server of the test's own.
class XcbWindowFinderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void findsWindowsByExactTitle_data();
    void findsWindowsByExactTitle();
    void tellsWhichWindowHasWhichTitle();
    void findsNothingWithoutServer_data();
    void findsNothingWithoutServer();

private:
    std::unique_ptr<PrivateXServer> m_server;
};

void XcbWindowFinderTest::initTestCase()
{
    m_server = std::make_unique<PrivateXServer>();
    QVERIFY2(m_server->IsRunning(), qPrintable(m_server->ErrorString()));
}

void XcbWindowFinderTest::findsWindowsByExactTitle_data()
{
    QTest::addColumn<QString>("netWmName"); // a null text leaves the property out
    QTest::addColumn<QString>("wmName");
    QTest::addColumn<bool>("framed");
    QTest::addColumn<bool>("mapped");
    QTest::addColumn<QString>("lookFor");
    QTest::addColumn<bool>("found");

    const QString none;
    QTest::newRow("both title properties")
        << kViewerTitle << kViewerTitle << false << true << kViewerTitle << true;
    QTest::newRow("WM_NAME only") << none << kViewerTitle << false << true << kViewerTitle << true;
    QTest::newRow("_NET_WM_NAME only") << kViewerTitle << none << false << true << kViewerTitle << true;
    QTest::newRow("_NET_WM_NAME is the title")
        << kViewerTitle << u"viewer"_s << false << true << kViewerTitle << true;
    QTest::newRow("WM_NAME does not count beside _NET_WM_NAME")
        << u"Quelvix"_s << kViewerTitle << false << true << kViewerTitle << false;
    QTest::newRow("inside a window-manager frame")
        << kViewerTitle << kViewerTitle << true << true << kViewerTitle << true;
    QTest::newRow("not shown") << kViewerTitle << kViewerTitle << false << false << kViewerTitle << true;
    QTest::newRow("second viewer title")
        << u"Quelvix"_s << u"Quelvix"_s << false << true << u"Quelvix"_s << true;
    QTest::newRow("window title is a prefix")
        << u"ORBELMARK DASHCAM PC"_s << u"ORBELMARK DASHCAM PC"_s << false << true << kViewerTitle << false;
    QTest::newRow("window title has a suffix")
        << u"ORBELMARK DASHCAM PC VIEWER 2"_s << u"ORBELMARK DASHCAM PC VIEWER 2"_s << false << true
        << kViewerTitle << false;
    QTest::newRow("looking for a prefix")
        << kViewerTitle << kViewerTitle << false << true << u"ORBELMARK DASHCAM"_s << false;
    QTest::newRow("other letter case") << u"Orbelmark Dashcam PC Viewer"_s << u"Orbelmark Dashcam PC Viewer"_s
                                       << false << true << kViewerTitle << false;
    QTest::newRow("UTF-8 title") << u"Quelvix \u2013 \u65e5\u672c\u8a9e"_s << none << false << true
                                 << u"Quelvix \u2013 \u65e5\u672c\u8a9e"_s << true;
    QTest::newRow("Latin-1 WM_NAME") << none << u"Quelvix \u00dcbersicht"_s << false << true
                                     << u"Quelvix \u00dcbersicht"_s << true;
    QTest::newRow("no title at all") << none << none << false << true << kViewerTitle << false;
}

void XcbWindowFinderTest::findsWindowsByExactTitle()
{
    QFETCH(QString, netWmName);
    QFETCH(QString, wmName);
    QFETCH(bool, framed);
    QFETCH(bool, mapped);
    QFETCH(QString, lookFor);
    QFETCH(bool, found);

    XTestWindow window(m_server->Display());
    QVERIFY(window.IsValid());
    if (!netWmName.isNull())
        window.SetNetWmName(netWmName);
    if (!wmName.isNull())
        window.SetWmName(wmName);
    if (framed)
        window.PutInFrame();
    if (mapped)
        window.Map();
    QVERIFY(window.Sync());

    const ScopedEnvironmentVariable display("DISPLAY", m_server->Display().toLocal8Bit());
    const std::optional<quint64> id = XcbWindowFinder().FindTopLevelWindow(lookFor);
    QCOMPARE(id.has_value(), found);
    if (found)
        QCOMPARE(*id, quint64(window.Id()));
}

void XcbWindowFinderTest::tellsWhichWindowHasWhichTitle()
{
    XTestWindow viewer(m_server->Display());
    XTestWindow other(m_server->Display());
    XTestWindow quelvix(m_server->Display());
    QVERIFY(viewer.IsValid() && other.IsValid() && quelvix.IsValid());
    viewer.SetTitle(kViewerTitle);
    other.SetTitle(u"Terminal"_s);
    quelvix.SetTitle(u"Quelvix"_s);
    quelvix.PutInFrame();
    for (XTestWindow* window : {&viewer, &other, &quelvix}) {
        window->Map();
        QVERIFY(window->Sync());
    }

    const XcbWindowFinder finder(m_server->Display());
    QCOMPARE(finder.FindTopLevelWindow(kViewerTitle), std::optional<quint64>(viewer.Id()));
    QCOMPARE(finder.FindTopLevelWindow(u"Quelvix"_s), std::optional<quint64>(quelvix.Id()));
    QVERIFY(finder.HasTopLevelWindow(u"Terminal"_s));
    QVERIFY(!finder.HasTopLevelWindow(u"Editor"_s));
}

void XcbWindowFinderTest::findsNothingWithoutServer_data()
{
    QTest::addColumn<bool>("setDisplay");
    QTest::addColumn<QString>("displayName");

    QTest::newRow("DISPLAY unset") << false << QString();
    QTest::newRow("DISPLAY empty") << true << QString();
    QTest::newRow("display without server") << true << UnusedDisplay();
    QTest::newRow("not a display name") << true << u"no display here"_s;
}

void XcbWindowFinderTest::findsNothingWithoutServer()
{
    QFETCH(bool, setDisplay);
    QFETCH(QString, displayName);

    // A window with the title exists on the test's own server, which is not the one named.
    XTestWindow viewer(m_server->Display());
    QVERIFY(viewer.IsValid());
    viewer.SetTitle(kViewerTitle);
    viewer.Map();
    QVERIFY(viewer.Sync());

    const ScopedEnvironmentVariable display(
        "DISPLAY", setDisplay ? std::optional<QByteArray>(displayName.toLocal8Bit()) : std::nullopt);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!XcbWindowFinder().HasTopLevelWindow(kViewerTitle));
    QVERIFY2(clock.elapsed() < 5000, "the lookup must give up at once");
}

QTEST_GUILESS_MAIN(XcbWindowFinderTest)
#include "XcbWindowFinderTest.moc"
