#include "app/CSettingApp.h"

#include "app/CSettingDlg.h"
#include "settings/CardRoot.h"
#include "ui/PngResource.h"
#include "ui/SkinFont.h"

#include <QApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString CSettingApp::CardRootFromArguments(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return QString();
    QString root = arguments[1];
    if (!root.isEmpty() && !root.endsWith(u'/') && QFileInfo(root).isDir())
        root += u'/';
    return root;
}

int CSettingApp::Run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(u"Dash Cam Settings"_s);
    // Decode the skin while the fonts are set up and the card is read.
    PngResource::Preload(CSettingDlg::SkinImageIds());
    SkinFont::EnsureRegistered();
    CardRoot::set(CardRootFromArguments(QApplication::arguments()));

    CSettingDlg window;
    if (window.Initialise(QApplication::applicationFilePath()))
        window.exec();
    return 0;
}
