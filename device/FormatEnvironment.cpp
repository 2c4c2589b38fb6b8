#include "device/FormatEnvironment.h"

FormatEnvironment& FormatEnvironment::Instance()
{
    static FormatEnvironment environment;
    return environment;
}
