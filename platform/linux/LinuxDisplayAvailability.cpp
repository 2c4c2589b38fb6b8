#include "platform/linux/LinuxDisplayAvailability.h"

#include <QtGlobal>
#include <xcb/xcb.h>

bool LinuxDisplayAvailability::IsDisplayAvailable() const
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool connected = connection && xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}
