#pragma once

#include "platform/DriveInfo.h"
#include "platform/VolumeList.h"

#include <QSet>

// A list of mounted file systems that a test fills, and may change while the program runs
// (a card inserted meanwhile).
class FakeVolumeList final : public VolumeList
{
public:
    QList<MountedVolume> MountedVolumes() const override { return m_volumes; }
    QList<MountedVolume> m_volumes;
};

// Drive facts where exactly the listed folders (ending with '/') lie on removable drives.
class FakeRemovableFolders final : public DriveInfo
{
public:
    bool IsRemovableDrive(const QString& path) const override { return m_removable.contains(path); }
    QString FilesystemRoot(const QString& path) const override { return path; }
    QSet<QString> m_removable;
};
