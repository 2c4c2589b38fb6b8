#include "platform/CRegistryManager.h"
#include "platform/linux/WineRegistryBackend.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kFixturePrefix = QStringLiteral(DASHCAM_TEST_DATA "/platform/wine-prefix");
const QString kViewerKey = u"SOFTWARE\\ORBELMARK\\"_s;
constexpr qsizetype kViewerBufferBytes = 260;

QByteArray ReadFixture()
{
    QFile file(kFixturePrefix + "/system.reg"_L1);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray Utf16Bytes(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes + QByteArray(2, '\0');
}

std::optional<QString> ReadText(const CRegistryManager& registry, const QString& keyPath, const QString& name,
                                qsizetype bufferBytes = kViewerBufferBytes)
{
    RegistryKey key;
    QString text;
    if (!registry.OpenKey(keyPath, key) || !registry.QueryStringValue(key, name, bufferBytes, text))
        return std::nullopt;
    return text;
}

} // namespace

// The viewer's registry as Wine keeps it, read through the program's registry wrapper.
class WineRegistryTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readsTextValues_data();
    void readsTextValues();
    void readsRawValues_data();
    void readsRawValues();
    void listsSubkeys_data();
    void listsSubkeys();
    void listsValueNames_data();
    void listsValueNames();
    void missingKeysDoNotOpen();
    void findsThePrefix_data();
    void findsThePrefix();
    void damagedFilesHoldNothing_data();
    void damagedFilesHoldNothing();
    void damagedLinesAreSkipped_data();
    void damagedLinesAreSkipped();
    void filesOverTheCapAreNotRead_data();
    void filesOverTheCapAreNotRead();
    void changedFileIsReadAgain();
    void nonRegularFileIsNotRead();

private:
    QByteArray m_fixture;
    std::unique_ptr<CRegistryManager> m_registry;
};

void WineRegistryTest::initTestCase()
{
    m_fixture = ReadFixture();
    QVERIFY(m_fixture.startsWith("WINE REGISTRY Version 2\n"));
    m_registry = std::make_unique<CRegistryManager>(std::make_shared<WineRegistryBackend>(kFixturePrefix));
}

void WineRegistryTest::readsTextValues_data()
{
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<qsizetype>("bufferBytes");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");

    const qsizetype buffer = kViewerBufferBytes;
    QTest::newRow("viewer language") << kViewerKey << u"LANGUAGE"_s << buffer << true << u"German"_s;
    QTest::newRow("key in other letter case")
        << u"software\\orbelmark"_s << u"LANGUAGE"_s << buffer << true << u"German"_s;
    QTest::newRow("value in other letter case")
        << kViewerKey << u"language"_s << buffer << true << u"German"_s;
    QTest::newRow("same value name in a subkey")
        << u"Software\\ORBELMARK\\Quelvix"_s << u"LANGUAGE"_s << buffer << true << u"French"_s;
    QTest::newRow("missing value") << kViewerKey << u"COUNTRY"_s << buffer << false << QString();
    QTest::newRow("missing key") << u"SOFTWARE\\NOBODY"_s << u"LANGUAGE"_s << buffer << false << QString();
    QTest::newRow("key the file only implies has no values")
        << u"SOFTWARE"_s << u"LANGUAGE"_s << buffer << false << QString();
    QTest::newRow("escapes") << kViewerKey << u"Escaped"_s << qsizetype(1024) << true
                             << u"C:\\Viewer\\\"Q\" \ttab\nline Caf\u00e9 Caf\u00e9e A\u263a"_s;
    QTest::newRow("expandable text stays unexpanded")
        << kViewerKey << u"InstallDir"_s << buffer << true << u"%ProgramFiles%\\Quelvix"_s;
    QTest::newRow("expandable text written as hex") << kViewerKey << u"Path"_s << buffer << true << u"E:\\"_s;
    QTest::newRow("multi-string gives its first text")
        << kViewerKey << u"Recent"_s << buffer << true << u"E:\\"_s;
    QTest::newRow("default value") << kViewerKey << QString() << buffer << true << u"Quelvix default"_s;
    QTest::newRow("number is no text") << kViewerKey << u"Build"_s << buffer << false << QString();
    QTest::newRow("binary is no text") << kViewerKey << u"Blob"_s << buffer << false << QString();
    QTest::newRow("129 characters fit 260 bytes") << kViewerKey << u"ShortNote"_s << buffer << true
                                                  << u"Quelvix viewer install note "_s.repeated(5).left(129);
    QTest::newRow("130 characters do not fit 260 bytes")
        << kViewerKey << u"LongNote"_s << buffer << false << QString();
    QTest::newRow("130 characters fit 262 bytes") << kViewerKey << u"LongNote"_s << qsizetype(262) << true
                                                  << u"Quelvix viewer install note "_s.repeated(5).left(130);
    QTest::newRow("buffer one byte short")
        << kViewerKey << u"LANGUAGE"_s << qsizetype(13) << false << QString();
    QTest::newRow("buffer just big enough")
        << kViewerKey << u"LANGUAGE"_s << qsizetype(14) << true << u"German"_s;
    QTest::newRow("names with blanks")
        << u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Tokyo Standard Time"_s << u"Std"_s
        << qsizetype(512) << true << u"Tokyo Standard Time"_s;
}

