#pragma once

#include "platform/VolumeList.h"

// The mounted file systems as Qt's storage information lists them.
class LinuxVolumeList final : public VolumeList
{
public:
    LinuxVolumeList() = default;

    QList<MountedVolume> MountedVolumes() const override;
};
