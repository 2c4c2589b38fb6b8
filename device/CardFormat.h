#pragma once

#include "platform/VolumeFormatter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class DriveInfo;
class SettingsRecord;

// The pieces of the card format that need no window: the choice of file system and label, and
// the copies that carry the camera's files across the format.
class CardFormat final
{
public:
    CardFormat() = delete;

    // The file system's size in bytes for a folder on it; nullopt when it cannot be read.
    using CapacityQuery = std::function<std::optional<qint64>(const QString& folder)>;
    static std::optional<qint64> FilesystemCapacity(const QString& folder);

    // exFAT above this many MiB, FAT32 up to it.
    static constexpr qint64 LargeCardMiB = 60000;
    static bool IsLargeCapacity(qint64 totalBytes) { return totalBytes / (1024 * 1024) > LargeCardMiB; }
    // A removable card larger than LargeCardMiB. A capacity that cannot be read is not large.
    static bool IsLargeCard(const DriveInfo& drives, const QString& cardRoot, const CapacityQuery& capacity);

    static inline const QString ModelName = QStringLiteral("K410");
    // The model name as the card's volume label, or the model's own name when the record has none.
    static QString VolumeLabel(const SettingsRecord& record);

    static FormatRequest Request(const QString& cardRoot, bool largeCard, const QString& label);

    // The camera's files on the card (relative to the card root) and the names of their copies
    // in the program's folder.
    struct DeviceFile
    {
        QString onCard;
        QString copy;
    };
    static const QList<DeviceFile>& DeviceFiles();

    // What a backup saved: the copies it made (names in the program's folder). A file the card
    // lacks is not copied; a file the card has but that could not be copied fails the backup.
    struct Backup
    {
        bool ok = false;
        QStringList copies;
        QString failedFile; // the card file that could not be saved
    };
    static Backup BackUpDeviceFiles(const QString& cardRoot, const QString& programFolder);

    // Puts the saved files and the program back onto the card, after the card and its "lang/"
    // folder have been made again. Only the copies this backup made go back: an older copy left
    // in the program's folder by an earlier format stays where it is. Failures are ignored.
    static void RestoreDeviceFiles(const Backup& backup, const QString& cardRoot,
                                   const QString& programFolder, const QString& programFile);

    // Copies source over target.
    static bool CopyOver(const QString& source, const QString& target);
};
