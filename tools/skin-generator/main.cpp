#include "tools/skin-generator/SkinCatalogue.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using namespace Qt::StringLiterals;

// skin-generator <output-folder>: draws the skin images and the program icon into the folder.
// Only a core application: the drawing must not depend on a screen or a platform plugin.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2 || arguments.at(1).isEmpty()) {
        std::fputs("usage: skin-generator <output-folder>\n", stderr);
        return 2;
    }

    QString error;
    if (!SkinCatalogue::WriteAll(arguments.at(1), &error)) {
        std::fprintf(stderr, "skin-generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
