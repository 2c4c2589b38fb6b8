// Times the editor's start-up against a bare Qt Widgets window of the same size. Both programs
// quit right after their first paint when DASHCAM_QUIT_AFTER_FIRST_PAINT=1, so a process's wall time
// from launch to exit is its start-up up to a ready, painted window.

#include "bench/startup/StartupProbe.h"
#include "bench/startup/VirtualDisplay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr double kGoalRatio = 1.3;
constexpr int kRecommendedMinimumRuns = 10;

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& Err()
{
    static QTextStream stream(stderr);
    return stream;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Copies a folder tree; false as soon as anything cannot be copied, so that the editor never
// starts on a half-copied card.
bool CopyTree(const QString& source, const QString& target)
{
    const QDir sourceDir(source);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString destination = target + u'/' + sourceDir.relativeFilePath(entry.filePath());
        if (entry.isDir() && !entry.isSymLink()) {
            if (!QDir().mkpath(destination))
                return false;
        } else if (!QFile::copy(entry.filePath(), destination)) {
            return false;
        }
    }
    return true;
}

struct Subject
{
    Subject(QString subjectName, StartupProbe subjectProbe, bool subjectNeedsCard)
        : name(std::move(subjectName)), probe(std::move(subjectProbe)), needsCard(subjectNeedsCard)
    {}

    QString name;
    StartupProbe probe;
    bool needsCard;
    std::vector<double> times;
    QString failure;
    QString failureOutput;

    bool Failed() const { return !failure.isEmpty(); }
};

// One run of a program; a failure ends that program's series, since every further run would fail
// (or time out) the same way.
void RunOnce(Subject& subject, const QString& cardSource, bool record, bool verbose)
{
    if (subject.Failed())
        return;

    QStringList arguments;
    std::optional<QTemporaryDir> card;
    if (subject.needsCard) {
        // A fresh copy each time: the measurement must not depend on what an earlier run left on the card.
        card.emplace();
        if (!card->isValid() || !CopyTree(cardSource, card->path())) {
            subject.failure = u"could not copy the demo card %1 to a temporary folder"_s.arg(cardSource);
            return;
        }
        // The editor addresses every card file as its root folder followed directly by the file name.
        arguments << QDir::toNativeSeparators(card->path() + u'/');
    }

    const StartupProbe::Result result = subject.probe.Run(arguments);
    if (!result.ok) {
        subject.failure =
            (record ? u"in run %1: "_s.arg(subject.times.size() + 1) : u"in the warm-up run: "_s) +
            result.failure;
        subject.failureOutput = result.output;
        return;
    }
    if (record)
        subject.times.push_back(result.milliseconds);
    if (verbose) {
        Err() << subject.name << (record ? u": "_s : u" (warm-up): "_s)
              << QString::number(result.milliseconds, 'f', 1) << u" ms"_s << Qt::endl;
    }
}