void WineRegistryTest::readsTextValues()
{
    QFETCH(QString, keyPath);
    QFETCH(QString, valueName);
    QFETCH(qsizetype, bufferBytes);
    QFETCH(bool, found);
    QFETCH(QString, text);

    const std::optional<QString> read = ReadText(*m_registry, keyPath, valueName, bufferBytes);
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, text);
}

void WineRegistryTest::readsRawValues_data()
{
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<qsizetype>("bufferBytes");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");

    QByteArray blob;
    for (int i = 0; i < 0x32; ++i)
        blob.append(static_cast<char>(i));
    const QByteArray tzi = QByteArray::fromHex("c4fdffff00000000c4ffffff") + QByteArray(32, '\0');

    QTest::newRow("text") << u"LANGUAGE"_s << qsizetype(260) << true << quint32(RegistryValue::String)
                          << Utf16Bytes(u"German"_s);
    QTest::newRow("dword") << u"Build"_s << qsizetype(4) << true << quint32(RegistryValue::DWord)
                           << QByteArray::fromHex("0a040000");
    QTest::newRow("hex over continuation lines")
        << u"Blob"_s << qsizetype(512) << true << quint32(RegistryValue::Binary) << blob;
    QTest::newRow("typed hex") << u"Path"_s << qsizetype(512) << true << quint32(RegistryValue::ExpandString)
                               << Utf16Bytes(u"E:\\"_s);
    QTest::newRow("multi-string keeps every text")
        << u"Recent"_s << qsizetype(512) << true << quint32(RegistryValue::MultiString)
        << Utf16Bytes(QString(u"E:\\"_s + QChar(0) + u"F:\\"_s + QChar(0)));
    QTest::newRow("expandable text") << u"InstallDir"_s << qsizetype(512) << true
                                     << quint32(RegistryValue::ExpandString)
                                     << Utf16Bytes(u"%ProgramFiles%\\Quelvix"_s);
    QTest::newRow("binary one byte too big")
        << u"Blob"_s << qsizetype(0x31) << false << quint32(0) << QByteArray();

    // The time zone record is read into a buffer of exactly its size.
    QTest::newRow("time zone record fits 44 bytes")
        << u"TZI"_s << qsizetype(44) << true << quint32(RegistryValue::Binary) << tzi;
    QTest::newRow("time zone record needs 44 bytes")
        << u"TZI"_s << qsizetype(43) << false << quint32(0) << QByteArray();
}

void WineRegistryTest::readsRawValues()
{
    QFETCH(QString, valueName);
    QFETCH(qsizetype, bufferBytes);
    QFETCH(bool, found);
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);

    const QString keyPath =
        valueName == "TZI"_L1
            ? u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Tokyo Standard Time"_s
            : kViewerKey;
    RegistryKey key;
    QVERIFY(m_registry->OpenKey(keyPath, key));
    QByteArray read = "untouched";
    quint32 readType = 0xdead;
    QCOMPARE(m_registry->QueryValue(key, valueName, bufferBytes, read, &readType), found);
    if (found) {
        QCOMPARE(readType, type);
        QCOMPARE(read, data);
    } else {
        QCOMPARE(read, QByteArray("untouched"));
        QCOMPARE(readType, quint32(0xdead));
    }
}

