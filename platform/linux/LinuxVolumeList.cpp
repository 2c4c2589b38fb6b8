#include "platform/linux/LinuxVolumeList.h"

#include <QStorageInfo>

QList<MountedVolume> LinuxVolumeList::MountedVolumes() const
{
    QList<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid())
            continue;
        MountedVolume volume;
        volume.rootPath = storage.rootPath();
        if (!volume.rootPath.endsWith(u'/'))
            volume.rootPath += u'/';
        volume.label = storage.name();
        volume.bytesTotal = storage.bytesTotal();
        volume.device = storage.device();
        volume.ready = storage.isReady();
        volumes.append(volume);
    }
    return volumes;
}
