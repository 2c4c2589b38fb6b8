#include "platform/linux/LinuxVolumeList.h"

#include <QDir>
#include <QStorageInfo>
#include <QTest>

using namespace Qt::StringLiterals;

// The card search reads the mounted file systems from here and addresses card files as the
// mount point followed directly by their name.
class LinuxVolumeListTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsMountPointsWithTheirSeparator()
    {
        const QList<MountedVolume> volumes = LinuxVolumeList().MountedVolumes();
        QVERIFY(!volumes.isEmpty());
        for (const MountedVolume& volume : volumes)
            QVERIFY2(volume.rootPath.endsWith(u'/'), qPrintable(volume.rootPath));

        // The file system holding the temporary folder is among them, readable, with its size.
        const QStorageInfo temp(QDir::tempPath());
        QString root = temp.rootPath();
        if (!root.endsWith(u'/'))
            root += u'/';
        const auto found = std::find_if(volumes.begin(), volumes.end(),
                                        [&](const MountedVolume& volume) { return volume.rootPath == root; });
        QVERIFY2(found != volumes.end(), qPrintable(root));
        QVERIFY(found->ready);
        QCOMPARE(found->bytesTotal, temp.bytesTotal());
        QCOMPARE(found->device, temp.device());
    }
};

QTEST_GUILESS_MAIN(LinuxVolumeListTest)
#include "LinuxVolumeListTest.moc"
