#include "i18n/LanguagePack.h"
#include "tests/support/ProcessStateGuard.h"
#include "ui/CProgPopupDlg.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <thread>

using namespace Qt::StringLiterals;

// The progress window that only its job can close, fed from the job's thread.
class ProgPopupTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layoutFollowsContent_data();
    void layoutFollowsContent();
    void positionIsClampedAboveOnly();
    void keysAndCloseDoNotEndTheRun();
    void workerUpdatesReachTheBarInOrder();
    void closeBeforeTheWindowIsShownStillEndsTheRun();
    void screenshot_data();
    void screenshot();
};

void ProgPopupTest::layoutFollowsContent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QRect>("textRect");
    QTest::addColumn<QRect>("barRect");
    QTest::newRow("format popup, two line breaks")
        << u"Formatting the memory card.\r\nPlease wait.\r\n"_s << 400 << 150 << QRect(0, 28, 400, 50)
        << QRect(40, 80, 320, 30);
    QTest::newRow("one line break") << u"One line\r\n"_s << 300 << 200 << QRect(0, 28, 300, 40)
                                    << QRect(40, 130, 220, 30);
    QTest::newRow("three line breaks")
        << u"a\r\nb\r\nc\r\n"_s << 400 << 150 << QRect(0, 28, 400, 40) << QRect(40, 80, 320, 30);
}

void ProgPopupTest::layoutFollowsContent()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QRect, textRect);
    QFETCH(QRect, barRect);

    CProgPopupDlg popup;
    popup.SetContent(u"Formatting Memory Card"_s, text, width, height);
    popup.show();
    QVERIFY(QTest::qWaitForWindowExposed(&popup));
    QCOMPARE(popup.size(), QSize(width, height));
    QCOMPARE(popup.windowTitle(), u"Formatting Memory Card"_s);
    QCOMPARE(popup.TextControl()->geometry(), textRect);
    QCOMPARE(popup.ProgressControl()->geometry(), barRect);
    QVERIFY(!popup.TextControl()->text().contains(u'\r'));
    QCOMPARE(popup.ProgressControl()->minimum(), 0);
    QCOMPARE(popup.ProgressControl()->maximum(), 100);
    QCOMPARE(popup.ProgressControl()->value(), 0);
    QVERIFY(!(popup.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(popup.windowFlags() & Qt::WindowSystemMenuHint));
}

void ProgPopupTest::positionIsClampedAboveOnly()
{
    CProgPopupDlg popup;
    popup.SetContent(u"c"_s, u"t\r\n"_s, 400, 150);
    popup.SetPos(120);
    QCOMPARE(popup.GetPos(), 100);
    QTRY_COMPARE(popup.ProgressControl()->value(), 100);
    popup.SetPos(0);
    for (int step = 0; step < 7; ++step)
        popup.SetPos(popup.GetPos() + 20);
    QCOMPARE(popup.GetPos(), 100);
    popup.SetPos(-5); // no lower clamp on the stored value; the bar shows it empty
    QCOMPARE(popup.GetPos(), -5);
    QTRY_COMPARE(popup.ProgressControl()->value(), 0);
}

void ProgPopupTest::keysAndCloseDoNotEndTheRun()
{
    CProgPopupDlg popup;
    popup.SetContent(u"c"_s, u"t\r\n"_s, 400, 150);
    bool closeRequested = false;
    bool stillOpen = false;
    QTimer::singleShot(0, &popup, [&] {
        for (Qt::Key key :
             {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_N, Qt::Key_Y})
            QTest::keyClick(&popup, key);
        QTest::keyClick(&popup, Qt::Key_F4, Qt::AltModifier);
        popup.close();
        popup.reject();
        QCoreApplication::processEvents();
        stillOpen = popup.isVisible();
        closeRequested = true;
        popup.RequestClose();
    });
    const int result = popup.exec();
    QVERIFY(closeRequested);
    QVERIFY(stillOpen);
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!popup.isVisible());
}

void ProgPopupTest::workerUpdatesReachTheBarInOrder()
{
    CProgPopupDlg popup;
    popup.SetContent(u"c"_s, u"t\r\n"_s, 400, 150);
    QSignalSpy values(popup.ProgressControl(), &QProgressBar::valueChanged);
    std::thread worker;
    QTimer::singleShot(0, &popup, [&] {
        worker = std::thread([&popup] {
            for (int i = 0; i < 3; ++i) {
                popup.SetPos(popup.GetPos() + 20);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            popup.SetPos(100);
            popup.RequestClose();
        });
    });
    popup.exec();
    worker.join();
    QList<int> seen;
    for (const QList<QVariant>& arguments : std::as_const(values))
        seen.append(arguments.at(0).toInt());
    QCOMPARE(seen, (QList<int>{20, 40, 60, 100}));
}

void ProgPopupTest::closeBeforeTheWindowIsShownStillEndsTheRun()
{
    CProgPopupDlg popup;
    popup.SetContent(u"c"_s, u"t\r\n"_s, 400, 150);
    // The whole job is over before the modal run creates the window.
    std::thread([&popup] {
        popup.SetPos(popup.GetPos() + 20);
        popup.SetPos(0);
        popup.RequestClose();
    }).join();
    QCoreApplication::processEvents(); // the queued close finds no window yet
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(popup.exec(), int(QDialog::Rejected));
    QVERIFY(elapsed.elapsed() < 5000);
    QCOMPARE(popup.ProgressControl()->value(), 0);
}

void ProgPopupTest::screenshot_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << u"english"_s;
    QTest::newRow("german") << u"german"_s;
    QTest::newRow("japanese") << u"japanese"_s;
}

// With SCREENSHOT_DIR set, writes the card format's progress window as PNG files for review.
void ProgPopupTest::screenshot()
{
    QFETCH(QString, language);
    const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set SCREENSHOT_DIR to write screenshots");
    const ProcessStateGuard state;
    QVERIFY(LoadLanguagePack(language));
    CProgPopupDlg popup;
    popup.SetContent(GetText(u"IDS_STRING162"),
                     GetText(u"IDS_STRING178") + u"\r\n"_s + GetText(u"IDS_STRING1780") + u"\r\n"_s, 400,
                     150);
    popup.SetPos(60);
    popup.show();
    QVERIFY(QTest::qWaitForWindowExposed(&popup));
    QTRY_COMPARE(popup.ProgressControl()->value(), 60);
    QDir().mkpath(folder);
    QVERIFY(popup.grab().save(folder + u"/progress-popup-"_s + language + u".png"_s));
}

QTEST_MAIN(ProgPopupTest)
#include "ProgPopupTest.moc"
