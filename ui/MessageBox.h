#pragma once

#include <QString>

class QWidget;

// The program's standard (system-looking) message boxes. While PopupRecorder records, a box
// opens no window: it is recorded and a question takes the recorder's answer.
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
};