void WineRegistryTest::listsSubkeys_data()
{
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<qsizetype>("nameBufferChars");
    QTest::addColumn<QStringList>("names");

    const qsizetype full = CRegistryManager::kKeyNameBufferChars;
    QTest::newRow("viewer key, one subkey only implied")
        << u"Software\\ORBELMARK"_s << full << QStringList{u"Cards"_s, u"Quelvix"_s};
    QTest::newRow("implied key") << u"SOFTWARE"_s << full
                                 << QStringList{u"Microsoft"_s, u"ORBELMARK"_s, u"Wine"_s};
    QTest::newRow("root of the tree") << QString() << full << QStringList{u"Software"_s, u"System"_s};
    QTest::newRow("any letter case") << u"software\\microsoft\\windows nt\\currentversion\\time zones"_s
                                     << full << QStringList{u"Tokyo Standard Time"_s};
    QTest::newRow("leaf key") << u"Software\\ORBELMARK\\Cards\\K410"_s << full << QStringList();
    QTest::newRow("names longer than the buffer are skipped")
        << u"Software\\ORBELMARK"_s << qsizetype(7) << QStringList{u"Cards"_s};
}

void WineRegistryTest::listsSubkeys()
{
    QFETCH(QString, keyPath);
    QFETCH(qsizetype, nameBufferChars);
    QFETCH(QStringList, names);

    RegistryKey key;
    QVERIFY(m_registry->OpenKey(keyPath, key));
    QStringList listed{u"stale"_s};
    QVERIFY(m_registry->EnumSubkeyNames(key, listed, nameBufferChars));
    QCOMPARE(listed, names);
}

void WineRegistryTest::listsValueNames_data()
{
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("in file order, default value last")
        << kViewerKey << QStringList{u"LANGUAGE"_s, u"Escaped"_s, u"InstallDir"_s, u"Recent"_s,    u"Build"_s,
                                     u"Blob"_s,     u"Path"_s,    u"LongNote"_s,   u"ShortNote"_s, QString()};
    QTest::newRow("implied key has none") << u"Software"_s << QStringList();
    QTest::newRow("subkey") << u"software\\orbelmark\\cards\\k410"_s << QStringList{u"Model"_s};
}

void WineRegistryTest::listsValueNames()
{
    QFETCH(QString, keyPath);
    QFETCH(QStringList, names);

    RegistryKey key;
    QVERIFY(m_registry->OpenKey(keyPath, key));
    QStringList listed{u"stale"_s};
    QVERIFY(m_registry->EnumValueNames(key, listed));
    QCOMPARE(listed, names);
}

void WineRegistryTest::missingKeysDoNotOpen()
{
    RegistryKey key;
    QVERIFY(!m_registry->OpenKey(u"SOFTWARE\\ORBELMARK\\Cards\\K630"_s, key));
    QVERIFY(!key.IsOpen());
    // A key whose name merely starts like an existing one is another key.
    QVERIFY(!m_registry->OpenKey(u"SOFTWARE\\ORBEL"_s, key));
    QStringList names{u"kept"_s};
    QVERIFY(!m_registry->EnumSubkeyNames(key, names));
    QVERIFY(!m_registry->EnumValueNames(key, names));
    QCOMPARE(names, QStringList{u"kept"_s});
}

void WineRegistryTest::findsThePrefix_data()
{
    QTest::addColumn<bool>("setPrefix");
    QTest::addColumn<QString>("prefix"); // @FIXTURE@ and @HOME@ stand for those folders
    QTest::addColumn<bool>("homeHasPrefix");
    QTest::addColumn<QString>("language");

    QTest::newRow("WINEPREFIX names the prefix") << true << u"@FIXTURE@"_s << true << u"German"_s;
    QTest::newRow("WINEPREFIX with trailing slash") << true << u"@FIXTURE@/"_s << true << u"German"_s;
    QTest::newRow("no WINEPREFIX: ~/.wine") << false << QString() << true << u"Korean"_s;
    QTest::newRow("empty WINEPREFIX: ~/.wine") << true << QString() << true << u"Korean"_s;
    QTest::newRow("WINEPREFIX names a missing folder")
        << true << u"@HOME@/no-such-prefix"_s << true << QString();
    QTest::newRow("relative WINEPREFIX is refused") << true << u".wine"_s << true << QString();
    QTest::newRow("no prefix anywhere") << false << QString() << false << QString();
}

