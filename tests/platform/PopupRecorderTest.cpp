#include "platform/PopupRecorder.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Popup = PopupRecorder::Popup;

// The recorder's own rules: what it keeps, which answer a question takes, and that it changes
// nothing while it is not recording.
class PopupRecorderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questionsTakeQueuedAnswersFirst_data();
    void questionsTakeQueuedAnswersFirst();
    void takeHandsOverCaptionsTextsAndSizesTogether();
    void offItKeepsAndAnswersNothing();
    void recordingStartsAfresh();
};

void PopupRecorderTest::questionsTakeQueuedAnswersFirst_data()
{
    QTest::addColumn<QList<bool>>("queued");
    QTest::addColumn<bool>("standing");
    QTest::addColumn<QList<bool>>("answers"); // of three questions in a row, each queued or standing

    QTest::newRow("none queued: Yes standing") << QList<bool>{} << true << QList<bool>{true, true, true};
    QTest::newRow("none queued: No standing") << QList<bool>{} << false << QList<bool>{false, false, false};
    QTest::newRow("one No, then the standing Yes")
        << QList<bool>{false} << true << QList<bool>{false, true, true};
    QTest::newRow("oldest first") << QList<bool>{true, false} << false << QList<bool>{true, false, false};
}

void PopupRecorderTest::questionsTakeQueuedAnswersFirst()
{
    QFETCH(QList<bool>, queued);
    QFETCH(bool, standing);
    QFETCH(QList<bool>, answers);

    PopupRecorder recorder;
    recorder.SetRecording(true);
    recorder.SetStandingAnswer(standing);
    for (const bool yes : queued)
        recorder.QueueAnswer(yes);
    QCOMPARE(recorder.QueuedAnswers(), queued.size());
    QList<bool> given;
    for (int i = 0; i < answers.size(); ++i)
        given.append(recorder.TakeAnswer().value_or(recorder.StandingAnswer()));
    QCOMPARE(given, answers);
    QCOMPARE(recorder.QueuedAnswers(), 0);
}

void PopupRecorderTest::takeHandsOverCaptionsTextsAndSizesTogether()
{
    PopupRecorder recorder;
    recorder.SetRecording(true);
    int shown = 0;
    recorder.SetWhenShown([&] { ++shown; });
    QVERIFY(recorder.Record({u"First"_s, u"one"_s, {}}));
    QVERIFY(recorder.Record({u"Second"_s, u"two"_s, QSize(330, 170)}));
    QCOMPARE(shown, 2);

    const QList<Popup> taken = recorder.Take();
    QCOMPARE(PopupRecorder::Captions(taken), (QStringList{u"First"_s, u"Second"_s}));
    QCOMPARE(PopupRecorder::Texts(taken), (QStringList{u"one"_s, u"two"_s}));
    QCOMPARE(taken.at(1).size, QSize(330, 170));
    QVERIFY(!taken.at(0).size.isValid());
    QVERIFY(recorder.Popups().isEmpty());
    QVERIFY(recorder.Take().isEmpty());
}

void PopupRecorderTest::offItKeepsAndAnswersNothing()
{
    PopupRecorder recorder;
    int shown = 0;
    recorder.SetWhenShown([&] { ++shown; });
    recorder.QueueAnswer(false);
    recorder.QueueFolder(u"/media/card"_s);
    QVERIFY(!recorder.Record({u"Caption"_s, u"text"_s, {}}));
    QVERIFY(recorder.Popups().isEmpty());
    QCOMPARE(shown, 0);
    QCOMPARE(recorder.TakeAnswer(), std::nullopt);
    QCOMPARE(recorder.TakeFolder(), std::nullopt);
}

void PopupRecorderTest::recordingStartsAfresh()
{
    PopupRecorder recorder;
    recorder.SetRecording(true);
    recorder.Record({u"Caption"_s, u"text"_s, {}});
    recorder.QueueAnswer(true);
    recorder.QueueFolder(QString());
    recorder.SetStandingAnswer(false);
    bool called = false;
    recorder.SetWhenShown([&] { called = true; });

    recorder.SetRecording(true);
    QVERIFY(recorder.IsRecording());
    QVERIFY(recorder.Popups().isEmpty());
    QCOMPARE(recorder.QueuedAnswers(), 0);
    QVERIFY(recorder.StandingAnswer());
    QVERIFY(recorder.Record({u"Caption"_s, u"text"_s, {}}));
    QVERIFY(!called);

    // A queued empty folder is a cancelled picker, not a missing answer.
    recorder.QueueFolder(QString());
    QCOMPARE(recorder.TakeFolder(), std::optional<QString>(QString()));
    QCOMPARE(recorder.TakeFolder(), std::nullopt);
}

QTEST_GUILESS_MAIN(PopupRecorderTest)
#include "PopupRecorderTest.moc"
