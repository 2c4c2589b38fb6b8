#include "device/CardFormat.h"

#include "platform/DriveInfo.h"
#include "settings/SettingsRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

std::optional<qint64> CardFormat::FilesystemCapacity(const QString& folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady() || storage.bytesTotal() <= 0)
        return std::nullopt;
    return storage.bytesTotal();
}

bool CardFormat::IsLargeCard(const DriveInfo& drives, const QString& cardRoot, const CapacityQuery& capacity)
{
    if (cardRoot.isEmpty() || !drives.IsRemovableDrive(cardRoot))
        return false;
    const std::optional<qint64> bytes = capacity ? capacity(cardRoot) : FilesystemCapacity(cardRoot);
    return bytes && IsLargeCapacity(*bytes);
}

QString CardFormat::VolumeLabel(const SettingsRecord& record)
{
    const QByteArray name = record.Bytes(Field::product_name);
    if (name.isEmpty() || name.at(0) == '\0')
        return ModelName;
    return record.Text(Field::product_name).left(16);
}

FormatRequest CardFormat::Request(const QString& cardRoot, bool largeCard, const QString& label)
{
    FormatRequest request;
    request.cardRoot = cardRoot;
    request.removableMedia = true;
    request.fileSystem = largeCard ? u"exfat"_s : u"FAT32"_s;
    request.label = label;
    request.quickFormat = true;
    request.clusterSize = largeCard ? 0 : 32768;
    return request;
}

const QList<CardFormat::DeviceFile>& CardFormat::DeviceFiles()
{
    static const QList<DeviceFile> files{
        {u"setup.cfg"_s, u"setup.cfg"_s},
        {u"default.cfg"_s, u"default.cfg"_s},
        {u"lang/ver.dat"_s, u"ver.dat"_s},
    };
    return files;
}

bool CardFormat::CopyOver(const QString& source, const QString& target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath() &&
        QFileInfo::exists(target))
        return true;
    // Through a temporary name, so a failed copy never leaves the target half written or gone.
    const QString temporary = target + u".part"_s;
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    QFile::setPermissions(temporary, QFile::permissions(temporary) | QFile::WriteOwner);
    QFile::remove(target);
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

CardFormat::Backup CardFormat::BackUpDeviceFiles(const QString& cardRoot, const QString& programFolder)
{
    Backup backup;
    for (const DeviceFile& file : DeviceFiles()) {
        const QString source = cardRoot + file.onCard;
        if (!QFileInfo(source).isFile())
            continue;
        if (!CopyOver(source, programFolder + file.copy)) {
            backup.failedFile = source;
            return backup;
        }
        backup.copies.append(file.copy);
    }
    backup.ok = true;
    return backup;
}

void CardFormat::RestoreDeviceFiles(const Backup& backup, const QString& cardRoot,
                                    const QString& programFolder, const QString& programFile)
{
    QDir().mkpath(cardRoot);
    QDir().mkpath(cardRoot + u"lang/"_s);
    for (const DeviceFile& file : DeviceFiles()) {
        if (backup.copies.contains(file.copy))
            CopyOver(programFolder + file.copy, cardRoot + file.onCard);
    }
    if (!programFile.isEmpty())
        CopyOver(programFile, cardRoot + QFileInfo(programFile).fileName());
}
