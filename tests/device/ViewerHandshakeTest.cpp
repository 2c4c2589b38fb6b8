#include "device/ViewerHandshake.h"

#include "platform/linux/X11ViewerSignals.h"
#include "platform/linux/XcbWindowFinder.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/fakes/RecordingViewerSignals.h"
#include "tests/support/PrivateXServer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <semaphore.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace {

using Result = ViewerHandshake::Result;

// A stand-in for the maker's viewer: its own X client with a titled top-level window that reads
// the window messages sent to it and, if it is to answer, signals its named event on 1123.
class StandInViewer final
{
public:
    StandInViewer(const QString& display, const QString& title, bool answers) : m_answers(answers)
    {
        m_connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (!m_connection || xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const QByteArray latin1 = title.toLatin1();
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                            8, static_cast<uint32_t>(latin1.size()), latin1.constData());
        xcb_map_window(m_connection, m_window);
        const char* name = X11ViewerSignals::MessageAtomName;
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        m_messageAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(atom);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        m_reader = std::thread(&StandInViewer::Read, this);
    }
    ~StandInViewer()
    {
        m_stop = true;
        if (m_reader.joinable())
            m_reader.join();
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_event)
            sem_close(m_event);
    }

    // The viewer makes its event at start-up; the program only opens it.
    bool CreateEvent(const QByteArray& semaphoreName)
    {
        m_event = sem_open(semaphoreName.constData(), O_CREAT | O_EXCL, 0600, 0);
        return m_event != SEM_FAILED;
    }

    QList<quint32> Messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    bool WaitForMessages(int count)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (Messages().size() < count && elapsed.elapsed() < 5000)
            QThread::msleep(10);
        return Messages().size() >= count;
    }

private:
    void Read()
    {
        while (!m_stop) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->type == m_messageAtom && message->window == m_window) {
                    {
                        std::lock_guard lock(m_mutex);
                        m_messages.append(message->data.data32[0]);
                    }
                    if (m_answers && m_event &&
                        message->data.data32[0] == ViewerHandshake::ReleaseCardMessage)
                        sem_post(m_event);
                }
            }
            std::free(event);
        }
    }

    bool m_answers;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = 0;
    xcb_atom_t m_messageAtom = XCB_ATOM_NONE;
    sem_t* m_event = nullptr;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QList<quint32> m_messages;
    std::thread m_reader;
};

} // namespace

// Asking the viewer to let go of the card before a format, and telling it afterwards.
class ViewerHandshakeTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void findsTheViewerByEitherTitle_data();
    void findsTheViewerByEitherTitle();
    void standInViewerOnTheXServer_data();
    void standInViewerOnTheXServer();
    void deviceChangeGoesToQuelvixOnly_data();
    void deviceChangeGoesToQuelvixOnly();

private:
    std::unique_ptr<PrivateXServer> m_server;
    QString m_prefix;
};

void ViewerHandshakeTest::initTestCase()
{
    m_server = std::make_unique<PrivateXServer>();
    QVERIFY2(m_server->IsRunning(), qPrintable(m_server->ErrorString()));
    // Event names of this test run only, so parallel runs do not meet.
    m_prefix = u"dashcam-test-%1-"_s.arg(QCoreApplication::applicationPid());
}

void ViewerHandshakeTest::cleanup()
{
    sem_unlink(
        X11ViewerSignals(m_server->Display(), m_prefix).SemaphoreName(ViewerHandshake::FileParsingEvent));
}

void ViewerHandshakeTest::findsTheViewerByEitherTitle_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("answerAfterPolls"); // -1: the viewer has no event
    QTest::addColumn<int>("result");
    QTest::addColumn<quint64>("window"); // 0: nothing posted
    const QString viewer = ViewerHandshake::ViewerTitle;
    const QString quelvix = ViewerHandshake::QuelvixTitle;
    QTest::newRow("no viewer") << QStringList{u"Other"_s} << 0 << int(Result::NoViewer) << quint64(0);
    QTest::newRow("viewer answers") << QStringList{viewer} << 3 << int(Result::Answered) << quint64(1);
    QTest::newRow("only Quelvix") << QStringList{u"Other"_s, quelvix} << 0 << int(Result::Answered)
                                  << quint64(2);
    QTest::newRow("both: the viewer title first")
        << QStringList{quelvix, viewer} << 0 << int(Result::Answered) << quint64(2);
    QTest::newRow("viewer without the event")
        << QStringList{viewer} << -1 << int(Result::NoEvent) << quint64(1);
    QTest::newRow("viewer never answers")
        << QStringList{viewer} << 1'000'000 << int(Result::TimedOut) << quint64(1);
}

