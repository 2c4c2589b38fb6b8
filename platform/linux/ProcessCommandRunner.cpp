#include "platform/linux/ProcessCommandRunner.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

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
