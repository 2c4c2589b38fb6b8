#include "tests/support/ScopedPlatformServices.h"

ScopedPlatformServices::ScopedPlatformServices() : m_saved(PlatformServices::Current()) {}

ScopedPlatformServices::~ScopedPlatformServices()
{
    PlatformServices::Current() = m_saved;
}
