#pragma once

#include "i18n/LanguageDocument.h"

#include <QString>
#include <optional>

// The interface language: the chosen document with the English one as fallback. Loaded once at
// start-up; every text the user sees is looked up here by its key.
class LanguagePack final
{
public:
    // Resource name of a language index (0 English ... 10 Portuguese); English outside 1 to 10.
    static QString ResourceName(int index);

    bool Load(const QString& name);
    QString Text(QStringView key) const;
    bool IsLoaded() const { return m_loaded; }

    // Where the documents are found, so tests can supply their own.
    static void SetResourceFolder(const QString& folder);
    static QString ResourceFolder();

    static LanguagePack& Instance();

private:
    static std::optional<LanguageDocument> LoadDocument(const QString& name, bool* found);

    std::optional<LanguageDocument> m_primary;
    std::optional<LanguageDocument> m_fallback;
    bool m_loaded = false;
};

// The process-wide pack, under the names the rest of the program uses.
bool LoadLanguagePack(const QString& name);
QString GetText(QStringView key);
