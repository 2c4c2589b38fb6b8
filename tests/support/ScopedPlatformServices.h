#pragma once

#include "platform/PlatformServices.h"

// Lets a test replace services in PlatformServices::Instance() and puts the whole set back as it
// was when the object goes.
class ScopedPlatformServices final
{
public:
    ScopedPlatformServices();
    ~ScopedPlatformServices();

    PlatformServices& Services() { return PlatformServices::Instance(); }

private:
    Q_DISABLE_COPY_MOVE(ScopedPlatformServices)

    PlatformServices m_saved;
};
