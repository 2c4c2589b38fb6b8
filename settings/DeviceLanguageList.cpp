#include "settings/DeviceLanguageList.h"

#include "i18n/LanguageCodeTable.h"

QStringList DeviceLanguageNames(const QStringList& codes)
{
    QStringList names;
    names.reserve(codes.size());
    for (const QString& code : codes) {
        const QString name = LanguageCodeTable::NameOf(code);
        names.append(name.isNull() ? code : name);
    }
    return names;
}
