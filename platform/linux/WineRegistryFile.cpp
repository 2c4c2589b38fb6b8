#include "platform/linux/WineRegistryFile.h"

#include <QByteArrayView>
#include <algorithm>

namespace {

// The registry's own limits; a key beyond them is treated as damage, not as data.
constexpr qsizetype kMaxKeyNameChars = 255;
constexpr qsizetype kMaxKeyDepth = 512;

constexpr QByteArrayView kHeader = "WINE REGISTRY Version 2";

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

qsizetype SkipSpaces(QByteArrayView text, qsizetype pos)
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

// Hands out the file's lines without their line ends.
class LineReader final
{
public:
    explicit LineReader(const QByteArray& content) : m_content(content) {}

    bool Next(QByteArrayView& line)
    {
        if (m_pos >= m_content.size())
            return false;
        qsizetype end = m_content.indexOf('\n', m_pos);
        if (end < 0)
            end = m_content.size();
        line = QByteArrayView(m_content).sliced(m_pos, end - m_pos);
        if (line.endsWith('\r'))
            line.chop(1);
        m_pos = end + 1;
        return true;
    }

private:
    const QByteArray& m_content;
    qsizetype m_pos = 0;
};

// Decodes Wine's escaped text up to endChar: \a \b \e \f \n \r \t \v, \x with up to four hex
// digits, up to three octal digits, and a backslash before any other character stands for that
// character. Bytes stand for the code points of the same number. Returns the number of bytes
// consumed including endChar, or -1 when the text ends first.
qsizetype ParseEscaped(QByteArrayView text, char endChar, QString& out)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] != endChar) {
        const char c = text[i++];
        if (c != '\\') {
            out.append(QChar(char16_t(static_cast<uchar>(c))));
            continue;
        }
        if (i >= text.size())
            return -1;
        const char escaped = text[i++];
        switch (escaped) {
        case 'a':
            out.append(QChar(0x07));
            break;
        case 'b':
            out.append(QChar(0x08));
            break;
        case 'e':
            out.append(QChar(0x1b));
            break;
        case 'f':
            out.append(QChar(0x0c));
            break;
        case 'n':
            out.append(QChar(0x0a));
            break;
        case 'r':
            out.append(QChar(0x0d));
            break;
        case 't':
            out.append(QChar(0x09));
            break;
        case 'v':
            out.append(QChar(0x0b));
            break;
        case 'x': {
            char16_t unit = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && HexDigit(text[i]) >= 0) {
                unit = static_cast<char16_t>(unit * 16 + HexDigit(text[i++]));
                ++digits;
            }
            out.append(digits == 0 ? QChar(u'x') : QChar(unit));
            break;
        }
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
            char16_t unit = static_cast<char16_t>(escaped - '0');
            for (int digits = 1; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++digits)
                unit = static_cast<char16_t>(unit * 8 + (text[i++] - '0'));
            out.append(QChar(unit));
            break;
        }
        default:
            out.append(QChar(char16_t(static_cast<uchar>(escaped))));
            break;
        }
    }
    if (i >= text.size())
        return -1;
    return i + 1;
}

QByteArray Utf16WithTerminator(const QString& text)
{
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        data.append(static_cast<char>(c.unicode() & 0xff));
        data.append(static_cast<char>(c.unicode() >> 8));
    }
    data.append('\0');
    data.append('\0');
    return data;
}

QString FoldedPath(const QStringList& components)
{
    QStringList folded;
    folded.reserve(components.size());
    for (const QString& component : components)
        folded.append(component.toCaseFolded());
    return folded.join(u'\\');
}

QString FoldedPath(const QString& path)
{
    return FoldedPath(path.split(u'\\', Qt::SkipEmptyParts));
}

std::optional<QStringList> ParseKeyLine(QByteArrayView afterBracket)
{
    QString name;
    if (ParseEscaped(afterBracket, ']', name) < 0)
        return std::nullopt;
    const QStringList components = name.split(u'\\', Qt::SkipEmptyParts);
    if (components.size() > kMaxKeyDepth)
        return std::nullopt;
    for (const QString& component : components) {
        if (component.size() > kMaxKeyNameChars)
            return std::nullopt;
    }
    return components;
}

