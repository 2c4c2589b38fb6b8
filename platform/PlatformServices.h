#pragma once

#include "platform/AppDataFolder.h"
#include "platform/DisplayAvailability.h"
#include "platform/DriveInfo.h"
#include "platform/ProgramLauncher.h"
#include "platform/RegistryBackend.h"
#include "platform/ViewerSignals.h"
#include "platform/TimeZoneSource.h"
#include "platform/VolumeFormatter.h"
#include "platform/VolumeList.h"
#include "platform/WindowFinder.h"

#include <memory>

// The platform objects the program works with, gathered in one place. The program reads them
// from Instance(); tests replace single services there and put the saved set back afterwards.
class PlatformServices final
{
public:
    // A fresh set of this platform's own services.
    static PlatformServices Defaults();
    // The process's services, set to Defaults() on first use.
    static PlatformServices& Instance();

    const std::shared_ptr<const DriveInfo>& Drives() const { return m_drives; }
    const std::shared_ptr<const AppDataFolder>& AppData() const { return m_appData; }
    const std::shared_ptr<const ProgramLauncher>& Launcher() const { return m_launcher; }
    const std::shared_ptr<const RegistryBackend>& Registry() const { return m_registry; }
    const std::shared_ptr<const WindowFinder>& Windows() const { return m_windows; }
    const std::shared_ptr<const VolumeFormatter>& Formatter() const { return m_formatter; }
    const std::shared_ptr<const ViewerSignals>& Viewer() const { return m_viewer; }
    const std::shared_ptr<const VolumeList>& Volumes() const { return m_volumes; }
    const std::shared_ptr<const DisplayAvailability>& Display() const { return m_display; }
    const std::shared_ptr<const TimeZoneSource>& TimeZones() const { return m_timeZones; }

    void SetDrives(std::shared_ptr<const DriveInfo> drives);
    void SetAppData(std::shared_ptr<const AppDataFolder> appData);
    void SetLauncher(std::shared_ptr<const ProgramLauncher> launcher);
    void SetRegistry(std::shared_ptr<const RegistryBackend> registry);
    void SetWindows(std::shared_ptr<const WindowFinder> windows);
    void SetFormatter(std::shared_ptr<const VolumeFormatter> formatter);
    void SetViewer(std::shared_ptr<const ViewerSignals> viewer);
    void SetVolumes(std::shared_ptr<const VolumeList> volumes);
    void SetDisplay(std::shared_ptr<const DisplayAvailability> display);
    void SetTimeZones(std::shared_ptr<const TimeZoneSource> timeZones);

private:
    PlatformServices() = default;

    std::shared_ptr<const DriveInfo> m_drives;
    std::shared_ptr<const AppDataFolder> m_appData;
    std::shared_ptr<const ProgramLauncher> m_launcher;
    std::shared_ptr<const RegistryBackend> m_registry;
    std::shared_ptr<const WindowFinder> m_windows;
    std::shared_ptr<const VolumeFormatter> m_formatter;
    std::shared_ptr<const ViewerSignals> m_viewer;
    std::shared_ptr<const VolumeList> m_volumes;
    std::shared_ptr<const DisplayAvailability> m_display;
    std::shared_ptr<const TimeZoneSource> m_timeZones;
};
