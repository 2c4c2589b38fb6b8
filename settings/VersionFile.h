#pragma once

#include <QString>

struct DeviceVersionInfo;

// Reads `folder` + "ver.dat" into `info`; a missing file leaves every field as it was (empty).
void ReadVersionFile(DeviceVersionInfo& info, const QString& folder);
