#pragma once

#include "platform/VolumeList.h"

// A list of mounted file systems that a test fills, and may change while the program runs
// (a card inserted meanwhile).
class FakeVolumeList final : public VolumeList
{
public:
    QList<MountedVolume> MountedVolumes() const override { return m_volumes; }
    QList<MountedVolume> m_volumes;
};