// Comma-separated hex bytes; a line that ends in a backslash continues on the next line.
std::optional<QByteArray> ParseHexData(QByteArrayView text, LineReader& lines)
{
    QByteArray data;
    for (;;) {
        qsizetype pos = SkipSpaces(text, 0);
        while (pos < text.size() && HexDigit(text[pos]) >= 0) {
            int value = HexDigit(text[pos++]);
            if (pos < text.size() && HexDigit(text[pos]) >= 0)
                value = value * 16 + HexDigit(text[pos++]);
            if (pos < text.size() && HexDigit(text[pos]) >= 0)
                return std::nullopt; // more than one byte in one field
            data.append(static_cast<char>(value));
            pos = SkipSpaces(text, pos);
            if (pos < text.size() && text[pos] == ',')
                pos = SkipSpaces(text, pos + 1);
        }
        if (pos >= text.size())
            return data;
        if (text[pos] != '\\' || SkipSpaces(text, pos + 1) != text.size() || !lines.Next(text))
            return std::nullopt;
    }
}

std::optional<quint32> ParseHexNumber(QByteArrayView text, qsizetype& pos)
{
    const qsizetype start = pos;
    quint32 number = 0;
    while (pos < text.size() && HexDigit(text[pos]) >= 0 && pos - start < 8)
        number = number * 16 + static_cast<quint32>(HexDigit(text[pos++]));
    if (pos == start || (pos < text.size() && HexDigit(text[pos]) >= 0))
        return std::nullopt;
    return number;
}

std::optional<RegistryValue> ParseValueData(QByteArrayView text, LineReader& lines)
{
    struct StringTag
    {
        QByteArrayView m_tag;
        quint32 m_type;
    };
    static constexpr StringTag kStringTags[] = {
        {"\"", RegistryValue::String},
        {"str:\"", RegistryValue::String},
        {"str(2):\"", RegistryValue::ExpandString},
        {"str(7):\"", RegistryValue::MultiString},
    };
    for (const StringTag& tag : kStringTags) {
        if (!text.startsWith(tag.m_tag))
            continue;
        QString decoded;
        if (ParseEscaped(text.sliced(tag.m_tag.size()), '"', decoded) < 0)
            return std::nullopt;
        return RegistryValue{tag.m_type, Utf16WithTerminator(decoded)};
    }
    if (text.startsWith("dword:")) {
        qsizetype pos = 6;
        const std::optional<quint32> number = ParseHexNumber(text, pos);
        if (!number || SkipSpaces(text, pos) != text.size())
            return std::nullopt;
        QByteArray data(4, '\0');
        for (int i = 0; i < 4; ++i)
            data[i] = static_cast<char>((*number >> (8 * i)) & 0xff);
        return RegistryValue{RegistryValue::DWord, data};
    }
    quint32 type = RegistryValue::Binary;
    qsizetype pos = 0;
    if (text.startsWith("hex:")) {
        pos = 4;
    } else if (text.startsWith("hex(")) {
        pos = 4;
        const std::optional<quint32> number = ParseHexNumber(text, pos);
        if (!number || !text.sliced(pos).startsWith("):"))
            return std::nullopt;
        type = *number;
        pos += 2;
    } else {
        return std::nullopt;
    }
    std::optional<QByteArray> data = ParseHexData(text.sliced(pos), lines);
    if (!data)
        return std::nullopt;
    return RegistryValue{type, *data};
}

} // namespace

