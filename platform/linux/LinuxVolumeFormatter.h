#pragma once

#include "platform/VolumeFormatter.h"

// Formats a memory card on Linux.
class LinuxVolumeFormatter final : public VolumeFormatter
{
public:
    LinuxVolumeFormatter() = default;

    FormatOutcome Format(const FormatRequest& request, FormatReports& reports) const override;
};
