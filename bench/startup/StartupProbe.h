#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs one program as a whole process and takes its wall time from launch to exit. A program that
// does not exit within the time limit is killed, so a hanging program cannot stall the benchmark.
class StartupProbe final
{
public:
    struct Result
    {
        bool ok = false;
        double milliseconds = 0.0;
        QString failure; // why the run does not count, when !ok
        QString output;  // what the program printed, for the failure report
    };

    StartupProbe(QString program, QProcessEnvironment environment, int timeoutMs);

    Result Run(const QStringList& arguments) const;

    QString Program() const { return m_program; }

private:
    QString m_program;
    QProcessEnvironment m_environment;
    int m_timeoutMs;
};
