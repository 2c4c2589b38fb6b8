#pragma once

#include "platform/VolumeFormatter.h"
#include "platform/linux/CardSafetyPolicy.h"

#include <QString>

// What to write on the card, already checked and made valid.
struct CardFormatJob
{
    enum class FileSystem
    {
        Fat32,
        Exfat,
    };
    FileSystem fileSystem = FileSystem::Fat32;
    QString label;           // valid for the file system
    quint32 clusterSize = 0; // bytes; 0 = the formatter's default
};

// One way of formatting a card that the safety policy allowed: unmount, make the file system,
// mount again. Gives a StructureProgress report after each of the three stages and always ends
// with Done.
class CardFormatBackend
{
public:
    virtual ~CardFormatBackend() = default;

    // Returns the mount point the card has afterwards (it may move); the old one when it could
    // not be mounted again.
    virtual QString Format(const CardVolume& volume, const CardFormatJob& job,
                           FormatReports& reports) const = 0;

protected:
    CardFormatBackend() = default;
    Q_DISABLE_COPY_MOVE(CardFormatBackend)
};
