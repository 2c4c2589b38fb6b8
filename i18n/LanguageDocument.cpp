#include "i18n/LanguageDocument.h"

#include "platform/DebugOutput.h"
#include "settings/AnsiCodePage.h"

using namespace Qt::StringLiterals;

namespace {

// Only A to Z fold, so matching is the same whatever the locale.
QString FoldCase(QStringView text)
{
    QString folded = text.toString();
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

bool IsQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

qsizetype SkipBlanks(const QString& line, qsizetype i)
{
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return i;
}

} // namespace

std::optional<LanguageDocument> LanguageDocument::Parse(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return std::nullopt;
    QString text;
    if (quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xFE) {
        const QByteArrayView body = bytes.sliced(2);
        const qsizetype characters = body.size() / 2;
        text.resize(characters);
        for (qsizetype i = 0; i < characters; ++i)
            text[i] = QChar(ushort(quint8(body[2 * i]) | (quint8(body[2 * i + 1]) << 8)));
    } else {
        const qsizetype nul = bytes.indexOf('\0');
        text = AnsiCodePage::ToUnicode(nul < 0 ? bytes : bytes.first(nul));
    }
    LanguageDocument document;
    document.ParseText(text);
    return document;
}

void LanguageDocument::ParseText(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    const QStringView body = nul < 0 ? QStringView(text) : QStringView(text).first(nul);
    QString line;
    for (const QChar c : body) {
        if (c == u'\n') {
            ParseLine(line);
            line.clear();
        } else if (c != u'\r') {
            line.append(c);
        }
    }
    ParseLine(line);
}

void LanguageDocument::ParseLine(const QString& rawLine)
{
    const QString line = rawLine.trimmed();
    if (line.isEmpty())
        return;
    if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
        const QString name = line.mid(1, line.size() - 2).trimmed();
        if (name.isEmpty()) {
            m_currentSection.reset();
            return;
        }
        const QString folded = FoldCase(name);
        m_sections[folded]; // find or create
        m_currentSection = folded;
        if (!m_defaultSection && folded == u"text")
            m_defaultSection = folded;
        return;
    }
    if (line.startsWith(u';'))
        return;
    if (!m_currentSection)
        return;
    if (!line.contains(u'=')) {
        m_sections[*m_currentSection].insert(FoldCase(line), QString());
        return;
    }
    ParseKeyLine(line);
}

void LanguageDocument::ParseKeyLine(const QString& line)
{
    QString key;
    qsizetype i = 0;
    if (IsQuote(line[0])) {
        const qsizetype close = line.indexOf(line[0], 1);
        if (close < 0 || close + 1 >= line.size())
            return;
        key = line.mid(1, close - 1);
        i = close + 1;
    } else {
        const qsizetype equals = line.indexOf(u'=');
        key = line.left(equals).trimmed();
        i = equals;
    }
    if (key.isEmpty())
        return;
    i = SkipBlanks(line, i);
    if (i >= line.size() || line[i] != u'=')
        return;
    i = SkipBlanks(line, i + 1);

    QString value;
    if (i < line.size() && IsQuote(line[i])) {
        const qsizetype close = line.indexOf(line[i], i + 1);
        value = close < 0 ? line.mid(i + 1) : line.mid(i + 1, close - i - 1);
    } else {
        const qsizetype comment = line.indexOf(u';', i);
        value = (comment < 0 ? line.mid(i) : line.mid(i, comment - i)).trimmed();
    }
    m_sections[*m_currentSection].insert(FoldCase(key), value);
    DebugOutput(u"["_s + key + u"] = \""_s + value + u"\"\n"_s);
}

QString LanguageDocument::Value(QStringView key) const
{
    if (!m_defaultSection)
        return QString();
    const auto section = m_sections.constFind(*m_defaultSection);
    if (section == m_sections.cend())
        return QString();
    const auto found = section->constFind(FoldCase(key));
    return found == section->cend() ? QString() : *found;
}
