#include "settings/AnsiCodePage.h"

namespace AnsiCodePage {

QString toUnicode(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray fromUnicode(const QString& text)
{
    // Characters outside Latin-1 become '?', as a best-fit conversion would.
    return text.toLatin1();
}

} // namespace AnsiCodePage
