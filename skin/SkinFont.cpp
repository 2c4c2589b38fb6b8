#include "skin/SkinFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QPair>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kFamily = u"Tahoma"_s;

// Adapts Wine's Tahoma to the metrics the skin was laid out with, where a font's cell height
// is its full ascent + descent and small sizes are drawn from the outlines:
// - the font asks for its typographic line metrics (OS/2 fsSelection bit 7), which make a
//   line about a fifth lower; clearing the bit gives the full cell height;
// - its embedded bitmap strikes carry their own, smaller line metrics and unsmoothed glyphs;
//   renaming their tables hides them, so every size is drawn antialiased from the outlines.
void AdaptTahoma(char* font, qsizetype size)
{
    const auto u16 = [font](qsizetype at) { return qFromBigEndian<quint16>(font + at); };
    const auto u32 = [font](qsizetype at) { return qFromBigEndian<quint32>(font + at); };
    if (size < 12)
        return;
    const int tables = u16(4);
    for (int i = 0; i < tables; ++i) {
        const qsizetype entry = 12 + 16 * qsizetype(i);
        if (entry + 16 > size)
            return;
        const QByteArrayView tag(font + entry, 4);
        if (tag == "EBLC" || tag == "EBDT" || tag == "EBSC") {
            font[entry] = 'x';
        } else if (tag == "OS/2") {
            const qsizetype fsSelection = qsizetype(u32(entry + 8)) + 62;
            if (fsSelection + 2 > size)
                continue;
            qToBigEndian<quint16>(u16(fsSelection) & ~quint16(0x80), font + fsSelection);
        }
    }
}

// The registered fonts are read in place from private (copy-on-write) mappings of their
// files, which live as long as the process: only the few pages patched above are copied,
// instead of reading both files into memory at start-up.
std::vector<std::unique_ptr<QFile>>& MappedFonts()
{
    static std::vector<std::unique_ptr<QFile>> files;
    return files;
}

} // namespace

QFont SkinFont::Create(int cellHeight, bool bold)
{
    // Every button and label asks for the same few fonts; fitting one loads several sizes.
    auto& fitted = Fitted();
    const auto key = qMakePair(cellHeight, bold);
    if (const auto found = fitted.constFind(key); found != fitted.cend())
        return *found;
    const QFont font = Fit(cellHeight, bold);
    fitted.insert(key, font);
    return font;
}

QHash<QPair<int, bool>, QFont>& SkinFont::Fitted()
{
    static QHash<QPair<int, bool>, QFont> fitted;
    return fitted;
}

QString& SkinFont::Fallback()
{
    static QString family;
    return family;
}

QString SkinFont::CjkFamily(int languageIndex)
{
    switch (languageIndex) {
    case 3:
        return u"Noto Sans CJK KR"_s;
    case 5:
        return u"Noto Sans CJK SC"_s;
    case 6:
        return u"Noto Sans CJK TC"_s;
    case 9:
        return u"Noto Sans CJK JP"_s;
    default:
        return QString();
    }
}

void SkinFont::SetInterfaceLanguage(int languageIndex)
{
    const QString family = CjkFamily(languageIndex);
    if (family == Fallback())
        return;
    Fallback() = family;
    Fitted().clear();
}

QFont SkinFont::Fit(int cellHeight, bool bold)
{
    QFont font(kFamily);
    if (!Fallback().isEmpty())
        font.setFamilies({kFamily, Fallback()});
    font.setBold(bold);
    font.setItalic(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    const int wanted = std::max(1, cellHeight);
    // Ascent + descent exceed the em size, so the fitting pixel size lies at or below the
    // cell height; step down until the cell fits.
    for (int pixels = wanted; pixels >= 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= wanted)
            return font;
    }
    font.setPixelSize(1);
    return font;
}

QStringList SkinFont::Lines(const QString& text)
{
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    lines.replace(u'\r', u'\n');
    return lines.split(u'\n');
}

QSize SkinFont::TextExtent(const QFont& font, const QString& text)
{
    if (text.isEmpty())
        return QSize(0, 0);
    const QFontMetrics metrics(font);
    const QStringList lines = Lines(text);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return QSize(width, int(lines.size()) * metrics.height());
}

bool SkinFont::EnsureRegistered()
{
    if (QFontDatabase::hasFamily(kFamily))
        return true;
    const QStringList files = {u"/usr/share/wine/fonts/tahoma.ttf"_s,
                               u"/usr/share/wine/fonts/tahomabd.ttf"_s};
    for (const QString& path : files) {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly))
            continue;
        const qint64 size = file->size();
        uchar* data = size > 0 ? file->map(0, size, QFileDevice::MapPrivateOption) : nullptr;
        if (!data)
            continue;
        char* font = reinterpret_cast<char*>(data);
        AdaptTahoma(font, size);
        QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(font, size));
        MappedFonts().push_back(std::move(file));
    }
    Fitted().clear(); // sizes fitted to another family no longer hold
    return QFontDatabase::hasFamily(kFamily);
}
