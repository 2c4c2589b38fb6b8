#pragma once

#include <QStringList>

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
};
