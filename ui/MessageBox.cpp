#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

void MessageBox::Show(QWidget* parent, const QString& text)
{
    if (s_recording) {
        s_recorded.append(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
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
