#include "app/CSettingApp.h"

#include "app/CSettingDlg.h"
#include "settings/CardRoot.h"
#include "ui/PngResource.h"
#include "ui/SkinFont.h"

#include <QApplication>

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

int CSettingApp::Run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CardRoot::set(CardRootFromArguments(QApplication::arguments()));
    // Decode the skin while the fonts are set up and the card is read.
    if (!CardRoot::isEmpty())
        PngResource::Preload(CSettingDlg::SkinImageIds());
    SkinFont::EnsureRegistered();

    CSettingDlg window;
    if (window.RunStartupSequence(QApplication::applicationFilePath()))
        window.exec();
    PngResource::FinishPreload(); // before the application goes
    return 0;
}
