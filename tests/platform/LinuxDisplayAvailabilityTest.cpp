#include "platform/linux/LinuxDisplayAvailability.h"

#include "tests/support/PrivateXServer.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// A display counts only when a window could really be shown on it.
class LinuxDisplayAvailabilityTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decidesFromTheSession_data()
    {
        QTest::addColumn<QString>("display"); // "server": the test's own X server
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<bool>("available");

        QTest::newRow("neither") << QString() << QString() << false;
        QTest::newRow("X server running") << u"server"_s << QString() << true;
        QTest::newRow("X display nobody answers on") << UnusedDisplay() << QString() << false;
        QTest::newRow("Wayland session") << QString() << u"wayland-0"_s << true;
    }

    void decidesFromTheSession()
    {
        QFETCH(QString, display);
        QFETCH(QString, waylandDisplay);
        QFETCH(bool, available);

        std::unique_ptr<PrivateXServer> server;
        if (display == "server"_L1) {
            server = std::make_unique<PrivateXServer>();
            QVERIFY2(server->IsRunning(), qPrintable(server->ErrorString()));
            display = server->Display();
        }
        const auto value = [](const QString& text) {
            return text.isEmpty() ? std::nullopt : std::optional<QByteArray>(text.toUtf8());
        };
        ScopedEnvironmentVariable x("DISPLAY", value(display));
        ScopedEnvironmentVariable wayland("WAYLAND_DISPLAY", value(waylandDisplay));
        QCOMPARE(LinuxDisplayAvailability().IsDisplayAvailable(), available);
    }

private:
    static QString UnusedDisplay()
    {
        for (int number = 751; number < 1000; ++number) {
            const QString n = QString::number(number);
            if (!QFile::exists(u"/tmp/.X11-unix/X"_s + n) && !QFile::exists(u"/tmp/.X"_s + n + u"-lock"_s))
                return u":"_s + n;
        }
        return {};
    }
};

QTEST_GUILESS_MAIN(LinuxDisplayAvailabilityTest)
#include "LinuxDisplayAvailabilityTest.moc"
