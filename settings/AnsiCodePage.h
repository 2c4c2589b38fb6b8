#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The 8-bit text of the card (model name, time zone key name, the language folder's version
// file) is in the PC's ANSI code page. On Linux that is Latin-1, so every byte round-trips; a
// Windows build would use the real code page here and nowhere else.
namespace AnsiCodePage {
QString ToUnicode(QByteArrayView bytes);
QByteArray FromUnicode(const QString& text);
} // namespace AnsiCodePage
