#include "platform/PlatformServices.h"
#include "platform/linux/LinuxAppDataFolder.h"
#include "platform/linux/LinuxDisplayAvailability.h"
#include "platform/linux/LinuxDriveInfo.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/LinuxTimeZoneSource.h"
#include "platform/linux/LinuxVolumeFormatter.h"
#include "platform/linux/LinuxVolumeList.h"
#include "platform/linux/WineRegistryBackend.h"
#include "platform/linux/X11ViewerSignals.h"
#include "platform/linux/XcbWindowFinder.h"

// Creating these does no work: each reads the system only when it is asked something.
PlatformServices PlatformServices::Defaults()
{
    PlatformServices services;
    services.m_drives = std::make_shared<LinuxDriveInfo>();
    services.m_appData = std::make_shared<LinuxAppDataFolder>();
    services.m_launcher = std::make_shared<LinuxProgramLauncher>();
    services.m_registry = std::make_shared<WineRegistryBackend>();
    services.m_windows = std::make_shared<XcbWindowFinder>();
    services.m_formatter = std::make_shared<LinuxVolumeFormatter>();
    services.m_viewer = std::make_shared<X11ViewerSignals>();
    services.m_volumes = std::make_shared<LinuxVolumeList>();
    services.m_display = std::make_shared<LinuxDisplayAvailability>();
    services.m_timeZones = std::make_shared<LinuxTimeZoneSource>();
    return services;
}