void PrintFailure(const Subject& subject)
{
    Out() << u"FAILED: "_s << subject.name << u" ("_s << subject.probe.Program() << u") "_s << subject.failure
          << Qt::endl;
    const QStringList lines = subject.failureOutput.trimmed().split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return;
    // The tail is where a failing program explains itself.
    const qsizetype first = qMax<qsizetype>(0, lines.size() - 20);
    Out() << u"  last output:"_s << Qt::endl;
    for (qsizetype i = first; i < lines.size(); ++i)
        Out() << u"    "_s << lines.at(i) << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"bench-startup"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Measures the start-up of the editor and of a bare Qt Widgets window as whole processes, "
        "until each has painted its first window, and prints both medians and their ratio."_s);
    parser.addHelpOption();
    const QCommandLineOption runsOption(u"runs"_s, u"Measured runs per program after one warm-up run (15)."_s,
                                        u"n"_s, u"15"_s);
    const QCommandLineOption platformOption(
        u"platform"_s,
        u"auto (private Xvfb if installed, else offscreen), xvfb, offscreen, or current (the caller's "
        "own display and QT_QPA_PLATFORM)."_s,
        u"name"_s, u"auto"_s);
    const QCommandLineOption timeoutOption(u"timeout"_s, u"Seconds before a run is killed (20)."_s,
                                           u"seconds"_s, u"20"_s);
    const QCommandLineOption onlyOption(u"only"_s, u"Measure only one program: editor or minimal."_s,
                                        u"program"_s);
    const QCommandLineOption editorOption(u"editor"_s, u"The editor executable."_s, u"path"_s,
                                          QStringLiteral(BENCH_EDITOR_PATH));
    const QCommandLineOption minimalOption(u"minimal"_s, u"The minimal window executable."_s, u"path"_s,
                                           QStringLiteral(BENCH_MINIMAL_PATH));
    const QCommandLineOption cardOption(u"card"_s, u"The card folder copied for each editor run."_s,
                                        u"folder"_s, QStringLiteral(BENCH_DEMO_CARD));
    const QCommandLineOption verboseOption(u"verbose"_s, u"Print every run's time to stderr."_s);
    parser.addOptions({runsOption, platformOption, timeoutOption, onlyOption, editorOption, minimalOption,
                       cardOption, verboseOption});
    parser.process(app);

    bool valid = false;
    const int runs = parser.value(runsOption).toInt(&valid);
    if (!valid || runs < 1 || runs > 10000) {
        Err() << u"--runs needs a whole number from 1 to 10000"_s << Qt::endl;
        return 2;
    }
    const double timeoutSeconds = parser.value(timeoutOption).toDouble(&valid);
    if (!valid || timeoutSeconds <= 0.0 || timeoutSeconds > 3600.0) {
        Err() << u"--timeout needs a number of seconds above 0 and at most 3600"_s << Qt::endl;
        return 2;
    }
    const QString only = parser.value(onlyOption);
    if (!only.isEmpty() && only != u"editor"_s && only != u"minimal"_s) {
        Err() << u"--only takes editor or minimal"_s << Qt::endl;
        return 2;
    }
    QString platform = parser.value(platformOption);
    if (platform != u"auto"_s && platform != u"xvfb"_s && platform != u"offscreen"_s &&
        platform != u"current"_s) {
        Err() << u"--platform takes auto, xvfb, offscreen or current"_s << Qt::endl;
        return 2;
    }
    const bool measureEditor = only != u"minimal"_s;
    const bool measureMinimal = only != u"editor"_s;
    const QString cardSource = QDir(parser.value(cardOption)).absolutePath();
    if (measureEditor && !QFileInfo(cardSource).isDir()) {
        Err() << u"The card folder "_s << cardSource << u" does not exist"_s << Qt::endl;
        return 2;
    }
    if (runs < kRecommendedMinimumRuns) {
        Err() << u"Note: with fewer than "_s << kRecommendedMinimumRuns << u" runs the medians are noisy."_s
              << Qt::endl;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DASHCAM_QUIT_AFTER_FIRST_PAINT"_s, u"1"_s);
    // Debug lines off, so that writing to the terminal is not what gets measured.
    environment.insert(u"QT_LOGGING_RULES"_s, u"dashcam.debugstream=false"_s);
    // A desktop session has a D-Bus session bus. Without one, Qt's D-Bus client forks a
    // "dbus-launch --autolaunch" from a thread during start-up, and that fork makes every page
    // either program writes afterwards fault again (copy-on-write): a cost of the bare machine,
    // not of the programs. An address that refuses at once stands in for the session's bus.
    if (!environment.contains(u"DBUS_SESSION_BUS_ADDRESS"_s))
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent/dashcam-bench-bus"_s);

    VirtualDisplay display;
    QString platformLabel;
    if (platform == u"auto"_s || platform == u"xvfb"_s) {
        if (display.Start(10000)) {
            environment.insert(u"DISPLAY"_s, display.DisplayName());
            environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
            // A Wayland session would otherwise be preferred by some Qt builds despite xcb.
            environment.remove(u"WAYLAND_DISPLAY"_s);
            platformLabel = u"xcb on a private Xvfb (display %1)"_s.arg(display.DisplayName());
        } else if (platform == u"xvfb"_s) {
            Err() << u"Cannot start a private Xvfb: "_s << display.ErrorString() << Qt::endl;
            return 2;
        } else {
            Err() << u"No private Xvfb ("_s << display.ErrorString() << u"); using offscreen"_s << Qt::endl;
            platform = u"offscreen"_s;
        }
    }
    if (platform == u"offscreen"_s) {
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        platformLabel = u"offscreen"_s;
    } else if (platform == u"current"_s) {
        const QString inherited = environment.value(u"QT_QPA_PLATFORM"_s);
        platformLabel = u"the caller's own (%1)"_s.arg(inherited.isEmpty() ? u"Qt's default"_s : inherited);
    }

    const int timeoutMs = int(timeoutSeconds * 1000.0);
    std::vector<Subject> subjects;
    if (measureEditor)
        subjects.emplace_back(u"editor"_s, StartupProbe(parser.value(editorOption), environment, timeoutMs),
                              true);
    if (measureMinimal) {
        subjects.emplace_back(u"minimal"_s, StartupProbe(parser.value(minimalOption), environment, timeoutMs),
                              false);
    }

    const bool verbose = parser.isSet(verboseOption);
    for (Subject& subject : subjects)
        RunOnce(subject, cardSource, false, verbose);
    // Alternating the programs spreads any drift of the machine's load over both series alike.
    for (int i = 0; i < runs; ++i) {
        for (Subject& subject : subjects)
            RunOnce(subject, cardSource, true, verbose);
    }

    Out() << u"Start-up until the first painted window, "_s << runs << u" runs each after one warm-up run"_s
          << Qt::endl;
    Out() << u"Platform: "_s << platformLabel << Qt::endl << Qt::endl;
    Out() << u"program      median ms     min ms     max ms   runs"_s << Qt::endl;
    bool allOk = true;
    for (const Subject& subject : subjects) {
        if (subject.Failed()) {
            allOk = false;
            Out() << subject.name.leftJustified(10) << u"     (failed, see below)"_s << Qt::endl;
            continue;
        }
        const auto [lowest, highest] = std::minmax_element(subject.times.begin(), subject.times.end());
        Out() << subject.name.leftJustified(10)
              << QString::number(Median(subject.times), 'f', 1).rightJustified(11)
              << QString::number(*lowest, 'f', 1).rightJustified(11)
              << QString::number(*highest, 'f', 1).rightJustified(11)
              << QString::number(subject.times.size()).rightJustified(7) << Qt::endl;
    }
    Out() << Qt::endl;

    if (measureEditor && measureMinimal && allOk) {
        const double ratio = Median(subjects[0].times) / Median(subjects[1].times);
        Out() << u"Ratio editor / minimal: "_s << QString::number(ratio, 'f', 2) << u"x (goal: at most "_s
              << QString::number(kGoalRatio, 'f', 1) << u"x, "_s
              << (ratio <= kGoalRatio ? u"met"_s : u"missed"_s) << u")"_s << Qt::endl;
    } else if (measureEditor && measureMinimal) {
        Out() << u"Ratio editor / minimal: not available"_s << Qt::endl;
    }

    for (const Subject& subject : subjects) {
        if (subject.Failed())
            PrintFailure(subject);
    }
    return allOk ? 0 : 1;
}