void ViewerHandshakeTest::findsTheViewerByEitherTitle()
{
    QFETCH(QStringList, titles);
    QFETCH(int, answerAfterPolls);
    QFETCH(int, result);
    QFETCH(quint64, window);

    const FakeWindowFinder windows(titles);
    const RecordingViewerSignals signals_(answerAfterPolls < 0 ? std::nullopt
                                                               : std::optional<int>(answerAfterPolls));
    // The wait keeps the event loop going.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&ticks] { ++ticks; });
    ticker.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(int(ViewerHandshake::Run(windows, signals_, std::chrono::milliseconds(300))), result);
    if (result == int(Result::TimedOut)) {
        QVERIFY(elapsed.elapsed() >= 300 && elapsed.elapsed() < 3000);
        QVERIFY(ticks >= 5);
    }
    const QList<RecordingViewerSignals::Post> posts =
        window ? QList<RecordingViewerSignals::Post>{{window, 1123}} : QList<RecordingViewerSignals::Post>{};
    QCOMPARE(signals_.m_posts, posts);
    QCOMPARE(signals_.m_openedEvents, window ? QStringList{u"EVENT_FILE_PARSING"_s} : QStringList());
}

void ViewerHandshakeTest::standInViewerOnTheXServer_data()
{
    QTest::addColumn<bool>("viewerRuns");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("result");
    QTest::newRow("viewer answers") << true << true << int(Result::Answered);
    QTest::newRow("viewer never answers") << true << false << int(Result::TimedOut);
    QTest::newRow("no viewer") << false << false << int(Result::NoViewer);
}

void ViewerHandshakeTest::standInViewerOnTheXServer()
{
    QFETCH(bool, viewerRuns);
    QFETCH(bool, answers);
    QFETCH(int, result);

    const XcbWindowFinder windows(m_server->Display());
    const X11ViewerSignals signals_(m_server->Display(), m_prefix);
    std::unique_ptr<StandInViewer> viewer;
    if (viewerRuns) {
        viewer = std::make_unique<StandInViewer>(m_server->Display(), ViewerHandshake::ViewerTitle, answers);
        QVERIFY(viewer->CreateEvent(signals_.SemaphoreName(ViewerHandshake::FileParsingEvent)));
    }
    QElapsedTimer elapsed;
    elapsed.start();
    // A short bound where it must run out; a long one where the answer must end the wait early.
    const bool timesOut = result == int(Result::TimedOut);
    const std::chrono::milliseconds bound(timesOut ? 500 : 20000);
    QCOMPARE(int(ViewerHandshake::Run(windows, signals_, bound)), result);
    if (timesOut)
        QVERIFY(elapsed.elapsed() >= 500 && elapsed.elapsed() < 5000);
    else
        QVERIFY(elapsed.elapsed() < 10000);
    if (viewer) {
        QVERIFY(viewer->WaitForMessages(1));
        QCOMPARE(viewer->Messages(), QList<quint32>{1123});
    }
}

void ViewerHandshakeTest::deviceChangeGoesToQuelvixOnly_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("notified");
    QTest::newRow("Quelvix") << u"Quelvix"_s << true;
    QTest::newRow("only the viewer title") << u"ORBELMARK DASHCAM PC VIEWER"_s << false;
}

void ViewerHandshakeTest::deviceChangeGoesToQuelvixOnly()
{
    QFETCH(QString, title);
    QFETCH(bool, notified);
    const XcbWindowFinder windows(m_server->Display());
    const X11ViewerSignals signals_(m_server->Display(), m_prefix);
    StandInViewer viewer(m_server->Display(), title, false);
    QCOMPARE(ViewerHandshake::NotifyDeviceChange(windows, signals_), notified);
    if (notified) {
        QVERIFY(viewer.WaitForMessages(1));
        QCOMPARE(viewer.Messages(), QList<quint32>{537});
    } else {
        QTest::qWait(100);
        QVERIFY(viewer.Messages().isEmpty());
    }
}

QTEST_GUILESS_MAIN(ViewerHandshakeTest)
#include "ViewerHandshakeTest.moc"
