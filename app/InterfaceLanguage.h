#pragma once

#include <QString>
#include <QStringList>

class CRegistryManager;
class WindowFinder;

// The editor speaks the maker's PC viewer's language while the viewer is open, and otherwise
// the camera's own menu language. Chosen once at start-up.
class InterfaceLanguage final
{
public:
    static inline const QString ViewerWindowTitle = QStringLiteral("ORBELMARK DASHCAM PC VIEWER");

    // The viewer's language name from the registry (HKLM "SOFTWARE\ORBELMARK\", value
    // "LANGUAGE"); empty when missing or unreadable. Process-wide, read once.
    static QString& ViewerLanguageName();
    static bool ReadViewerLanguage(const CRegistryManager& registry);

    // Index 0 English ... 10 Portuguese.
    static int ChooseInterfaceLanguage(bool viewerWindowOpen, const QString& viewerLanguageName,
                                       const QStringList& deviceCodes, qint32 deviceLanguage);
    static int ChooseInterfaceLanguage(const WindowFinder& windows, const QStringList& deviceCodes,
                                       qint32 deviceLanguage);

    static int IndexOfViewerName(const QString& name);
    static int IndexOfDeviceCode(const QString& code);
};
