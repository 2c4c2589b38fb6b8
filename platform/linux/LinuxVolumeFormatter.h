#pragma once

#include "platform/VolumeFormatter.h"
#include "platform/linux/CardFormatBackend.h"
#include "platform/linux/LinuxBlockDevices.h"

#include <QStringList>
#include <memory>
#include <optional>

// Formats a memory card on Linux: finds the card's device, lets the safety policy decide, then
// hands the work to the backend that fits the user (root: the system's tools; a desktop user:
// UDisks2).
class LinuxVolumeFormatter final : public VolumeFormatter
{
public:
    // Where the formatter looks and what it formats with; the defaults are this machine's.
    struct Setup
    {
        std::shared_ptr<const LinuxBlockDevices> devices;
        QString mountInfoPath;
        QStringList protectedPaths;
        // Nullopt: DASHCAM_ALLOW_LOOP_BACKING_DIR as it is when a format starts.
        std::optional<QString> allowedLoopBackingDir;
        // Nullptr: chosen when a format starts.
        std::shared_ptr<const CardFormatBackend> backend;
    };

    // This machine, as it is.
    LinuxVolumeFormatter();
    explicit LinuxVolumeFormatter(Setup setup);

    FormatOutcome Format(const FormatRequest& request, FormatReports& reports) const override;

    // The root folder, /boot, the home folder and the running program.
    static QStringList SystemPaths();

private:
    std::shared_ptr<const CardFormatBackend> ChooseBackend(QString& reason) const;

    Setup m_setup;
};
