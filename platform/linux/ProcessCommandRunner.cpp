#include "platform/linux/ProcessCommandRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>

using namespace Qt::StringLiterals;

CommandResult ProcessCommandRunner::Run(const QString& program, const QStringList& arguments) const
{
    CommandResult result;
    // Output goes to a file, not a pipe: a FUSE mounter leaves a daemon behind that keeps
    // writing, and a closed pipe would kill it.
    QTemporaryFile log;
    if (!log.open()) {
        result.output = u"cannot create a temporary file"_s;
        return result;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(log.fileName());
    process.setStandardErrorFile(log.fileName(), QIODevice::Append);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        result.output = program + u": "_s + process.errorString();
        return result;
    }
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = program + u": did not end in time"_s;
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    log.seek(0);
    result.output = QString::fromLocal8Bit(log.read(64 * 1024)).trimmed();
    return result;
}

namespace {

bool IsHeldOpen(const QString& devicePath)
{
    const QDir proc(u"/proc"_s);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!pid.front().isDigit())
            continue;
        const QDir fds(u"/proc/"_s + pid + u"/fd"_s);
        for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == devicePath)
                return true;
        }
    }
    return false;
}

} // namespace

bool ProcessCommandRunner::WaitUntilReleased(const QString& devicePath, int timeoutMs) const
{
    // A FUSE daemon finishes its writes after umount has returned.
    QElapsedTimer waited;
    waited.start();
    while (IsHeldOpen(devicePath)) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}
