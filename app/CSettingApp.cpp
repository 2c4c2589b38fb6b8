#include "app/CSettingApp.h"

#include "app/CSettingDlg.h"
#include "startup/CardFinder.h"
#include "app/CardSearch.h"
#include "startup/InterfaceLanguage.h"
#include "startup/SelfRelaunch.h"
#include "i18n/LanguagePack.h"
#include "platform/CRegistryManager.h"
#include "platform/PlatformServices.h"
#include "settings/CardRoot.h"
#include "skin/PngResource.h"
#include "skin/SkinFont.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <cstdio>

using namespace Qt::StringLiterals;

QString CSettingApp::CardRootFromArguments(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return QString();
    // The argument always names the card's folder, existing or not: with the separator added
    // every card file is looked up, and written, inside it and never beside it.
    QString root = arguments[1];
    if (!root.isEmpty() && !root.endsWith(u'/'))
        root += u'/';
    return root;
}

QString CSettingApp::CardRootWithoutArguments(const QLocale& pcLocale)
{
    const PlatformServices& platform = PlatformServices::Instance();
    InterfaceLanguage::ReadViewerLanguage(CRegistryManager(platform.Registry()));
    LoadLanguagePack(LanguagePack::ResourceName(
        InterfaceLanguage::ChooseLanguageWithoutCard(*platform.Windows(), pcLocale)));
    const CardFinder finder(*platform.Volumes(), *platform.Drives());
    return CardSearch(finder).FindCardRoot();
}

int CSettingApp::Run(int argc, char* argv[])
{
    // Without a card root the user may have to be asked where the card is. With no display to
    // ask on, the program ends at once, before the toolkit would abort for want of a display.
    if (argc != 2 && !PlatformServices::Instance().Display()->IsDisplayAvailable())
        return 0;
    // A card folder but nothing to show its settings on: say so, rather than let the toolkit
    // abort. A platform chosen by name (offscreen, vnc) needs no display.
    if (argc == 2 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !PlatformServices::Instance().Display()->IsDisplayAvailable()) {
        std::fputs("dashcam-settings: no display to show the settings window on\n", stderr);
        return 0;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(DASHCAM_APP_ID));
    const QStringList arguments = QApplication::arguments(); // without the toolkit's own options
    CardRoot::Instance().Set(CardRootFromArguments(arguments));
    // A program on the card restarts from a local copy with its own folder as the card; the
    // window's start-up does that, so there is nothing to look for.
    if (arguments.size() == 1 && !PlatformServices::Instance().Drives()->IsRemovableDrive(
                                     SelfRelaunch::ProgramFolder(QApplication::applicationFilePath()))) {
        QIcon icon;
        icon.addFile(u":/icons/dashcam-settings-64.png"_s, QSize(64, 64));
        QApplication::setWindowIcon(icon);
        CardRoot::Instance().Set(CardRootWithoutArguments(QLocale::system()));
        if (CardRoot::Instance().IsEmpty())
            return 0;
    }
    // Decode the skin while the fonts are set up and the card is read.
    if (!CardRoot::Instance().IsEmpty())
        PngResource::Preload(CSettingDlg::SkinImageIds());
    SkinFont::EnsureRegistered();

    CSettingDlg window;
    if (window.RunStartupSequence(QApplication::applicationFilePath()))
        window.exec();
    PngResource::FinishPreload(); // before the application goes
    return 0;
}
