#include "platform/linux/LinuxAppDataFolder.h"

#include "tests/support/ScopedEnvironmentVariable.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Where the program's local copy goes: the XDG data home.
class LinuxAppDataFolderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheEnvironment_data();
    void followsTheEnvironment();
};

void LinuxAppDataFolderTest::followsTheEnvironment_data()
{
    QTest::addColumn<bool>("setDataHome");
    QTest::addColumn<QByteArray>("dataHome");
    QTest::addColumn<QString>("expected");

    QTest::newRow("XDG_DATA_HOME set") << true << QByteArray("/srv/data home") << u"/srv/data home"_s;
    QTest::newRow("XDG_DATA_HOME with trailing slash") << true << QByteArray("/srv/xdg/") << u"/srv/xdg"_s;
    QTest::newRow("XDG_DATA_HOME unset") << false << QByteArray() << u"/home/driver/.local/share"_s;
    QTest::newRow("XDG_DATA_HOME empty") << true << QByteArray() << u"/home/driver/.local/share"_s;
    QTest::newRow("relative XDG_DATA_HOME is ignored")
        << true << QByteArray("data") << u"/home/driver/.local/share"_s;
}

void LinuxAppDataFolderTest::followsTheEnvironment()
{
    QFETCH(bool, setDataHome);
    QFETCH(QByteArray, dataHome);
    QFETCH(QString, expected);

    const ScopedEnvironmentVariable home("HOME", QByteArray("/home/driver"));
    const ScopedEnvironmentVariable xdg("XDG_DATA_HOME",
                                        setDataHome ? std::optional(dataHome) : std::nullopt);
    QCOMPARE(LinuxAppDataFolder().LocalAppDataPath(), expected);
}

QTEST_GUILESS_MAIN(LinuxAppDataFolderTest)
#include "LinuxAppDataFolderTest.moc"
