#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Stands between the program's popups and the user, so that tests see what the program would
// have shown and answer for the user. Off, as in the program, it changes nothing: every popup
// opens. While recording:
// - every popup is recorded as it opens: caption, text and, for the program's own windows, size;
// - a standard message box opens no window: an OK box returns at once, a Yes/No box takes the
//   next queued answer, else the standing answer (Yes until set otherwise);
// - the program's own Yes/No popup takes the next queued answer without opening; with none
//   queued it opens, for the test to answer through its keys and buttons;
// - the no-card window's folder picker takes the next queued folder; with none queued it opens.
// The user's answers are input from outside the program, so the recorder lives beside the other
// platform services and holds no widgets.
class PopupRecorder final
{
public:
    struct Popup
    {
        QString caption;
        QString text;
        QSize size; // invalid for a standard message box, which sizes itself

        bool operator==(const Popup&) const = default;
    };

    static PopupRecorder& Instance();

    // Either way starts afresh: nothing recorded or queued, no callback, the standing answer Yes.
    void SetRecording(bool recording);
    bool IsRecording() const { return m_recording; }

    // What the popups showed, oldest first. Take() hands all of it over and keeps nothing.
    const QList<Popup>& Popups() const { return m_popups; }
    QList<Popup> Take();
    static QStringList Captions(const QList<Popup>& popups);
    static QStringList Texts(const QList<Popup>& popups);
    // Called as each popup is recorded, so a test can look at that very moment.
    void SetWhenShown(std::function<void()> callback) { m_whenShown = std::move(callback); }

    // The user's answers: to Yes/No questions, and folders for the folder picker (an empty one
    // cancels it). Each queued answer is taken once, oldest first.
    void QueueAnswer(bool yes) { m_answers.append(yes); }
    void QueueFolder(const QString& folder) { m_folders.append(folder); }
    void ClearAnswers();
    qsizetype QueuedAnswers() const { return m_answers.size() + m_folders.size(); }
    void SetStandingAnswer(bool yes) { m_standingAnswer = yes; }
    bool StandingAnswer() const { return m_standingAnswer; }

    // For the popups: records one that is about to open. False when not recording: it opens.
    bool Record(Popup popup);
    std::optional<bool> TakeAnswer();
    std::optional<QString> TakeFolder();

private:
    bool m_recording = false;
    QList<Popup> m_popups;
    std::function<void()> m_whenShown;
    QList<bool> m_answers;
    QStringList m_folders;
    bool m_standingAnswer = true;
};
