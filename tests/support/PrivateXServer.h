#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>

// An X server of the test's own (Xvfb, 1024x768 at 24 bits, no TCP) on the first free display
// number, stopped when the object goes. Windows created on it and programs run under it see
// nothing of the developer's desktop, and the desktop sees nothing of them.
class PrivateXServer final
{
public:
    PrivateXServer();
    ~PrivateXServer();

    bool IsRunning() const;
    // What went wrong when the server did not start.
    QString ErrorString() const { return m_error; }
    // The DISPLAY value of this server, such as ":3".
    QString Display() const { return m_display; }

    // The test's own environment, with DISPLAY naming this server and Qt told to use X11.
    QProcessEnvironment ProcessEnvironment() const;
    // Starts program under this server; the caller waits for it or stops it.
    std::unique_ptr<QProcess> StartProgram(const QString& program, const QStringList& arguments) const;

private:
    Q_DISABLE_COPY_MOVE(PrivateXServer)

    bool Start();
    QString ServerLog();

    QProcess m_server;
    QTemporaryFile m_log;
    QString m_display;
    QString m_error;
};
