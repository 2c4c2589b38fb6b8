#include "tests/support/ScopedPlatformServices.h"

ScopedPlatformServices::ScopedPlatformServices() : m_saved(PlatformServices::Instance()) {}

ScopedPlatformServices::~ScopedPlatformServices()
{
    PlatformServices::Instance() = m_saved;
}
