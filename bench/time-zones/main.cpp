// Times how long the system page's time zone catalogue takes to build. The page builds it once
// per run, in a process that has not read any zone yet, so every measured build is the first
// one of a fresh child process: tzdata parsed by an earlier build would flatter the number.

#include "device/CTimeZoneInfoManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr double kGoalMs = 20.0;

int BuildOnce()
{
    QElapsedTimer timer;
    timer.start();
    const CTimeZoneInfoManager catalogue;
    const qint64 nanoseconds = timer.nsecsElapsed();
    std::printf("%lld %d\n", static_cast<long long>(nanoseconds), catalogue.Count());
    return catalogue.Count() > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.contains(u"--child"_s))
        return BuildOnce();

    int runs = 15;
    if (const qsizetype at = arguments.indexOf(u"--runs"_s); at >= 0 && at + 1 < arguments.size())
        runs = std::max(1, arguments.at(at + 1).toInt());

    QTextStream out(stdout);
    std::vector<double> times;
    int zones = 0;
    // One unmeasured run first fills the file cache.
    for (int run = -1; run < runs; ++run) {
        QProcess child;
        child.start(app.applicationFilePath(), {u"--child"_s});
        if (!child.waitForFinished(20000) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0) {
            out << "bench-time-zones: a build failed or found no zones\n";
            return 1;
        }
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 2)
            return 1;
        zones = fields.at(1).toInt();
        if (run >= 0)
            times.push_back(fields.at(0).toLongLong() / 1e6);
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 == 1 ? times[times.size() / 2]
                                                : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    out << "time zone catalogue, " << zones << " zones, " << runs << " fresh processes\n";
    out << u"  median %1 ms, min %2 ms, max %3 ms (goal below %4 ms: %5)\n"_s.arg(median, 0, 'f', 2)
               .arg(times.front(), 0, 'f', 2)
               .arg(times.back(), 0, 'f', 2)
               .arg(kGoalMs)
               .arg(median < kGoalMs ? u"met"_s : u"not met"_s);
    return 0;
}
