#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The program's standard (system-looking) message boxes. Tests switch them to recording: a box
// then returns at once, keeps the texts it would have shown and answers a question with the
// answer set beforehand.
class MessageBox final
{
public:
    MessageBox() = delete;

    // OK box titled with the parent window's title.
    static void Show(QWidget* parent, const QString& text);
    // OK box with its own caption. Lines of text may be separated by CR LF.
    static void Show(QWidget* parent, const QString& caption, const QString& text);
    // Yes/No question, Yes the default button; true for Yes.
    static bool Ask(QWidget* parent, const QString& caption, const QString& text);

    static void SetRecording(bool recording);
    static QStringList TakeRecorded();
    static QStringList TakeRecordedCaptions();
    // The answer the next recorded question gets (Yes until set otherwise).
    static void SetNextAnswer(bool yes) { s_nextAnswer = yes; }
    // Called as each recorded box would be shown, so a test can look at the moment itself.
    static void SetWhenShown(std::function<void()> callback) { s_whenShown = std::move(callback); }

private:
    static void Record(const QString& caption, const QString& text);

    static inline bool s_recording = false;
    static inline bool s_nextAnswer = true;
    static inline QStringList s_recorded;
    static inline QStringList s_recordedCaptions;
    static inline std::function<void()> s_whenShown;
};
