#pragma once

#include <QString>
#include <QStringView>

// The memory card's root folder from the command line. Card files are addressed as the root
// followed directly by their name, so the root carries its trailing separator.
class CardRoot final
{
public:
    static QString get() { return s_root; }
    static void set(const QString& root) { s_root = root; }
    static bool isEmpty() { return s_root.isEmpty(); }
    static QString path(QStringView name) { return s_root + name; }

private:
    static QString s_root;
};
