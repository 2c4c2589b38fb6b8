#include "settings/TextLineReader.h"

#include <QIODevice>

bool TextLineReader::ReadLine(QByteArray& line)
{
    line.clear();
    bool any = false;
    bool cutAtNul = false;
    char c = 0;
    while (m_consumed < MaxFileBytes && m_device.getChar(&c)) {
        ++m_consumed;
        any = true;
        if (c == '\n')
            break;
        if (c == '\0')
            cutAtNul = true;
        if (!cutAtNul && line.size() < MaxLineBytes)
            line.append(c);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return any;
}
