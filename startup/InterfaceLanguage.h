#pragma once

#include <QString>
#include <QStringList>

class CRegistryManager;
class QLocale;
class WindowFinder;

// The editor speaks the maker's PC viewer's language while the viewer is open, and otherwise
// the camera's own menu language. Chosen once at start-up.
class InterfaceLanguage final
{
public:
    // Reads the viewer's language name from the registry (HKLM "SOFTWARE\ORBELMARK\", value
    // "LANGUAGE") into ViewerLanguage.
    static bool ReadViewerLanguage(const CRegistryManager& registry);

    // Index 0 English ... 10 Portuguese.
    static int ChooseInterfaceLanguage(bool viewerWindowOpen, const QString& viewerLanguageName,
                                       const QStringList& deviceCodes, qint32 deviceLanguage);
    static int ChooseInterfaceLanguage(const WindowFinder& windows, const QStringList& deviceCodes,
                                       qint32 deviceLanguage);

    // Before any card is known there is no camera language to follow: the PC's own language
    // stands in for it, while the open viewer still wins.
    static int ChooseLanguageWithoutCard(bool viewerWindowOpen, const QString& viewerLanguageName,
                                         const QLocale& pcLocale);
    static int ChooseLanguageWithoutCard(const WindowFinder& windows, const QLocale& pcLocale);

    static int IndexOfViewerName(const QString& name);
    // The interface language of a locale; English for a language the editor does not speak.
    static int IndexOfLocale(const QLocale& locale);
    static int IndexOfDeviceCode(const QString& code);
};
