#include "i18n/LanguagePack.h"

#include <QDir>
#include <QFile>
#include <array>

using namespace Qt::StringLiterals;

namespace {

QString& Folder()
{
    static QString folder = u":/LANGUAGE"_s;
    return folder;
}

} // namespace

QString LanguagePack::ResourceName(int index)
{
    static const std::array<QString, 11> names{
        u"english"_s,
        u"french"_s,
        u"russian"_s,
        u"korean"_s,
        u"spanish"_s,
        u"chinesesimplified"_s,
        u"chinesetraditional"_s,
        u"german"_s,
        u"italian"_s,
        u"japanese"_s,
        u"portuguese"_s,
    };
    return index >= 1 && index <= 10 ? names[index] : names[0];
}

void LanguagePack::SetResourceFolder(const QString& folder)
{
    Folder() = folder;
}

QString LanguagePack::ResourceFolder()
{
    return Folder();
}

LanguagePack& LanguagePack::Instance()
{
    static LanguagePack pack;
    return pack;
}

// Resource names are stored in capitals and looked up without regard to case.
std::optional<LanguageDocument> LanguagePack::LoadDocument(const QString& name, bool* found)
{
    const QDir folder(Folder());
    for (const QString& entry : folder.entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QFile file(folder.filePath(entry));
        if (!file.open(QIODevice::ReadOnly))
            break;
        *found = true;
        return LanguageDocument::Parse(file.readAll());
    }
    *found = false;
    return std::nullopt;
}

bool LanguagePack::Load(const QString& name)
{
    m_loaded = false;
    bool found = false;
    if (!name.isEmpty()) {
        m_primary = LoadDocument(name, &found);
        if (!found)
            return false;
    } else {
        m_primary.reset();
    }
    m_fallback = LoadDocument(u"english"_s, &found);
    if (!found)
        return false;
    m_loaded = m_primary.has_value() || m_fallback.has_value();
    return m_loaded;
}

QString LanguagePack::Text(QStringView key) const
{
    if (!m_loaded)
        return u"Error Loading"_s;
    QString text;
    if (m_primary)
        text = m_primary->Value(key);
    if (text.isEmpty())
        text = m_fallback ? m_fallback->Value(key) : QString();
    if (text.isNull())
        text = u""_s;
    text.replace(u"\\n"_s, u"\n"_s);
    text.replace(u"\\r"_s, u"\r"_s);
    return text;
}

bool LoadLanguagePack(const QString& name)
{
    return LanguagePack::Instance().Load(name);
}

QString GetText(QStringView key)
{
    return LanguagePack::Instance().Text(key);
}
