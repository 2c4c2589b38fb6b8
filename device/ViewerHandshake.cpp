#include "device/ViewerHandshake.h"

#include "platform/ViewerSignals.h"
#include "platform/WindowFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <memory>
#include <optional>

ViewerHandshake::Result ViewerHandshake::Run(const WindowFinder& windows, const ViewerSignals& viewer,
                                             std::chrono::milliseconds bound)
{
    std::optional<quint64> window = windows.FindTopLevelWindow(ViewerTitle);
    if (!window)
        window = windows.FindTopLevelWindow(QuelvixTitle);
    if (!window)
        return Result::NoViewer;

    viewer.PostWindowMessage(*window, ReleaseCardMessage, 0, 0);
    const std::unique_ptr<NamedEvent> event = viewer.OpenEvent(FileParsingEvent);
    if (!event)
        return Result::NoEvent;

    // Windows keep painting meanwhile; the user's clicks and keys wait until the format starts.
    QElapsedTimer elapsed;
    elapsed.start();
    while (!event->TryWait()) {
        if (elapsed.elapsed() >= bound.count())
            return Result::TimedOut;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(10);
    }
    return Result::Answered;
}

bool ViewerHandshake::NotifyDeviceChange(const WindowFinder& windows, const ViewerSignals& viewer)
{
    const std::optional<quint64> window = windows.FindTopLevelWindow(QuelvixTitle);
    return window && viewer.PostWindowMessage(*window, DeviceChangeMessage, 0, 0);
}
