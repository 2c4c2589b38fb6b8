#include "platform/linux/UDisks2CardFormatter.h"

#include "tests/fakes/RecordingReports.h"
#include "tests/support/DebugLineRecorder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kPython = u"/usr/bin/python3"_s;

// A private bus with the stand-in UDisks2 service on it, gone with the object.
class StandInService final
{
public:
    explicit StandInService(const QJsonObject& parameters)
    {
        m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000)) {
            m_error = u"dbus-daemon did not start"_s;
            return;
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, m_address));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_address);
        m_mock.setProcessEnvironment(environment);
        m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_mock.start(kPython,
                     {u"-m"_s, u"dbusmock"_s, u"--session"_s, u"-t"_s,
                      QStringLiteral(DASHCAM_SOURCE_DIR "/tests/platform/udisks2_stand_in.py"), u"-p"_s,
                      QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact))});
        QElapsedTimer waited;
        waited.start();
        while (!m_bus->interface()->isServiceRegistered(UDisks2CardFormatter::kService)) {
            if (waited.elapsed() > 20000 || m_mock.state() == QProcess::NotRunning) {
                m_error = u"the stand-in service did not start"_s;
                return;
            }
            QTest::qWait(50);
        }
    }

    ~StandInService()
    {
        if (m_bus) {
            const QString name = m_bus->name();
            m_bus.reset();
            QDBusConnection::disconnectFromBus(name);
        }
        for (QProcess* process : {&m_mock, &m_daemon}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished();
            }
        }
    }
    Q_DISABLE_COPY_MOVE(StandInService)

    const QString& Error() const { return m_error; }
    const QDBusConnection& Bus() const { return *m_bus; }

    QStringList Calls() const
    {
        const QDBusMessage reply = m_bus->call(QDBusMessage::createMethodCall(
            UDisks2CardFormatter::kService, u"/org/freedesktop/UDisks2/Manager"_s,
            u"org.freedesktop.UDisks2.Manager"_s, u"TestCalls"_s));
        return reply.arguments().isEmpty() ? QStringList{reply.errorMessage()}
                                           : reply.arguments().first().toStringList();
    }

private:
    QProcess m_daemon;
    QProcess m_mock;
    QString m_address;
    QString m_error;
    std::unique_ptr<QDBusConnection> m_bus;
};

} // namespace

class UDisks2CardFormatterTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void callsTheServiceInOrder_data();
    void callsTheServiceInOrder();
};

void UDisks2CardFormatterTest::initTestCase()
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
        QSKIP("dbus-daemon is not installed (package dbus-daemon): no private bus for the stand-in UDisks2");
    QProcess probe;
    probe.start(kPython, {u"-c"_s, u"import dbusmock"_s});
    if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        QSKIP("python3-dbusmock is not installed: no stand-in UDisks2 service");
}

void UDisks2CardFormatterTest::callsTheServiceInOrder_data()
{
    QTest::addColumn<QJsonObject>("service");
    QTest::addColumn<bool>("exfat");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QStringList>("debugLines");

    const QString resolve = u"ResolveDevice path=/dev/sdx1"_s;
    const QStringList done{u"progress"_s, u"progress"_s, u"progress"_s, u"done ok"_s};
    QTest::newRow("udisks 2.9: FAT32 with its default clusters")
        << QJsonObject{{u"version"_s, u"2.9.4"_s}} << false
        << QStringList{resolve, u"Unmount"_s, u"Format vfat label=K410"_s, u"Mount"_s} << done
        << u"/media/fixture-user/K410"_s
        << QStringList{u"UDisks2 2.9.4 cannot choose the cluster size: formatting with its default"_s};
    QTest::newRow("udisks 2.10: FAT32 with 32768-byte clusters")
        << QJsonObject{{u"version"_s, u"2.10.1"_s}} << false
        << QStringList{resolve, u"Unmount"_s, u"Format vfat label=K410 mkfs-args=-F,32,-s,64"_s, u"Mount"_s}
        << done << u"/media/fixture-user/K410"_s << QStringList();
    QTest::newRow("exFAT") << QJsonObject{{u"version"_s, u"2.9.4"_s}} << true
                           << QStringList{resolve, u"Unmount"_s, u"Format exfat label=K410"_s, u"Mount"_s}
                           << done << u"/media/fixture-user/K410"_s << QStringList();
    QTest::newRow("service without ResolveDevice")
        << QJsonObject{{u"version"_s, u"2.7.0"_s}, {u"resolve"_s, false}} << true
        << QStringList{u"Unmount"_s, u"Format exfat label=K410"_s, u"Mount"_s} << done
        << u"/media/fixture-user/K410"_s << QStringList();
    QTest::newRow("busy card") << QJsonObject{{u"fail"_s, u"Unmount"_s}} << true
                               << QStringList{resolve, u"Unmount"_s} << QStringList{u"done failed"_s}
                               << u"/media/fixture-user/OLDCARD"_s
                               << QStringList{
                                      u"UDisks2 Unmount failed: org.freedesktop.UDisks2.Error.DeviceBusy: "
                                      u"Error unmounting: target is busy"_s};
    QTest::newRow("failed Format")
        << QJsonObject{{u"fail"_s, u"Format"_s}} << true
        << QStringList{resolve, u"Unmount"_s, u"Format exfat label=K410"_s, u"Mount"_s}
        << QStringList{u"progress"_s, u"progress"_s, u"progress"_s, u"done failed"_s}
        << u"/media/fixture-user/OLDCARD"_s
        << QStringList{u"UDisks2 Format failed: org.freedesktop.UDisks2.Error.Failed: "
                       u"Error creating filesystem"_s};
}

void UDisks2CardFormatterTest::callsTheServiceInOrder()
{
    QFETCH(QJsonObject, service);
    QFETCH(bool, exfat);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, events);
    QFETCH(QString, mountPoint);
    QFETCH(QStringList, debugLines);
    StandInService standIn(service);
    if (!standIn.Error().isEmpty())
        QFAIL(qPrintable(standIn.Error()));
    CardVolume volume;
    volume.mountPoint = u"/media/fixture-user/OLDCARD"_s;
    volume.devicePath = u"/dev/sdx1"_s;
    volume.deviceName = u"sdx1"_s;
    volume.diskName = u"sdx"_s;
    volume.isPartition = true;
    const CardFormatJob job{exfat ? CardFormatJob::FileSystem::Exfat : CardFormatJob::FileSystem::Fat32,
                            u"K410"_s, exfat ? 0u : 32768u};
    RecordingReports reports;
    DebugLineRecorder debug;

    const QString after = UDisks2CardFormatter(standIn.Bus()).Format(volume, job, reports);

    QCOMPARE(standIn.Calls(), calls);
    QCOMPARE(reports.Events(), events);
    QCOMPARE(after, mountPoint);
    QCOMPARE(debug.Lines(), debugLines);
}

QTEST_GUILESS_MAIN(UDisks2CardFormatterTest)
#include "UDisks2CardFormatterTest.moc"