void WineRegistryTest::findsThePrefix()
{
    QFETCH(bool, setPrefix);
    QFETCH(QString, prefix);
    QFETCH(bool, homeHasPrefix);
    QFETCH(QString, language);

    QTemporaryDir home;
    QVERIFY(home.isValid());
    if (homeHasPrefix) {
        QVERIFY(QDir(home.path()).mkpath(u".wine"_s));
        QByteArray content = m_fixture;
        content.replace("\"LANGUAGE\"=\"German\"", "\"LANGUAGE\"=\"Korean\"");
        QVERIFY(WriteFile(home.path() + "/.wine/system.reg"_L1, content));
    }
    prefix.replace("@FIXTURE@"_L1, kFixturePrefix).replace("@HOME@"_L1, home.path());

    // A relative prefix must not be found from the working folder either.
    const QString savedFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(home.path()));
    const auto restoreFolder = qScopeGuard([&] { QDir::setCurrent(savedFolder); });

    const ScopedEnvironmentVariable homeVariable("HOME", QFile::encodeName(home.path()));
    const ScopedEnvironmentVariable prefixVariable(
        "WINEPREFIX", setPrefix ? std::optional<QByteArray>(QFile::encodeName(prefix)) : std::nullopt);

    const CRegistryManager registry(std::make_shared<WineRegistryBackend>());
    const std::optional<QString> read = ReadText(registry, kViewerKey, u"LANGUAGE"_s);
    QCOMPARE(read.value_or(QString()), language);
    QCOMPARE(read.has_value(), !language.isEmpty());
}

void WineRegistryTest::damagedFilesHoldNothing_data()
{
    QTest::addColumn<QByteArray>("content");

    const qsizetype languageAt = m_fixture.indexOf("\"LANGUAGE\"=\"German\"");
    const qsizetype keyAt = m_fixture.indexOf("[Software\\\\ORBELMARK]");
    QVERIFY(languageAt > 0 && keyAt > 0);

    QRandomGenerator random(4711);
    QByteArray junk(64 * 1024, '\0');
    for (char& c : junk)
        c = static_cast<char>(random.bounded(256));
    // Junk rich in the characters the parser reacts to.
    QByteArray syntaxJunk;
    const char syntax[] = "[]\"\\@=#;:,\n\r\t xhex(dword:str(2):0123456789abcdef";
    for (int i = 0; i < 64 * 1024; ++i)
        syntaxJunk.append(syntax[random.bounded(int(sizeof syntax - 1))]);

    QByteArray deepKey = "WINE REGISTRY Version 2\n[";
    for (int i = 0; i < 100000; ++i)
        deepKey += "Software\\\\";
    deepKey += "ORBELMARK]\n\"LANGUAGE\"=\"German\"\n";

    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("header only") << QByteArray("WINE REGISTRY Version 2\n");
    QTest::newRow("other header") << QByteArray("REGEDIT4\n" + m_fixture.mid(m_fixture.indexOf('\n') + 1));
    QTest::newRow("header with trailing text")
        << QByteArray("WINE REGISTRY Version 2 extra\n" + m_fixture.mid(m_fixture.indexOf('\n') + 1));
    QTest::newRow("cut inside the value") << m_fixture.left(languageAt + 15);
    QTest::newRow("cut inside the key line") << m_fixture.left(keyAt + 15);
    QTest::newRow("lone backslash ends the file")
        << QByteArray(m_fixture.left(languageAt) + "\"LANGUAGE\"=\"German\\");
    QTest::newRow("hex continues past the end")
        << QByteArray(m_fixture.left(languageAt) + "\"LANGUAGE\"=hex(1):47,00,00,00,\\\n");
    QTest::newRow("binary junk") << junk;
    QTest::newRow("header then binary junk") << QByteArray("WINE REGISTRY Version 2\n" + junk);
    QTest::newRow("header then syntax junk") << QByteArray("WINE REGISTRY Version 2\n" + syntaxJunk);
    QTest::newRow("key too deep to be real") << deepKey;
    QTest::newRow("endless unterminated text")
        << QByteArray(m_fixture.left(languageAt) + "\"LANGUAGE\"=\"" + QByteArray(1024 * 1024, 'G'));
}

