#include "tests/fakes/FakePlatform.h"

#include "platform/PlatformServices.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakeRegistry.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/fakes/RecordingLauncher.h"

void InstallFakePlatform()
{
    PlatformServices& services = PlatformServices::Instance();
    services.SetDrives(std::make_shared<FakeDriveInfo>(false));
    services.SetWindows(std::make_shared<FakeWindowFinder>());
    services.SetRegistry(std::make_shared<FakeRegistry>());
    services.SetLauncher(std::make_shared<RecordingLauncher>());
}
