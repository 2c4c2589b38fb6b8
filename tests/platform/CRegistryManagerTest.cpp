#include "platform/CRegistryManager.h"

#include "tests/fakes/FakeRegistry.h"
#include "tests/support/ProcessStateGuard.h"

#include <QHash>
#include <QTest>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

RegistryValue Text(quint32 type, const QByteArray& utf16)
{
    return RegistryValue{type, utf16};
}

} // namespace

Q_DECLARE_METATYPE(RegistryValue)

// The wrapper's own rules: key paths, buffer sizes, name lengths and text decoding, whatever the
// registry underneath.
class CRegistryManagerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalisesKeyPaths_data();
    void normalisesKeyPaths();
    void enforcesTheBufferSize_data();
    void enforcesTheBufferSize();
    void decodesText_data();
    void decodesText();
    void skipsNamesLongerThanTheBuffer_data();
    void skipsNamesLongerThanTheBuffer();
    void closedKeysAnswerNothing();
    void usesTheProcessRegistryByDefault();
};

void CRegistryManagerTest::normalisesKeyPaths_data()
{
    QTest::addColumn<QString>("subKey");
    QTest::addColumn<bool>("opens");

    QTest::newRow("plain") << u"Viewer"_s << true;
    QTest::newRow("trailing backslash") << u"Viewer\\"_s << true;
    QTest::newRow("leading and doubled backslashes") << u"\\\\Viewer\\\\"_s << true;
    QTest::newRow("other key") << u"Viewer\\Sub"_s << false;
}

void CRegistryManagerTest::normalisesKeyPaths()
{
    QFETCH(QString, subKey);
    QFETCH(bool, opens);

    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    const CRegistryManager registry(fake);
    RegistryKey key;
    QCOMPARE(registry.OpenKey(subKey, key), opens);
    QCOMPARE(key.IsOpen(), opens);
    if (opens)
        QCOMPARE(key.Path(), u"Viewer"_s);
    QCOMPARE(fake->AskedPaths().size(), 1);
    QVERIFY(!fake->AskedPaths().first().startsWith(u'\\'));
    QVERIFY(!fake->AskedPaths().first().endsWith(u'\\'));
    QVERIFY(!fake->AskedPaths().first().contains("\\\\"_L1));
}

void CRegistryManagerTest::enforcesTheBufferSize_data()
{
    QTest::addColumn<qsizetype>("valueBytes");
    QTest::addColumn<qsizetype>("bufferBytes");
    QTest::addColumn<bool>("delivered");

    QTest::newRow("exactly the buffer") << qsizetype(260) << qsizetype(260) << true;
    QTest::newRow("two bytes over") << qsizetype(262) << qsizetype(260) << false;
    QTest::newRow("one byte over") << qsizetype(45) << qsizetype(44) << false;
    QTest::newRow("well inside") << qsizetype(8) << qsizetype(512) << true;
    QTest::newRow("empty value, empty buffer") << qsizetype(0) << qsizetype(0) << true;
}

void CRegistryManagerTest::enforcesTheBufferSize()
{
    QFETCH(qsizetype, valueBytes);
    QFETCH(qsizetype, bufferBytes);
    QFETCH(bool, delivered);

    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    const QByteArray stored(valueBytes, 'x');
    fake->SetValue(u"V"_s, RegistryValue{RegistryValue::Binary, stored});
    const CRegistryManager registry(fake);
    RegistryKey key;
    QVERIFY(registry.OpenKey(u"Viewer"_s, key));

    QByteArray data = "before";
    QCOMPARE(registry.QueryValue(key, u"V"_s, bufferBytes, data), delivered);
    QCOMPARE(data, delivered ? stored : QByteArray("before"));
}

void CRegistryManagerTest::decodesText_data()
{
    QTest::addColumn<RegistryValue>("value");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("text");

    const QByteArray ab = QByteArray::fromHex("410062000000");
    QTest::newRow("text") << Text(RegistryValue::String, ab) << true << u"Ab"_s;
    QTest::newRow("expandable text") << Text(RegistryValue::ExpandString, ab) << true << u"Ab"_s;
    QTest::newRow("multi-string: first text")
        << Text(RegistryValue::MultiString, QByteArray::fromHex("4100000042000000")) << true << u"A"_s;
    QTest::newRow("without terminator")
        << Text(RegistryValue::String, QByteArray::fromHex("41006200")) << true << u"Ab"_s;
    QTest::newRow("odd byte at the end is dropped")
        << Text(RegistryValue::String, QByteArray::fromHex("41006200ff")) << true << u"Ab"_s;
    QTest::newRow("stops at the first zero")
        << Text(RegistryValue::String, QByteArray::fromHex("410000004200")) << true << u"A"_s;
    QTest::newRow("characters beyond 16 bits")
        << Text(RegistryValue::String, QByteArray::fromHex("3dd800de0000")) << true << u"\U0001F600"_s;
    QTest::newRow("non-Latin text") << Text(RegistryValue::String, QByteArray::fromHex("e5652c670000"))
                                    << true << u"\u65e5\u672c"_s;
    QTest::newRow("empty text") << Text(RegistryValue::String, QByteArray::fromHex("0000")) << true
                                << QString();
    QTest::newRow("number") << Text(RegistryValue::DWord, QByteArray::fromHex("07000000")) << false
                            << QString();
    QTest::newRow("binary") << Text(RegistryValue::Binary, ab) << false << QString();
    QTest::newRow("untyped") << Text(RegistryValue::None, ab) << false << QString();
}