void WineRegistryTest::damagedFilesHoldNothing()
{
    QFETCH(QByteArray, content);

    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QVERIFY(WriteFile(prefix.path() + "/system.reg"_L1, content));
    const CRegistryManager registry(std::make_shared<WineRegistryBackend>(prefix.path()));

    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), std::nullopt);
    // Whatever is left must still answer every kind of question without harm.
    RegistryKey key;
    QStringList names;
    if (registry.OpenKey(QString(), key)) {
        QVERIFY(registry.EnumSubkeyNames(key, names));
        QVERIFY(registry.EnumValueNames(key, names));
    }
}

void WineRegistryTest::damagedLinesAreSkipped_data()
{
    QTest::addColumn<QByteArray>("badLine");
    QTest::addColumn<QString>("badName");

    QTest::newRow("bad hex digits") << QByteArray("\"Bad\"=hex:zz,01") << u"Bad"_s;
    QTest::newRow("hex field of three digits") << QByteArray("\"Bad\"=hex:123,01") << u"Bad"_s;
    QTest::newRow("text after hex") << QByteArray("\"Bad\"=hex:01,02 trailing") << u"Bad"_s;
    QTest::newRow("no equals sign") << QByteArray("\"Bad\" \"German\"") << u"Bad"_s;
    QTest::newRow("unterminated name") << QByteArray("\"Bad=\"x\"") << u"Bad"_s;
    QTest::newRow("unterminated text") << QByteArray("\"Bad\"=\"never closed") << u"Bad"_s;
    QTest::newRow("dword of nine digits") << QByteArray("\"Bad\"=dword:123456789") << u"Bad"_s;
    QTest::newRow("dword without digits") << QByteArray("\"Bad\"=dword:") << u"Bad"_s;
    QTest::newRow("bad type number") << QByteArray("\"Bad\"=hex(zz):00") << u"Bad"_s;
    QTest::newRow("unknown data kind") << QByteArray("\"Bad\"=qword:00") << u"Bad"_s;
    QTest::newRow("line of nothing known") << QByteArray("Bad line") << u"Bad"_s;
}

void WineRegistryTest::damagedLinesAreSkipped()
{
    QFETCH(QByteArray, badLine);
    QFETCH(QString, badName);

    QByteArray content = m_fixture;
    content.replace("\"LANGUAGE\"=\"German\"", QByteArray(badLine + "\n\"LANGUAGE\"=\"German\""));
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QVERIFY(WriteFile(prefix.path() + "/system.reg"_L1, content));
    const CRegistryManager registry(std::make_shared<WineRegistryBackend>(prefix.path()));

    RegistryKey key;
    QVERIFY(registry.OpenKey(kViewerKey, key));
    QByteArray data;
    QVERIFY(!registry.QueryValue(key, badName, 4096, data));
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), u"German"_s);
}

void WineRegistryTest::filesOverTheCapAreNotRead_data()
{
    QTest::addColumn<qint64>("capBelowSize");
    QTest::addColumn<bool>("found");

    QTest::newRow("file of exactly the cap") << qint64(0) << true;
    QTest::newRow("file one byte over the cap") << qint64(1) << false;
}

void WineRegistryTest::filesOverTheCapAreNotRead()
{
    QFETCH(qint64, capBelowSize);
    QFETCH(bool, found);

    const CRegistryManager registry(
        std::make_shared<WineRegistryBackend>(kFixturePrefix, m_fixture.size() - capBelowSize));
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s).has_value(), found);
}

void WineRegistryTest::changedFileIsReadAgain()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QString path = prefix.path() + "/system.reg"_L1;
    QVERIFY(WriteFile(path, m_fixture));
    const CRegistryManager registry(std::make_shared<WineRegistryBackend>(prefix.path()));
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), u"German"_s);

    // Same size, so only the modification time tells the change.
    QByteArray changed = m_fixture;
    changed.replace("\"LANGUAGE\"=\"German\"", "\"LANGUAGE\"=\"Korean\"");
    QVERIFY(WriteFile(path, changed));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), u"Korean"_s);

    QVERIFY(QFile::remove(path));
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), std::nullopt);
}

void WineRegistryTest::nonRegularFileIsNotRead()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    // Reading a pipe nobody writes to would never return.
    const QByteArray fifo = QFile::encodeName(prefix.path() + "/system.reg"_L1);
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const CRegistryManager registry(std::make_shared<WineRegistryBackend>(prefix.path()));
    QCOMPARE(ReadText(registry, kViewerKey, u"LANGUAGE"_s), std::nullopt);
}

QTEST_GUILESS_MAIN(WineRegistryTest)
#include "WineRegistryTest.moc"
