#pragma once

#include "platform/DriveInfo.h"

#include <QList>
#include <QString>
#include <memory>

// Drive facts a test lays out. File systems mounted at given folders hold the paths inside them,
// the deepest mount a path lies in being its file system. Every other path lies on one file
// system of its own: by default the PC's disk, fixed and with no root that can be told.
class FakeDriveInfo final : public DriveInfo
{
public:
    // Asks the PC for the roots of the paths outside every mount.
    struct RealRoots
    {
    };

    FakeDriveInfo() = default;
    // Every path on one file system at root.
    explicit FakeDriveInfo(bool removable, QString root = QStringLiteral("/"));
    // Every path removable or fixed as told, its root the one the PC reports.
    FakeDriveInfo(bool removable, RealRoots);
    // The mount points (ending with '/') all removable or all fixed.
    FakeDriveInfo(const QList<QString>& mountPoints, bool removable);

    // A file system mounted at mountPoint, ending with '/'; may be added while the program runs.
    void Mount(const QString& mountPoint, bool removable);

    bool IsRemovableDrive(const QString& path) const override;
    QString FilesystemRoot(const QString& path) const override;

private:
    struct FileSystem
    {
        QString root;
        bool removable = false;
    };
    const FileSystem* Holding(const QString& path) const;

    QList<FileSystem> m_mounts;
    FileSystem m_elsewhere;
    std::shared_ptr<const DriveInfo> m_realRoots;
};
