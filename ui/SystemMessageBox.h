#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The platform's plain modal message box (no icon) for questions and notices that are not the
// program's own skinned popup. Its text uses the skin's text font, so it is drawn with the
// glyphs of the interface language.
//
// Tests answer it without showing it: with a hook set, Show() hands the hook what it would
// have shown and returns the hook's answer.
class SystemMessageBox final
{
public:
    SystemMessageBox() = delete;

    struct Shown
    {
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    using AnswerHook = std::function<QMessageBox::StandardButton(const Shown&)>;

    static QMessageBox::StandardButton Show(QWidget* parent, const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons);

    // An empty hook shows real boxes again.
    static void SetAnswerHook(AnswerHook hook);

private:
    static AnswerHook& Hook();
};
