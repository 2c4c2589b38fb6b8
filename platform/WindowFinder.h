#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Looks for the top-level windows of other programs by their title (the PC viewer's windows).
class WindowFinder
{
public:
    virtual ~WindowFinder() = default;

    // The id of a top-level window whose title is exactly title (letter case included), shown
    // or hidden; nullopt when there is none or no window system can be reached.
    virtual std::optional<quint64> FindTopLevelWindow(const QString& title) const = 0;

    bool HasTopLevelWindow(const QString& title) const { return FindTopLevelWindow(title).has_value(); }

protected:
    WindowFinder() = default;
    Q_DISABLE_COPY_MOVE(WindowFinder)
};
