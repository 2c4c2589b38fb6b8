#include "tests/fakes/FakeDriveInfo.h"

#include "platform/PlatformServices.h"

FakeDriveInfo::FakeDriveInfo(bool removable, QString root) : m_elsewhere{std::move(root), removable} {}

FakeDriveInfo::FakeDriveInfo(bool removable, RealRoots)
    : m_elsewhere{QString(), removable}, m_realRoots(PlatformServices::Defaults().Drives())
{}

FakeDriveInfo::FakeDriveInfo(const QList<QString>& mountPoints, bool removable)
{
    for (const QString& mountPoint : mountPoints)
        Mount(mountPoint, removable);
}

void FakeDriveInfo::Mount(const QString& mountPoint, bool removable)
{
    m_mounts.append({mountPoint, removable});
}

const FakeDriveInfo::FileSystem* FakeDriveInfo::Holding(const QString& path) const
{
    const FileSystem* deepest = nullptr;
    for (const FileSystem& mount : m_mounts) {
        if (QString(path + u'/').startsWith(mount.root) &&
            (!deepest || mount.root.size() > deepest->root.size()))
            deepest = &mount;
    }
    return deepest;
}

bool FakeDriveInfo::IsRemovableDrive(const QString& path) const
{
    const FileSystem* mount = Holding(path);
    return mount ? mount->removable : m_elsewhere.removable;
}

QString FakeDriveInfo::FilesystemRoot(const QString& path) const
{
    if (const FileSystem* mount = Holding(path))
        return mount->root;
    return m_realRoots ? m_realRoots->FilesystemRoot(path) : m_elsewhere.root;
}
