#pragma once

#include <QStringList>

// Display names for the camera's language codes, one per code and in the same order, so that
// position i of the result always names position i of `codes` (the value device_language takes).
// A code the language table does not know is shown as the code itself.
QStringList DeviceLanguageNames(const QStringList& codes);
