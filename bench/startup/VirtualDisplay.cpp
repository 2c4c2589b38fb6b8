#include "bench/startup/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString ServerPath()
{
    return QStandardPaths::findExecutable(u"Xvfb"_s);
}

} // namespace

VirtualDisplay::~VirtualDisplay()
{
    Stop();
}

bool VirtualDisplay::IsAvailable()
{
    return !ServerPath().isEmpty();
}

bool VirtualDisplay::Start(int timeoutMs)
{
    const QString program = ServerPath();
    if (program.isEmpty()) {
        m_error = u"Xvfb was not found on PATH"_s;
        return false;
    }

    // -displayfd 1: the server writes its display number to our stdout pipe once it is ready, which
    // avoids both guessing a free display and racing the server's start. -noreset keeps the server
    // from regenerating between runs, which would otherwise land inside the next measurement.
    m_server.start(program, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s,
                             u"tcp"_s, u"-noreset"_s});
    if (!m_server.waitForStarted(timeoutMs)) {
        m_error = u"Xvfb did not start: "_s + m_server.errorString();
        return false;
    }

    const QDeadlineTimer deadline(timeoutMs);
    QByteArray announced;
    while (!announced.contains('\n')) {
        if (!m_server.waitForReadyRead(int(deadline.remainingTime()))) {
            const QString serverOutput = QString::fromLocal8Bit(m_server.readAllStandardError()).trimmed();
            m_error = m_server.state() == QProcess::NotRunning
                          ? u"Xvfb exited before it was ready: "_s + serverOutput
                          : u"Xvfb did not report its display in time"_s;
            Stop();
            return false;
        }
        announced += m_server.readAllStandardOutput();
        // A server that writes garbage instead of a number must not keep us reading forever.
        if (announced.size() > 64)
            break;
    }

    bool isNumber = false;
    const int display = announced.trimmed().toInt(&isNumber);
    if (!isNumber || display < 0) {
        m_error = u"Xvfb reported an unusable display: "_s + QString::fromLocal8Bit(announced.trimmed());
        Stop();
        return false;
    }
    m_displayName = u":"_s + QString::number(display);
    return true;
}

void VirtualDisplay::Stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(3000)) {
        m_server.kill();
        m_server.waitForFinished(3000);
    }
}
