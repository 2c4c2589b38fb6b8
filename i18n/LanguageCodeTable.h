#pragma once

#include <QString>
#include <QStringView>
#include <span>

// The fixed table of the camera's language codes (ISO 639, some with BCP 47 script and region
// subtags) and their English names, in the order the camera's documentation lists them.
class LanguageCodeTable final
{
public:
    struct Entry
    {
        QStringView code;
        QStringView name;
    };

    static std::span<const Entry> Entries();

    // The name of `code`, compared exactly (letter case included); a null string when unknown.
    static QString NameOf(QStringView code);
};
