#pragma once

#include "platform/linux/CardFormatBackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

// Formats as a desktop user through the UDisks2 service, which does the privileged work and asks
// for authorisation where the system's policy wants it.
class UDisks2CardFormatter final : public CardFormatBackend
{
public:
    static inline const QString kService = QStringLiteral("org.freedesktop.UDisks2");

    explicit UDisks2CardFormatter(QDBusConnection bus, int formatTimeoutMs = 30 * 60 * 1000);

    // Whether the service is on the system bus (or can be started there).
    static bool IsAvailable(const QDBusConnection& bus);

    QString Format(const CardVolume& volume, const CardFormatJob& job, FormatReports& reports) const override;

private:
    QString ObjectPathOf(const CardVolume& volume) const;
    QString ServiceVersion() const;
    QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments, int timeoutMs = -1) const;
    QString Mount(const QString& path) const;

    QDBusConnection m_bus;
    int m_formatTimeoutMs;
};
