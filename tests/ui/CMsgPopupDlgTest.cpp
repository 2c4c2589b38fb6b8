#include "ui/CMsgPopupDlg.h"

#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"
#include "skin/SkinFont.h"
#include "tests/support/ProcessStateGuard.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

// The Yes/No popup: its layout, its keys and answers, its captions and its test hook.
class CMsgPopupDlgTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        SkinFont::EnsureRegistered();
        QVERIFY(LoadLanguagePack(LanguagePack::ResourceName(0)));
    }
    void init()
    {
        m_state.emplace();
        PopupRecorder::Instance().SetRecording(true);
    }
    void cleanup() { m_state.reset(); }

    void geometry_data();
    void geometry();
    void answers_data();
    void answers();
    void captions_data();
    void captions();
    void nextAnswerSkipsTheWindow();

private:
    std::optional<ProcessStateGuard> m_state;
};

void CMsgPopupDlgTest::geometry_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("yesX");
    QTest::addColumn<int>("noX");
    QTest::addColumn<int>("textHeight");
    QTest::newRow("330, two pairs") << 330 << 170 << u"a\r\nb\r\nc"_s << 70 << 175 << 70;
    QTest::newRow("330, three pairs") << 330 << 170 << u"a\r\nb\r\nc\r\n"_s << 70 << 175 << 40;
    QTest::newRow("490, two breaks") << 490 << 170 << u"first\r\nsecond\r\n"_s << 150 << 255 << 70;
    QTest::newRow("490, one break") << 490 << 170 << u"first\r\nsecond"_s << 150 << 255 << 40;
    QTest::newRow("odd width rounds down") << 331 << 170 << u"x\r\ny\r\n"_s << 70 << 175 << 70;
    QTest::newRow("bare line feeds do not count") << 490 << 170 << u"a\nb\n"_s << 150 << 255 << 40;
}

void CMsgPopupDlgTest::geometry()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, text);
    QFETCH(int, yesX);
    QFETCH(int, noX);
    QFETCH(int, textHeight);
    CMsgPopupDlg popup;
    popup.SetContent(u"Caption"_s, text, width, height);
    QCOMPARE(popup.size(), QSize(width, height));
    QCOMPARE(popup.windowTitle(), u"Caption"_s);
    QCOMPARE(popup.Control(CMsgPopupDlg::IdYes)->geometry(), QRect(yesX, height - 60, 85, 25));
    QCOMPARE(popup.Control(CMsgPopupDlg::IdNo)->geometry(), QRect(noX, height - 60, 85, 25));
    QCOMPARE(popup.Control(CMsgPopupDlg::IdText)->geometry(), QRect(0, 28, width - 10, textHeight));
    auto* label = qobject_cast<QLabel*>(popup.Control(CMsgPopupDlg::IdText));
    QVERIFY(!label->text().contains(u'\r'));
    QVERIFY(qobject_cast<QPushButton*>(popup.Control(CMsgPopupDlg::IdYes))->isDefault());
}

void CMsgPopupDlgTest::answers_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("clickId"); // 0: none; -1: close the window
    QTest::addColumn<int>("answer");
    QTest::newRow("Y") << QList<int>{Qt::Key_Y} << 0 << 1;
    QTest::newRow("N") << QList<int>{Qt::Key_N} << 0 << 2;
    QTest::newRow("Enter presses Yes") << QList<int>{Qt::Key_Return} << 0 << 1;
    QTest::newRow("Esc does nothing, then N") << QList<int>{Qt::Key_Escape, Qt::Key_N} << 0 << 2;
    QTest::newRow("Esc does nothing, then Y")
        << QList<int>{Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Y} << 0 << 1;
    QTest::newRow("Tab to No, Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << 0 << 2;
    QTest::newRow("click Yes") << QList<int>{} << 1 << 1;
    QTest::newRow("click No") << QList<int>{} << 2 << 2;
    QTest::newRow("close box") << QList<int>{} << -1 << 2;
}

void CMsgPopupDlgTest::answers()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, clickId);
    QFETCH(int, answer);
    CMsgPopupDlg popup;
    popup.SetContent(u"Question"_s, u"Line one\r\nLine two\r\n"_s, 490, 170);
    bool stayedOpen = true;
    QTimer::singleShot(0, &popup, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QTRY_VERIFY(popup.Control(CMsgPopupDlg::IdYes)->hasFocus());
        for (int key : keys) {
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &popup;
            QTest::keyClick(focus, Qt::Key(key));
            if (key == Qt::Key_Escape)
                stayedOpen = stayedOpen && popup.isVisible();
        }
        if (clickId > 0)
            QTest::mouseClick(popup.Control(clickId), Qt::LeftButton);
        else if (clickId < 0)
            popup.close();
    });
    // A safety net: a popup left open would hang the test.
    QTimer::singleShot(5000, &popup, [&] { popup.done(99); });
    QCOMPARE(popup.exec(), answer);
    QVERIFY(stayedOpen);
    QCOMPARE(PopupRecorder::Instance().Popups().size(), 1);
}

void CMsgPopupDlgTest::captions_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("english") << 0 << u"Yes(Y)"_s << u"No(N)"_s;
    QTest::newRow("french") << 1 << u"Oui(Y)"_s << u"Non(N)"_s;
    QTest::newRow("korean keeps the template's words") << 3 << u"예(Y)"_s << u"아니오(N)"_s;
    QTest::newRow("german") << 7 << u"Ja(Y)"_s << u"Nein(N)"_s;
    QTest::newRow("japanese") << 9 << u"はい(Y)"_s << u"いいえ(N)"_s;
}

void CMsgPopupDlgTest::captions()
{
    QFETCH(int, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    QVERIFY(LoadLanguagePack(LanguagePack::ResourceName(language)));
    CMsgPopupDlg popup;
    popup.SetContent(u"Question"_s, u"Text"_s, 330, 170);
    QCOMPARE(qobject_cast<QPushButton*>(popup.Control(CMsgPopupDlg::IdYes))->text(), yes);
    QCOMPARE(qobject_cast<QPushButton*>(popup.Control(CMsgPopupDlg::IdNo))->text(), no);
    // The keys answer in every language.
    QTimer::singleShot(0, &popup, [&] { QTest::keyClick(&popup, Qt::Key_N); });
    QTimer::singleShot(5000, &popup, [&] { popup.done(99); });
    QCOMPARE(popup.exec(), 2);
    QVERIFY(LoadLanguagePack(LanguagePack::ResourceName(0)));
}

void CMsgPopupDlgTest::nextAnswerSkipsTheWindow()
{
    PopupRecorder& recorder = PopupRecorder::Instance();
    recorder.QueueAnswer(false);
    CMsgPopupDlg popup;
    popup.SetContent(u"Caption"_s, u"Text\r\n"_s, 330, 170);
    QCOMPARE(popup.exec(), 2);
    QVERIFY(!popup.isVisible());
    QCOMPARE(recorder.Popups().constLast().caption, u"Caption"_s);
    QCOMPARE(recorder.Popups().constLast().text, u"Text\r\n"_s);
    QCOMPARE(recorder.Popups().constLast().size.width(), 330);
    QCOMPARE(recorder.Popups().constLast().size.height(), 170);
    // The hook answers once.
    QCOMPARE(recorder.QueuedAnswers(), 0);
    recorder.QueueAnswer(true);
    QCOMPARE(popup.exec(), 1);
    QCOMPARE(recorder.Popups().size(), 2);
}

QTEST_MAIN(CMsgPopupDlgTest)
#include "CMsgPopupDlgTest.moc"
