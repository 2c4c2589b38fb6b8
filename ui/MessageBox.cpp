#include "ui/MessageBox.h"

#include <QMessageBox>

void MessageBox::Show(QWidget* parent, const QString& text)
{
    if (s_recording) {
        s_recorded.append(text);
        return;
    }
    // The window's own (translated) title; before the window has one, the program's name.
    const QString title = parent && !parent->windowTitle().isEmpty() ? parent->windowTitle()
                                                                     : QStringLiteral("Dash Cam Settings");
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // the main window stays on top too
    box.exec();
}

void MessageBox::SetRecording(bool recording)
{
    s_recording = recording;
    s_recorded.clear();
}

QStringList MessageBox::TakeRecorded()
{
    return std::exchange(s_recorded, {});
}
