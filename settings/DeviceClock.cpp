#include "settings/DeviceClock.h"

DeviceClock& DeviceClock::shared()
{
    static DeviceClock clock;
    return clock;
}
