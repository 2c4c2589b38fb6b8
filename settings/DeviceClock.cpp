#include "settings/DeviceClock.h"

DeviceClock& DeviceClock::Instance()
{
    static DeviceClock clock;
    return clock;
}
