#include "ui/MessageBox.h"

#include "platform/PopupRecorder.h"
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
    if (PopupRecorder::Instance().Record({caption, text, {}}))
        return;
    Exec(parent, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::Ask(QWidget* parent, const QString& caption, const QString& text)
{
    PopupRecorder& recorder = PopupRecorder::Instance();
    if (recorder.Record({caption, text, {}}))
        return recorder.TakeAnswer().value_or(recorder.StandingAnswer());
    return Exec(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}
