#pragma once

#include <QString>
#include <chrono>

class ViewerSignals;
class WindowFinder;

// Before a format, the maker's PC viewer is asked to let go of the card: it gets message 1123
// and signals the event "EVENT_FILE_PARSING" once it no longer uses the card. The wait keeps the
// window painting and has a bound, so a viewer that never answers cannot freeze the program.
class ViewerHandshake final
{
public:
    ViewerHandshake() = delete;

    static inline const QString ViewerTitle = QStringLiteral("ORBELMARK DASHCAM PC VIEWER");
    static inline const QString QuelvixTitle = QStringLiteral("Quelvix");
    static inline const QString FileParsingEvent = QStringLiteral("EVENT_FILE_PARSING");
    static constexpr quint32 ReleaseCardMessage = 1123; // WM_USER + 99
    static constexpr quint32 DeviceChangeMessage = 537; // WM_DEVICECHANGE
    static constexpr std::chrono::milliseconds DefaultBound{30000};

    enum class Result
    {
        NoViewer, // no viewer window: nothing posted, no wait
        NoEvent,  // message posted; the viewer has no such event, so no wait
        Answered, // the viewer signalled the event
        TimedOut, // the viewer did not answer within the bound
    };

    static Result Run(const WindowFinder& windows, const ViewerSignals& viewer,
                      std::chrono::milliseconds bound = DefaultBound);

    // After a large card's format: tells a window titled "Quelvix" (only that title) that the
    // devices changed. True when a message went out.
    static bool NotifyDeviceChange(const WindowFinder& windows, const ViewerSignals& viewer);
};
