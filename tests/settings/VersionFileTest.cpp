#include "settings/VersionFile.h"

#include "settings/DeviceVersionInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class VersionFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesKeyWordLines_data();
    void parsesKeyWordLines();
    void namesFollowCodesPositionForPosition_data();
    void namesFollowCodesPositionForPosition();
    void missingFileLeavesEverythingEmpty();

private:
    DeviceVersionInfo Read(const QByteArray& content)
    {
        QDir(m_dir.path()).mkpath(u"lang"_s);
        QFile file(m_dir.filePath(u"lang/ver.dat"_s));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
        file.close();
        DeviceVersionInfo info;
        ReadVersionFile(info, m_dir.path() + u"/lang/"_s);
        return info;
    }
    QTemporaryDir m_dir;
};

void VersionFileTest::parsesKeyWordLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("packName");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("whole file, CR LF")
        << QByteArray(" Ver : 1.02\r\n Pack Name : EU pack\r\n Device : K410\r\n Code : en fr-CA es\r\n")
        << u"1.02"_s << u"EU pack"_s << u"K410"_s << QStringList{u"en"_s, u"fr-CA"_s, u"es"_s};
    QTest::newRow("LF, no final newline")
        << QByteArray("#Ver: 2\n#Code: ko") << u"2"_s << QString() << QString() << QStringList{u"ko"_s};
    QTest::newRow("key word at the first character") << QByteArray("Code : en fr-CA es\nVer: 9\nDevice: X")
                                                     << QString() << QString() << QString() << QStringList{};
    QTest::newRow("text after a second colon dropped")
        << QByteArray(" Ver : 1.02:15") << u"1.02"_s << QString() << QString() << QStringList{};
    QTest::newRow("Ver found inside Version first")
        << QByteArray(" Pack Name : EU\n Pack Name : Version 3") << u"Version 3"_s << u"EU"_s << QString()
        << QStringList{};
    QTest::newRow("only the first code line counts") << QByteArray(" Code: en\n Code: ko ja") << QString()
                                                     << QString() << QString() << QStringList{u"en"_s};
    QTest::newRow("an empty first code line still counts")
        << QByteArray(" Code:\n Code: ko") << QString() << QString() << QString() << QStringList{};
    QTest::newRow("runs of blanks") << QByteArray(" Code :   en    ko   ") << QString() << QString()
                                    << QString() << QStringList{u"en"_s, u"ko"_s};
    QTest::newRow("runs of colons") << QByteArray(" Device::: K410 ::x") << QString() << QString()
                                    << u"K410"_s << QStringList{};
    QTest::newRow("colons only") << QByteArray(":::\n Ver:::") << QString() << QString() << QString()
                                 << QStringList{};
    QTest::newRow("later line replaces")
        << QByteArray(" Ver: 1\n Ver: 2") << u"2"_s << QString() << QString() << QStringList{};
    QTest::newRow("NUL ends the line") << QByteArray(" Code: en\0 ko\n Ver: 3", 21) << u"3"_s << QString()
                                       << QString() << QStringList{u"en"_s};
    QTest::newRow("binary junk") << QByteArray("\xff\xfe\x00\x01\x02:\x80\x81\n\x1a\x1b", 11) << QString()
                                 << QString() << QString() << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QString() << QString() << QString() << QStringList{};
    QTest::newRow("megabyte line before the codes")
        << (QByteArray(1 << 20, 'x') + "\n Code: ja\n") << QString() << QString() << QString()
        << QStringList{u"ja"_s};
    QTest::newRow("Latin-1 bytes") << QByteArray(" Device: Cam\xE9ra") << QString() << QString()
                                   << u"Cam\u00E9ra"_s << QStringList{};
}

void VersionFileTest::parsesKeyWordLines()
{
    QFETCH(QByteArray, content);
    const DeviceVersionInfo info = Read(content);
    QTEST(info.version, "version");
    QTEST(info.pack_name, "packName");
    QTEST(info.device, "device");
    QTEST(info.codes, "codes");
}

void VersionFileTest::namesFollowCodesPositionForPosition_data()
{
    QTest::addColumn<QByteArray>("codeLine");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("known codes") << QByteArray(" Code: en fr ko")
                                 << QStringList{u"English"_s, u"French"_s, u"Korean"_s};
    QTest::newRow("letter case matters") << QByteArray(" Code: EN de") << QStringList{u"EN"_s, u"German"_s};
    QTest::newRow("unknown code keeps its place")
        << QByteArray(" Code: en xx-YY zh-Hant-HK")
        << QStringList{u"English"_s, u"xx-YY"_s, u"Hong Kong Chinese in traditional script"_s};
    QTest::newRow("empty code line") << QByteArray(" Code:") << QStringList{};
}

void VersionFileTest::namesFollowCodesPositionForPosition()
{
    QFETCH(QByteArray, codeLine);
    QFETCH(QStringList, names);
    const DeviceVersionInfo info = Read(codeLine);
    QCOMPARE(info.names, names);
    QCOMPARE(info.names.size(), info.codes.size());
}

void VersionFileTest::missingFileLeavesEverythingEmpty()
{
    DeviceVersionInfo info;
    ReadVersionFile(info, m_dir.path() + u"/nowhere/"_s);
    QVERIFY(info.version.isEmpty() && info.pack_name.isEmpty() && info.device.isEmpty());
    QVERIFY(info.codes.isEmpty() && info.names.isEmpty());
}

QTEST_GUILESS_MAIN(VersionFileTest)
#include "VersionFileTest.moc"
