#include "tests/support/PrivateXServer.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 5000;

} // namespace

PrivateXServer::PrivateXServer()
{
    if (!Start() && m_server.state() != QProcess::NotRunning) {
        m_server.kill();
        m_server.waitForFinished(kStopTimeoutMs);
    }
}

PrivateXServer::~PrivateXServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(kStopTimeoutMs)) {
        m_server.kill();
        m_server.waitForFinished(kStopTimeoutMs);
    }
}

bool PrivateXServer::IsRunning() const
{
    return !m_display.isEmpty() && m_server.state() == QProcess::Running;
}

QString PrivateXServer::ServerLog()
{
    m_log.seek(0);
    return QString::fromLocal8Bit(m_log.read(4096)).trimmed();
}

bool PrivateXServer::Start()
{
    if (!m_log.open()) {
        m_error = u"cannot create the X server log: "_s + m_log.errorString();
        return false;
    }

    // The server writes its display number into this pipe once it accepts connections.
    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_error = u"cannot create a pipe"_s;
        return false;
    }
    const int readFd = pipeFds[0];
    const int writeFd = pipeFds[1];
    // Only the server may inherit the write end, so that its exit closes the pipe.
    m_server.setChildProcessModifier([writeFd] { ::fcntl(writeFd, F_SETFD, 0); });
    m_server.setProgram(u"Xvfb"_s);
    // Without -noreset the server resets whenever its last client leaves and refuses the
    // connections that arrive meanwhile: tests connect and disconnect all the time.
    m_server.setArguments({u"-displayfd"_s, QString::number(writeFd), u"-nolisten"_s, u"tcp"_s, u"-noreset"_s,
                           u"-screen"_s, u"0"_s, u"1024x768x24"_s});
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.setStandardErrorFile(m_log.fileName());
    m_server.start();
    const bool started = m_server.waitForStarted(kStartTimeoutMs);
    ::close(writeFd);
    if (!started) {
        ::close(readFd);
        m_error = u"cannot start Xvfb: "_s + m_server.errorString();
        return false;
    }

    QByteArray answer;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!answer.contains('\n')) {
        pollfd waitFor{readFd, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, static_cast<int>(qMax<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[32];
        const ssize_t got = ::read(readFd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        answer.append(buffer, got);
    }
    ::close(readFd);

    bool isNumber = false;
    const int display = answer.trimmed().toInt(&isNumber);
    if (!answer.contains('\n') || !isNumber || display < 0) {
        m_error = u"Xvfb did not report a display: "_s + ServerLog();
        return false;
    }
    m_display = u":"_s + QString::number(display);
    return true;
}

QProcessEnvironment PrivateXServer::ProcessEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    return environment;
}

std::unique_ptr<QProcess> PrivateXServer::StartProgram(const QString& program,
                                                       const QStringList& arguments) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(ProcessEnvironment());
    process->start(program, arguments);
    return process;
}
