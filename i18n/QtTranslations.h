#pragma once

#include <QString>

// Qt's own texts (the buttons of the standard message boxes, for one) in the interface language.
// They come from Qt's translation catalogues, installed once for the whole process.
class QtTranslations final
{
public:
    QtTranslations() = delete;

    // The catalogue name of a language index (0 English ... 10 Portuguese), such as "qtbase_fr".
    static QString CatalogueName(int languageIndex);

    // Replaces the Qt catalogue installed before; English needs none. False when the catalogue
    // could not be loaded (Qt's English texts are used then). Needs the application object.
    static bool Install(int languageIndex);

    // Where the catalogues are looked for; Qt's own folder unless a test says otherwise.
    static void SetFolder(const QString& folder);
};