std::optional<WineRegistryFile> WineRegistryFile::Parse(const QByteArray& content)
{
    LineReader lines(content);
    QByteArrayView line;
    if (!lines.Next(line) || line != kHeader)
        return std::nullopt;

    WineRegistryFile file;
    Key* current = nullptr;
    while (lines.Next(line)) {
        const qsizetype start = SkipSpaces(line, 0);
        if (start >= line.size())
            continue;
        const QByteArrayView text = line.sliced(start);
        switch (text[0]) {
        case '[': {
            const std::optional<QStringList> components = ParseKeyLine(text.sliced(1));
            if (!components) {
                // Values after a damaged key line belong to no key we could name.
                current = nullptr;
                break;
            }
            Key& key = file.m_keys[FoldedPath(*components)];
            if (key.m_components.isEmpty())
                key.m_components = *components;
            current = &key;
            break;
        }
        case '@':
        case '"': {
            if (!current)
                break;
            QString name;
            qsizetype pos = 1;
            if (text[0] == '"') {
                const qsizetype used = ParseEscaped(text.sliced(1), '"', name);
                if (used < 0)
                    break;
                pos += used;
            }
            pos = SkipSpaces(text, pos);
            if (pos >= text.size() || text[pos] != '=')
                break;
            pos = SkipSpaces(text, pos + 1);
            std::optional<RegistryValue> value = ParseValueData(text.sliced(pos), lines);
            if (value)
                file.SetValue(*current, name, std::move(*value));
            break;
        }
        default:
            // Options (#time=, #class=, #link, #arch=), comments and anything unknown.
            break;
        }
    }
    return file;
}

void WineRegistryFile::SetValue(Key& key, const QString& name, RegistryValue value)
{
    const QString folded = name.toCaseFolded();
    const auto found = key.m_valueIndex.constFind(folded);
    if (found != key.m_valueIndex.cend()) {
        key.m_values[*found] = std::move(value);
        return;
    }
    key.m_valueIndex.insert(folded, key.m_values.size());
    key.m_valueNames.append(name);
    key.m_values.append(std::move(value));
}

const WineRegistryFile::Key* WineRegistryFile::FindKey(const QString& foldedPath) const
{
    const auto found = m_keys.find(foldedPath);
    return found == m_keys.end() ? nullptr : &found->second;
}

bool WineRegistryFile::HasKey(const QString& keyPath) const
{
    const QString folded = FoldedPath(keyPath);
    if (folded.isEmpty() || FindKey(folded))
        return true;
    const QString prefix = folded + u'\\';
    const auto next = m_keys.lower_bound(prefix);
    return next != m_keys.end() && next->first.startsWith(prefix);
}

std::optional<QStringList> WineRegistryFile::SubkeyNames(const QString& keyPath) const
{
    if (!HasKey(keyPath))
        return std::nullopt;
    const QString folded = FoldedPath(keyPath);
    const QString prefix = folded.isEmpty() ? QString() : folded + u'\\';
    const qsizetype depth = folded.isEmpty() ? 0 : folded.count(u'\\') + 1;

    QHash<QString, QString> byFoldedName;
    for (auto it = m_keys.lower_bound(prefix); it != m_keys.end() && it->first.startsWith(prefix); ++it) {
        const QStringList& components = it->second.m_components;
        if (components.size() <= depth)
            continue;
        const QString& name = components.at(depth);
        const QString foldedName = name.toCaseFolded();
        if (!byFoldedName.contains(foldedName))
            byFoldedName.insert(foldedName, name);
    }
    QStringList names = byFoldedName.values();
    // Wine keeps subkeys ordered by their upper-case names.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.toUpper().compare(b.toUpper());
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

std::optional<QStringList> WineRegistryFile::ValueNames(const QString& keyPath) const
{
    if (const Key* key = FindKey(FoldedPath(keyPath)))
        return key->m_valueNames;
    if (HasKey(keyPath))
        return QStringList();
    return std::nullopt;
}

std::optional<RegistryValue> WineRegistryFile::Value(const QString& keyPath, const QString& valueName) const
{
    const Key* key = FindKey(FoldedPath(keyPath));
    if (!key)
        return std::nullopt;
    const auto found = key->m_valueIndex.constFind(valueName.toCaseFolded());
    if (found == key->m_valueIndex.cend())
        return std::nullopt;
    return key->m_values.at(*found);
}
