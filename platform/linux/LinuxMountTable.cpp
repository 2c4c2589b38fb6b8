#include "platform/linux/LinuxMountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A machine with many containers has a long mount table, but never this long.
constexpr qint64 kMaxMountTableBytes = 16 * 1024 * 1024;

} // namespace

LinuxMountTable LinuxMountTable::Read(const QString& mountInfoPath)
{
    QFile file(mountInfoPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Kernel files report no size: read in chunks up to the limit.
    QByteArray content;
    while (content.size() < kMaxMountTableBytes) {
        const QByteArray chunk = file.read(qMin<qint64>(kMaxMountTableBytes - content.size(), 64 * 1024));
        if (chunk.isEmpty())
            break;
        content += chunk;
    }
    return Parse(content);
}

LinuxMountTable LinuxMountTable::Parse(const QByteArray& content)
{
    QList<MountEntry> entries;
    for (const QByteArray& line : content.split('\n')) {
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 10)
            continue;
        const qsizetype separator = fields.indexOf("-", 6);
        if (separator < 0 || separator + 3 > fields.size())
            continue;
        const QList<QByteArray> numbers = fields[2].split(':');
        bool idOk = false, majorOk = false, minorOk = false;
        MountEntry entry;
        entry.id = fields[0].toInt(&idOk);
        if (numbers.size() == 2) {
            entry.major = numbers[0].toUInt(&majorOk);
            entry.minor = numbers[1].toUInt(&minorOk);
        }
        entry.root = UnescapeField(fields[3]);
        entry.mountPoint = QDir::cleanPath(UnescapeField(fields[4]));
        if (!idOk || !majorOk || !minorOk || !entry.mountPoint.startsWith(u'/'))
            continue;
        entry.fsType = UnescapeField(fields[separator + 1]);
        entry.source = UnescapeField(fields[separator + 2]);
        if (separator + 3 < fields.size())
            entry.superOptions = UnescapeField(fields[separator + 3]);
        entries.append(entry);
    }
    return LinuxMountTable(std::move(entries));
}

const MountEntry* LinuxMountTable::EntryHolding(const QString& absolutePath) const
{
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : m_entries) {
        if (!IsInside(absolutePath, entry.mountPoint))
            continue;
        if (!best || entry.mountPoint.size() >= best->mountPoint.size())
            best = &entry;
    }
    return best;
}

bool LinuxMountTable::IsInside(const QString& path, const QString& folder)
{
    if (folder == "/"_L1)
        return path.startsWith(u'/');
    return path == folder ||
           (path.startsWith(folder) && path.size() > folder.size() && path.at(folder.size()) == u'/');
}

QString LinuxMountTable::AbsoluteTarget(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString LinuxMountTable::UnescapeField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return QFile::decodeName(out);
}
