#include "platform/linux/LinuxProgramLauncher.h"

#include <QProcess>

bool LinuxProgramLauncher::StartDetached(const QString& program, const QString& argument,
                                         const QString& workingFolder) const
{
    // The argument goes into argv as one entry, no shell in between: blanks and quotes stay.
    return QProcess::startDetached(program, {argument}, workingFolder);
}
