#include "platform/linux/UDisks2CardFormatter.h"

#include "platform/DebugOutput.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QThread>
#include <QVersionNumber>

using namespace Qt::StringLiterals;

namespace {

const QString kManagerPath = u"/org/freedesktop/UDisks2/Manager"_s;
const QString kManagerInterface = u"org.freedesktop.UDisks2.Manager"_s;
const QString kBlockInterface = u"org.freedesktop.UDisks2.Block"_s;
const QString kFilesystemInterface = u"org.freedesktop.UDisks2.Filesystem"_s;
// The service's ordinary calls answer within seconds; unmounting flushes the card's caches.
constexpr int kCallTimeoutMs = 2 * 60 * 1000;
// After a format the service probes the new file system before it offers to mount it.
constexpr int kMountAttempts = 20;
constexpr int kMountRetryMs = 250;

// The object path the service gives a block device when it cannot be asked: the kernel name
// with every character outside [A-Za-z0-9] written as _xx.
QString FallbackObjectPath(const QString& name)
{
    QString escaped;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
            escaped += c;
        else
            escaped += u'_' + QString::number(u, 16).rightJustified(2, u'0');
    }
    return u"/org/freedesktop/UDisks2/block_devices/"_s + escaped;
}

QString ErrorText(const QDBusMessage& reply)
{
    return reply.errorName() + u": "_s + reply.errorMessage();
}

} // namespace

UDisks2CardFormatter::UDisks2CardFormatter(QDBusConnection bus, int formatTimeoutMs)
    : m_bus(std::move(bus)), m_formatTimeoutMs(formatTimeoutMs)
{}

bool UDisks2CardFormatter::IsAvailable(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(kService))
        return true;
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                u"org.freedesktop.DBus"_s, u"ListActivatableNames"_s));
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toStringList().contains(kService);
}

QDBusMessage UDisks2CardFormatter::Call(const QString& path, const QString& interface, const QString& method,
                                        const QVariantList& arguments, int timeoutMs) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
    message.setArguments(arguments);
    // Let the service ask for a password through the desktop's agent where its policy wants one.
    message.setInteractiveAuthorizationAllowed(true);
    return m_bus.call(message, QDBus::Block, timeoutMs < 0 ? kCallTimeoutMs : timeoutMs);
}

QString UDisks2CardFormatter::ObjectPathOf(const CardVolume& volume) const
{
    const QVariantMap device{{u"path"_s, volume.devicePath}};
    const QDBusMessage reply =
        Call(kManagerPath, kManagerInterface, u"ResolveDevice"_s, {device, QVariantMap()});
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        const auto paths = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().first());
        if (!paths.isEmpty())
            return paths.first().path();
    }
    // Services before 2.7.3 have no ResolveDevice.
    return FallbackObjectPath(volume.deviceName);
}

QString UDisks2CardFormatter::ServiceVersion() const
{
    const QDBusMessage reply =
        Call(kManagerPath, u"org.freedesktop.DBus.Properties"_s, u"Get"_s, {kManagerInterface, u"Version"_s});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QDBusVariant>(reply.arguments().first()).variant().toString();
}

QString UDisks2CardFormatter::Mount(const QString& path) const
{
    QDBusMessage reply;
    for (int attempt = 0; attempt < kMountAttempts; ++attempt) {
        reply = Call(path, kFilesystemInterface, u"Mount"_s, {QVariantMap()});
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            return reply.arguments().first().toString();
        // Only "not there yet" is worth waiting for; a refusal stays a refusal.
        if (!reply.errorName().startsWith("org.freedesktop.DBus.Error.Unknown"_L1))
            break;
        QThread::msleep(kMountRetryMs);
    }
    DebugOutput(u"UDisks2 Mount failed: "_s + ErrorText(reply));
    return {};
}

QString UDisks2CardFormatter::Format(const CardVolume& volume, const CardFormatJob& job,
                                     FormatReports& reports) const
{
    const QString path = ObjectPathOf(volume);
    const QDBusMessage unmounted = Call(path, kFilesystemInterface, u"Unmount"_s, {QVariantMap()});
    if (unmounted.type() != QDBusMessage::ReplyMessage) {
        DebugOutput(u"UDisks2 Unmount failed: "_s + ErrorText(unmounted));
        reports.Done(false);
        return volume.mountPoint;
    }
    reports.StructureProgress();

    const bool fat = job.fileSystem == CardFormatJob::FileSystem::Fat32;
    QVariantMap options{{u"label"_s, job.label}};
    if (fat && job.clusterSize != 0) {
        const QString version = ServiceVersion();
        const quint32 sector = volume.logicalBlockSize == 0 ? 512 : volume.logicalBlockSize;
        if (QVersionNumber::fromString(version) >= QVersionNumber(2, 10)) {
            options.insert(u"mkfs-args"_s,
                           QStringList{u"-F"_s, u"32"_s, u"-s"_s,
                                       QString::number(qMax<quint32>(1, job.clusterSize / sector))});
        } else {
            DebugOutput(u"UDisks2 %1 cannot choose the cluster size: formatting with its default"_s.arg(
                version.isEmpty() ? u"(unknown version)"_s : version));
        }
    }
    const QDBusMessage formatted =
        Call(path, kBlockInterface, u"Format"_s, {fat ? u"vfat"_s : u"exfat"_s, options}, m_formatTimeoutMs);
    const bool made = formatted.type() == QDBusMessage::ReplyMessage;
    if (!made)
        DebugOutput(u"UDisks2 Format failed: "_s + ErrorText(formatted));
    reports.StructureProgress();

    // Mount even after a failed format, so that the files can go back onto whatever is there.
    const QString mountPoint = Mount(path);
    if (!mountPoint.isEmpty())
        reports.StructureProgress();
    reports.Done(made && !mountPoint.isEmpty());
    return mountPoint.isEmpty() ? volume.mountPoint : mountPoint;
}
