#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One line of the kernel's per-process mount table.
struct MountEntry
{
    int id = -1;
    quint32 major = 0;
    quint32 minor = 0;
    QString root;       // the folder of the file system that is mounted here ("/" for all of it)
    QString mountPoint; // without a trailing '/', except for "/" itself
    QString fsType;
    QString source;
    QString superOptions;
};

// The mount table as /proc/self/mountinfo describes it, read once so that every question asked of
// it sees the same state.
class LinuxMountTable final
{
public:
    LinuxMountTable() = default;
    explicit LinuxMountTable(QList<MountEntry> entries) : m_entries(std::move(entries)) {}

    static LinuxMountTable Read(const QString& mountInfoPath);
    static LinuxMountTable Parse(const QByteArray& content);
    // A field of the table as a path: blanks, tabs, newlines and backslashes are written \ooo.
    static QString UnescapeField(const QByteArray& field);

    const QList<MountEntry>& Entries() const { return m_entries; }

    // The mount that holds absolutePath: the deepest mount point above it, and of two mounts on the
    // same point the later one, which hides the earlier. Nullptr when none does.
    const MountEntry* EntryHolding(const QString& absolutePath) const;

    // Whether path is folder or lies inside it (both absolute and clean).
    static bool IsInside(const QString& path, const QString& folder);
    // The form of a path the table is asked about: the path itself when it exists (symbolic
    // links resolved), else its clean absolute form; empty for an empty path.
    static QString AbsoluteTarget(const QString& path);

private:
    QList<MountEntry> m_entries;
};
