#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's plain OK message box. Tests switch it to recording: the box then returns at
// once and keeps the texts it would have shown.
class MessageBox final
{
public:
    MessageBox() = delete;

    static void Show(QWidget* parent, const QString& text);

    static void SetRecording(bool recording);
    static QStringList TakeRecorded();

private:
    static inline bool s_recording = false;
    static inline QStringList s_recorded;
};
