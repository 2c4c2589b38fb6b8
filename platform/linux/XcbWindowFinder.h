#pragma once

#include "platform/WindowFinder.h"

#include <QString>
#include <optional>

// Finds top-level windows on the X server (or XWayland) with libxcb. A top-level window is a
// child of a root window or, under a re-parenting window manager, a window inside its frame.
// Its title is _NET_WM_NAME when the window has one, else WM_NAME. Without a reachable X server
// (no DISPLAY, pure Wayland) there is no window.
class XcbWindowFinder final : public WindowFinder
{
public:
    // The display named by $DISPLAY at the time of each lookup.
    XcbWindowFinder() = default;
    explicit XcbWindowFinder(QString displayName);

    std::optional<quint64> FindTopLevelWindow(const QString& title) const override;

private:
    std::optional<QString> m_displayName;
};
