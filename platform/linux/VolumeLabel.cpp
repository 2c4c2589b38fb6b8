#include "platform/linux/VolumeLabel.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kMaxLabelLength = 11;

// What the camera's own format writes when the settings carry no name.
QString OrFallback(QString label)
{
    while (label.endsWith(u' '))
        label.chop(1);
    return label.isEmpty() ? u"K410"_s : label;
}

} // namespace

QString VolumeLabel::ForFat(const QString& label)
{
    static const QString forbidden = u"\"*+,./:;<=>?[\\]|"_s;
    QString out;
    for (const QChar c : label) {
        if (out.size() == kMaxLabelLength)
            break;
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || forbidden.contains(c))
            continue;
        // A leading blank would make the label look empty to some systems.
        if (u == u' ' && out.isEmpty())
            continue;
        out += c.toUpper();
    }
    return OrFallback(out);
}

QString VolumeLabel::ForExfat(const QString& label)
{
    QString out;
    for (qsizetype i = 0; i < label.size(); ++i) {
        const QChar c = label.at(i);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            continue;
        // Keep a surrogate pair whole or not at all.
        const qsizetype width = c.isHighSurrogate() && i + 1 < label.size() ? 2 : 1;
        if (c.isSurrogate() && width == 1)
            continue;
        if (out.size() + width > kMaxLabelLength)
            break;
        out += label.mid(i, width);
        i += width - 1;
    }
    while (out.startsWith(u' '))
        out.remove(0, 1);
    return OrFallback(out);
}
