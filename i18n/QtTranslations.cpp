#include "i18n/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString& Folder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QTranslator>& Installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

QString QtTranslations::CatalogueName(int languageIndex)
{
    // Qt ships Portuguese as Brazilian Portuguese only.
    static const std::array<QString, 11> suffixes{
        u"en"_s,    u"fr"_s, u"ru"_s, u"ko"_s, u"es"_s,    u"zh_CN"_s,
        u"zh_TW"_s, u"de"_s, u"it"_s, u"ja"_s, u"pt_BR"_s,
    };
    const int index = languageIndex >= 1 && languageIndex <= 10 ? languageIndex : 0;
    return u"qtbase_"_s + suffixes[index];
}

bool QtTranslations::Install(int languageIndex)
{
    if (!QCoreApplication::instance())
        return false;
    if (Installed()) {
        QCoreApplication::removeTranslator(Installed().get());
        Installed().reset();
    }
    if (CatalogueName(languageIndex) == "qtbase_en"_L1)
        return true;
    const QString folder = Folder().isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : Folder();
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(CatalogueName(languageIndex), folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    Installed() = std::move(translator);
    return true;
}

void QtTranslations::SetFolder(const QString& folder)
{
    Folder() = folder;
}