void CRegistryManagerTest::decodesText()
{
    QFETCH(RegistryValue, value);
    QFETCH(bool, isText);
    QFETCH(QString, text);

    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    fake->SetValue(u"LANGUAGE"_s, value);
    const CRegistryManager registry(fake);
    RegistryKey key;
    QVERIFY(registry.OpenKey(u"Viewer"_s, key));

    QString read = u"before"_s;
    QCOMPARE(registry.QueryStringValue(key, u"LANGUAGE"_s, 260, read), isText);
    QCOMPARE(read, isText ? text : u"before"_s);
}

void CRegistryManagerTest::skipsNamesLongerThanTheBuffer_data()
{
    QTest::addColumn<qsizetype>("nameBufferChars");
    QTest::addColumn<QList<qsizetype>>("listedLengths");

    // Subkey names of 254, 255 and 256 characters; the buffer also holds the terminating zero.
    QTest::newRow("registry's own limit")
        << CRegistryManager::kKeyNameBufferChars << QList<qsizetype>{254, 255};
    QTest::newRow("255-character buffer") << qsizetype(255) << QList<qsizetype>{254};
    QTest::newRow("no room at all") << qsizetype(0) << QList<qsizetype>{};
}

void CRegistryManagerTest::skipsNamesLongerThanTheBuffer()
{
    QFETCH(qsizetype, nameBufferChars);
    QFETCH(QList<qsizetype>, listedLengths);

    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    const QStringList names{QString(254, u'a'), QString(255, u'b'), QString(256, u'c')};
    fake->SetSubkeys(names);
    for (const QString& name : names)
        fake->SetValue(name, RegistryValue{});
    const CRegistryManager registry(fake);
    RegistryKey key;
    QVERIFY(registry.OpenKey(u"Viewer"_s, key));

    QStringList subkeys;
    QVERIFY(registry.EnumSubkeyNames(key, subkeys, nameBufferChars));
    QStringList values;
    QVERIFY(registry.EnumValueNames(key, values, nameBufferChars));
    QList<qsizetype> subkeyLengths;
    for (const QString& name : std::as_const(subkeys))
        subkeyLengths.append(name.size());
    QList<qsizetype> valueLengths;
    for (const QString& name : std::as_const(values))
        valueLengths.append(name.size());
    std::sort(valueLengths.begin(), valueLengths.end());
    QCOMPARE(subkeyLengths, listedLengths);
    QCOMPARE(valueLengths, listedLengths);
}

void CRegistryManagerTest::closedKeysAnswerNothing()
{
    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    fake->SetValue(u"LANGUAGE"_s, Text(RegistryValue::String, QByteArray::fromHex("41000000")));
    fake->SetSubkeys({u"Sub"_s});
    const CRegistryManager registry(fake);

    RegistryKey key;
    QVERIFY(registry.OpenKey(u"Viewer"_s, key));
    key.Close();
    QString text;
    QByteArray data;
    QStringList names;
    QVERIFY(!registry.QueryStringValue(key, u"LANGUAGE"_s, 260, text));
    QVERIFY(!registry.QueryValue(key, u"LANGUAGE"_s, 260, data));
    QVERIFY(!registry.EnumSubkeyNames(key, names));
    QVERIFY(!registry.EnumValueNames(key, names));

    // A failed open leaves the key closed even when it was open before.
    QVERIFY(registry.OpenKey(u"Viewer"_s, key));
    QVERIFY(!registry.OpenKey(u"Missing"_s, key));
    QVERIFY(!key.IsOpen());
    QVERIFY(!registry.QueryStringValue(key, u"LANGUAGE"_s, 260, text));
}

void CRegistryManagerTest::usesTheProcessRegistryByDefault()
{
    const ProcessStateGuard state;
    auto fake = std::make_shared<FakeRegistry>(u"Viewer"_s);
    fake->SetValue(u"LANGUAGE"_s, Text(RegistryValue::String, QByteArray::fromHex("4a0061000000")));
    PlatformServices::Instance().SetRegistry(fake);

    const CRegistryManager registry;
    RegistryKey key;
    QString text;
    QVERIFY(registry.OpenKey(u"Viewer\\"_s, key));
    QVERIFY(registry.QueryStringValue(key, u"LANGUAGE"_s, 260, text));
    QCOMPARE(text, u"Ja"_s);
}

QTEST_GUILESS_MAIN(CRegistryManagerTest)
#include "CRegistryManagerTest.moc"
