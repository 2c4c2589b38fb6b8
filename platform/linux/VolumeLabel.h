#pragma once

#include <QString>

// Volume labels made valid for the file system they go on.
namespace VolumeLabel {

// FAT: at most 11 characters, upper-case ASCII, none of the characters FAT forbids in names.
QString ForFat(const QString& label);
// exFAT: at most 11 UTF-16 characters, no control characters.
QString ForExfat(const QString& label);

} // namespace VolumeLabel
