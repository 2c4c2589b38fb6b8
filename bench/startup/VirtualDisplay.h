#pragma once

#include <QProcess>
#include <QString>

// A private Xvfb server, so that no desktop session, compositor or window manager takes part in a
// measurement. The server picks a free display itself and is stopped when this object goes away.
class VirtualDisplay final
{
    Q_DISABLE_COPY_MOVE(VirtualDisplay)

public:
    VirtualDisplay() = default;
    ~VirtualDisplay();

    static bool IsAvailable();

    // Starts the server and waits until it accepts clients; on failure errorString() says why.
    bool Start(int timeoutMs);
    void Stop();

    QString DisplayName() const { return m_displayName; }
    QString ErrorString() const { return m_error; }

private:
    QProcess m_server;
    QString m_displayName;
    QString m_error;
};
