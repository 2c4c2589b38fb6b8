#include "startup/InterfaceLanguage.h"

#include "device/ViewerHandshake.h"
#include "platform/CRegistryManager.h"
#include "platform/RegistryKey.h"
#include "platform/WindowFinder.h"
#include "startup/ViewerLanguage.h"

#include <QHash>
#include <QLocale>

using namespace Qt::StringLiterals;

int InterfaceLanguage::IndexOfViewerName(const QString& name)
{
    static const QHash<QString, int> table{
        {u"french"_s, 1},
        {u"english"_s, 0},
        {u"spanish"_s, 4},
        {u"korean"_s, 3},
        {u"chinesesimplified"_s, 5},
        {u"chinesetraditional"_s, 6},
        {u"russian"_s, 2},
        {u"german"_s, 7},
        {u"italian"_s, 8},
        {u"japanese"_s, 9},
        {u"portuguese"_s, 10},
    };
    return table.value(name.toLower(), 0);
}

int InterfaceLanguage::IndexOfDeviceCode(const QString& code)
{
    // Compared exactly: "FR" or "zh-Hant" select nothing.
    static const QHash<QString, int> table{
        {u"fr"_s, 1}, {u"fr-CA"_s, 1}, {u"es"_s, 4}, {u"zh-Hans"_s, 5}, {u"zh-Hant-HK"_s, 6},
        {u"en"_s, 0}, {u"en-GB"_s, 0}, {u"ko"_s, 3}, {u"de"_s, 7},      {u"it"_s, 8},
        {u"ja"_s, 9}, {u"pt"_s, 10},   {u"ru"_s, 2},
    };
    return table.value(code, 0);
}

int InterfaceLanguage::ChooseInterfaceLanguage(bool viewerWindowOpen, const QString& viewerLanguageName,
                                               const QStringList& deviceCodes, qint32 deviceLanguage)
{
    if (viewerWindowOpen)
        return viewerLanguageName.isEmpty() ? 0 : IndexOfViewerName(viewerLanguageName);
    // A position outside the card's list names no language: English, as everywhere else.
    if (deviceLanguage < 0 || deviceLanguage >= deviceCodes.size())
        return 0;
    return IndexOfDeviceCode(deviceCodes[deviceLanguage]);
}

bool InterfaceLanguage::ReadViewerLanguage(const CRegistryManager& registry)
{
    // The viewer writes this value; a longer one than the 260-byte buffer counts as unreadable.
    constexpr qsizetype BufferBytes = 260;
    ViewerLanguage& viewer = ViewerLanguage::Instance();
    viewer.SetName(QString());
    RegistryKey key;
    if (!registry.OpenKey(u"SOFTWARE\\ORBELMARK\\"_s, key))
        return false;
    QString value;
    const bool ok = registry.QueryStringValue(key, u"LANGUAGE"_s, BufferBytes, value);
    key.Close();
    if (ok)
        viewer.SetName(value);
    return ok;
}

int InterfaceLanguage::ChooseInterfaceLanguage(const WindowFinder& windows, const QStringList& deviceCodes,
                                               qint32 deviceLanguage)
{
    return ChooseInterfaceLanguage(windows.HasTopLevelWindow(ViewerHandshake::ViewerTitle),
        ViewerLanguage::Instance().Name(),
                                   deviceCodes, deviceLanguage);
}

int InterfaceLanguage::IndexOfLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::French:
        return 1;
    case QLocale::Russian:
        return 2;
    case QLocale::Korean:
        return 3;
    case QLocale::Spanish:
        return 4;
    case QLocale::Chinese: {
        // Hong Kong, Macao and Taiwan write traditional characters even when the script is not named.
        const QLocale::Territory territory = locale.territory();
        const bool traditional =
            locale.script() == QLocale::TraditionalHanScript ||
            (locale.script() != QLocale::SimplifiedHanScript &&
             (territory == QLocale::HongKong || territory == QLocale::Macao || territory == QLocale::Taiwan));
        return traditional ? 6 : 5;
    }
    case QLocale::German:
        return 7;
    case QLocale::Italian:
        return 8;
    case QLocale::Japanese:
        return 9;
    case QLocale::Portuguese:
        return 10;
    default:
        return 0;
    }
}

int InterfaceLanguage::ChooseLanguageWithoutCard(bool viewerWindowOpen, const QString& viewerLanguageName,
                                                 const QLocale& pcLocale)
{
    if (viewerWindowOpen)
        return ChooseInterfaceLanguage(true, viewerLanguageName, {}, 0);
    return IndexOfLocale(pcLocale);
}

int InterfaceLanguage::ChooseLanguageWithoutCard(const WindowFinder& windows, const QLocale& pcLocale)
{
    return ChooseLanguageWithoutCard(windows.HasTopLevelWindow(ViewerHandshake::ViewerTitle),
        ViewerLanguage::Instance().Name(),
                                     pcLocale);
}
