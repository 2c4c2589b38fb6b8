#pragma once

#include <QString>
#include <QStringView>

// The memory card's root folder from the command line, one per process. Card files are
// addressed as the root followed directly by their name, so the root carries its trailing
// separator.
class CardRoot final
{
public:
    static CardRoot& Instance();

    QString Folder() const { return m_root; }
    void Set(const QString& root) { m_root = root; }
    bool IsEmpty() const { return m_root.isEmpty(); }
    QString Path(QStringView name) const { return m_root + name; }

private:
    QString m_root;
};
