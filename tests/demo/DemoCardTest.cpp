#include "settings/DeviceVersionInfo.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "settings/VersionFile.h"
#include "tests/support/DebugLineRecorder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The committed demo card is the generator's output and a clean card for the editor.
class DemoCardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generatorReproducesCommittedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("setup.cfg") << u"setup.cfg"_s;
        QTest::newRow("default.cfg") << u"default.cfg"_s;
        QTest::newRow("lang/ver.dat") << u"lang/ver.dat"_s;
    }

    void generatorReproducesCommittedFiles()
    {
        QFETCH(QString, name);
        QTemporaryDir out;
        QProcess generator;
        generator.start(QStringLiteral(DEMO_CARD_GENERATOR), {m_source + u"/demo/card.txt"_s, out.path()});
        QVERIFY(generator.waitForFinished(30000));
        QCOMPARE(generator.exitCode(), 0);
        QCOMPARE(Read(out.path() + u'/' + name), Read(m_card + name));
    }

    void cardLoadsWithoutWarnings()
    {
        SettingsRecord setup;
        SettingsRecord factory;
        DebugLineRecorder debug;
        QVERIFY(LoadSettingsFile(setup, m_card + u"setup.cfg"_s));
        QVERIFY(LoadSettingsFile(factory, m_card + u"default.cfg"_s));
        QCOMPARE(debug.Lines(), QStringList(2, u"\n\nBlackBox Setting loading...\n"_s));
        QCOMPARE(setup.Text(Field::product_name), u"K410"_s);
        QCOMPARE(setup.UInt32(Field::config_version), 0x00010002u);
        QCOMPARE(setup.Text(Field::time_zone_name), u"Tokyo Standard Time"_s);
        QVERIFY(setup.ToByteArray() != factory.ToByteArray()); // Initialize shows a change

        DeviceVersionInfo info;
        ReadVersionFile(info, m_card + u"lang/"_s);
        QVERIFY(info.codes.size() > 2);
        QCOMPARE(info.codes.value(setup.Int32(Field::device_language)), u"en"_s);
        QCOMPARE(info.names.size(), info.codes.size());
    }

private:
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    const QString m_source = QStringLiteral(DASHCAM_SOURCE_DIR);
    const QString m_card = m_source + u"/demo/card/"_s;
};

QTEST_GUILESS_MAIN(DemoCardTest)
#include "DemoCardTest.moc"
