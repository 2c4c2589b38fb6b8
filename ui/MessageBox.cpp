#include "ui/MessageBox.h"

#include "skin/SkinFont.h"

#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace {

QString DefaultTitle(QWidget* parent)
{
    // The window's own (translated) title; before the window has one, the program's name.
    return parent && !parent->window()->windowTitle().isEmpty() ? parent->window()->windowTitle()
                                                                : u"Dash Cam Settings"_s;
}

int Exec(QWidget* parent, const QString& caption, QString text, QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton defaultButton)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, parent);
    // The skin's text font carries the interface language's own CJK glyphs.
    box.setFont(SkinFont::Create(13, false));
    box.setDefaultButton(defaultButton);
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // the main window stays on top too
    return box.exec();
}

} // namespace

void MessageBox::Show(QWidget* parent, const QString& text)
{
    Show(parent, DefaultTitle(parent), text);
}

void MessageBox::Show(QWidget* parent, const QString& caption, const QString& text)
{
    if (s_recording) {
        Record(caption, text);
        return;
    }
    Exec(parent, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::Ask(QWidget* parent, const QString& caption, const QString& text)
{
    if (s_recording) {
        Record(caption, text);
        return s_nextAnswer;
    }
    return Exec(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

void MessageBox::Record(const QString& caption, const QString& text)
{
    s_recorded.append(text);
    s_recordedCaptions.append(caption);
    if (s_whenShown)
        s_whenShown();
}

void MessageBox::SetRecording(bool recording)
{
    s_recording = recording;
    s_nextAnswer = true;
    s_recorded.clear();
    s_recordedCaptions.clear();
}

QStringList MessageBox::TakeRecorded()
{
    s_recordedCaptions.clear();
    return std::exchange(s_recorded, {});
}

QStringList MessageBox::TakeRecordedCaptions()
{
    return std::exchange(s_recordedCaptions, {});
}
