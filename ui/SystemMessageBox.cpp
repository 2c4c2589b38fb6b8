#include "ui/SystemMessageBox.h"

#include "ui/SkinFont.h"

#include <utility>

SystemMessageBox::AnswerHook& SystemMessageBox::Hook()
{
    static AnswerHook hook;
    return hook;
}

void SystemMessageBox::SetAnswerHook(AnswerHook hook)
{
    Hook() = std::move(hook);
}

QMessageBox::StandardButton SystemMessageBox::Show(QWidget* parent, const QString& caption,
                                                   const QString& text, QMessageBox::StandardButtons buttons)
{
    if (const AnswerHook& hook = Hook())
        return hook(Shown{caption, text, buttons});
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, parent);
    box.setFont(SkinFont::Create(13, false));
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // the main window stays on top too
    // Closing the box, or Esc, gives its No (or its only) button.
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
