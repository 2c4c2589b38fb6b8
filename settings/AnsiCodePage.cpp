#include "settings/AnsiCodePage.h"

namespace AnsiCodePage {

QString ToUnicode(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray FromUnicode(const QString& text)
{
    // Characters outside Latin-1 become '?', as a best-fit conversion would.
    return text.toLatin1();
}

} // namespace AnsiCodePage
