#include "bench/startup/StartupProbe.h"

#include <QElapsedTimer>
#include <QProcess>
#include <utility>

using namespace Qt::StringLiterals;

StartupProbe::StartupProbe(QString program, QProcessEnvironment environment, int timeoutMs)
    : m_program(std::move(program)), m_environment(std::move(environment)), m_timeoutMs(timeoutMs)
{}

StartupProbe::Result StartupProbe::Run(const QStringList& arguments) const
{
    Result result;
    QProcess process;
    process.setProcessEnvironment(m_environment);
    // Both channels into one pipe that QProcess drains while we wait, so a chatty program can
    // neither block on a full pipe nor lose what it said before failing.
    process.setProcessChannelMode(QProcess::MergedChannels);

    QElapsedTimer clock;
    clock.start();
    process.start(m_program, arguments);
    if (!process.waitForStarted(m_timeoutMs)) {
        result.failure = u"could not be started: "_s + process.errorString();
        return result;
    }
    const qint64 remainingMs = qMax<qint64>(0, m_timeoutMs - clock.elapsed());
    const bool finished = process.waitForFinished(int(remainingMs));
    result.milliseconds = double(clock.nsecsElapsed()) / 1.0e6;

    if (!finished) {
        process.kill();
        process.waitForFinished(3000);
        result.output = QString::fromLocal8Bit(process.readAll());
        result.failure = u"did not exit within %1 s and was killed (does it quit after its first paint "
                         u"when DASHCAM_QUIT_AFTER_FIRST_PAINT=1 is set?)"_s.arg(m_timeoutMs / 1000.0);
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() == QProcess::CrashExit) {
        result.failure = u"crashed"_s;
        return result;
    }
    if (process.exitCode() != 0) {
        result.failure = u"exited with code %1"_s.arg(process.exitCode());
        return result;
    }
    result.ok = true;
    return result;
}
