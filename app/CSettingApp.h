#pragma once

#include <QStringList>

class QLocale;

// The application: starts the toolkit, takes the card root from the command line and runs the
// settings window modally; the process ends when the window closes.
class CSettingApp final
{
public:
    CSettingApp() = delete;

    static int Run(int argc, char* argv[]);

    // The card root from the arguments (program name first): the one argument, or empty text
    // when there is none or more than one. A folder gets its trailing separator, since card
    // files are addressed as the root followed directly by their name.
    static QString CardRootFromArguments(const QStringList& arguments);

    // Started without an argument the program looks for the card among the mounted file systems
    // and asks the user when it finds several or none, in the viewer's language or else the
    // PC's. Empty when the user gives up.
    static QString CardRootWithoutArguments(const QLocale& pcLocale);
};
