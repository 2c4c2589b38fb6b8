#include "platform/PlatformServices.h"

#include <utility>

// Defaults() lives in the platform's backend folder, so nothing here depends on the platform.

PlatformServices& PlatformServices::Instance()
{
    static PlatformServices services = Defaults();
    return services;
}

// A missing service would only crash its first user later; keep the one there is instead.
void PlatformServices::SetDrives(std::shared_ptr<const DriveInfo> drives)
{
    if (drives)
        m_drives = std::move(drives);
}

void PlatformServices::SetAppData(std::shared_ptr<const AppDataFolder> appData)
{
    if (appData)
        m_appData = std::move(appData);
}

void PlatformServices::SetLauncher(std::shared_ptr<const ProgramLauncher> launcher)
{
    if (launcher)
        m_launcher = std::move(launcher);
}

void PlatformServices::SetRegistry(std::shared_ptr<const RegistryBackend> registry)
{
    if (registry)
        m_registry = std::move(registry);
}

void PlatformServices::SetWindows(std::shared_ptr<const WindowFinder> windows)
{
    if (windows)
        m_windows = std::move(windows);
}

void PlatformServices::SetFormatter(std::shared_ptr<const VolumeFormatter> formatter)
{
    if (formatter)
        m_formatter = std::move(formatter);
}

void PlatformServices::SetViewer(std::shared_ptr<const ViewerSignals> viewer)
{
    if (viewer)
        m_viewer = std::move(viewer);
}

void PlatformServices::SetVolumes(std::shared_ptr<const VolumeList> volumes)
{
    if (volumes)
        m_volumes = std::move(volumes);
}

void PlatformServices::SetDisplay(std::shared_ptr<const DisplayAvailability> display)
{
    if (display)
        m_display = std::move(display);
}

void PlatformServices::SetTimeZones(std::shared_ptr<const TimeZoneSource> timeZones)
{
    if (timeZones)
        m_timeZones = std::move(timeZones);
}
