#include "startup/CardFinder.h"

#include "platform/DriveInfo.h"
#include "platform/VolumeList.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

CardFinder::CardFinder(const VolumeList& volumes, const DriveInfo& drives)
    : m_volumes(volumes), m_drives(drives)
{}

bool CardFinder::HoldsSettingsFile(const QString& root)
{
    return QFileInfo(root + u"setup.cfg"_s).isFile() || QFileInfo(root + u"default.cfg"_s).isFile();
}

QList<CardCandidate> CardFinder::FindCards() const
{
    QList<CardCandidate> cards;
    QSet<QString> roots;
    QSet<QByteArray> devices;
    for (const MountedVolume& volume : m_volumes.MountedVolumes()) {
        if (!volume.ready || volume.rootPath.isEmpty())
            continue;
        QString root = volume.rootPath;
        if (!root.endsWith(u'/'))
            root += u'/';
        // A card mounted twice (a bind mount) is still one card.
        if (roots.contains(root) || (!volume.device.isEmpty() && devices.contains(volume.device)))
            continue;
        if (!m_drives.IsRemovableDrive(root) || !HoldsSettingsFile(root))
            continue;
        roots.insert(root);
        if (!volume.device.isEmpty())
            devices.insert(volume.device);
        cards.append(CardCandidate{root, volume.label, volume.bytesTotal});
    }
    return cards;
}
