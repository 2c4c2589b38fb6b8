#include "i18n/LanguagePack.h"

#include "i18n/LanguageDocument.h"
#include "tests/support/DebugLineRecorder.h"
#include "tests/support/ProcessStateGuard.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray Utf16Document(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

class LanguagePackTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_state.emplace(); }
    void cleanup() { m_state.reset(); }
    void parsesLines_data();
    void parsesLines();
    void decodesAnsiDocuments();
    void tooShortDocumentIsNotParsed();
    void emitsOneDebugLinePerStoredKey();
    void fallsBackToEnglish_data();
    void fallsBackToEnglish();
    void missingResourceFailsTheWholeLoad_data();
    void missingResourceFailsTheWholeLoad();
    void indexOutsideTheTableIsEnglish_data();
    void indexOutsideTheTableIsEnglish();

private:
    void WriteResource(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QTemporaryDir m_dir;
    std::optional<ProcessStateGuard> m_state;
};

void LanguagePackTest::parsesLines_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    QTest::newRow("quoted value") << u"[text]\nIDS_STRING108=\"Save\""_s << u"IDS_STRING108"_s << u"Save"_s;
    QTest::newRow("key in lower case")
        << u"[text]\nIDS_STRING108=\"Save\""_s << u"ids_string108"_s << u"Save"_s;
    QTest::newRow("unquoted value ends at ;")
        << u"[text]\nK = Hello world ; note"_s << u"K"_s << u"Hello world"_s;
    QTest::newRow("quoted value keeps ; and blanks")
        << u"[text]\nK = \"  Hello ; note  \" ignored"_s << u"K"_s << u"  Hello ; note  "_s;
    QTest::newRow("apostrophes around double quotes")
        << u"[text]\nK='Say \"hi\"'"_s << u"K"_s << u"Say \"hi\""_s;
    QTest::newRow("unclosed quoted value")
        << u"[text]\nK=\"  open to the end "_s << u"K"_s << u"  open to the end"_s;
    QTest::newRow("quoted key with = and blanks") << u"[text]\n\"A = B\" = v"_s << u"A = B"_s << u"v"_s;
    QTest::newRow("quoted key with nothing after") << u"[text]\n\"A=B\""_s << u"A=B"_s << QString();
    QTest::newRow("quoted key without closing quote") << u"[text]\n\"AB = v"_s << u"\"AB"_s << QString();
    QTest::newRow("quoted key without =") << u"[text]\n'K' v = w"_s << u"K"_s << QString();
    QTest::newRow("tabs around =") << u"[text]\nK\t=\tv"_s << u"K"_s << u"v"_s;
    QTest::newRow("spaced header opens text") << u"[ Text ]\nA=1"_s << u"A"_s << u"1"_s;
    QTest::newRow("capital header reopens text")
        << u"[ Text ]\nA=1\n[other]\nB=2\n[TEXT]\nC=3"_s << u"C"_s << u"3"_s;
    QTest::newRow("other section is not looked up")
        << u"[ Text ]\nA=1\n[other]\nB=2\n[TEXT]\nC=3"_s << u"B"_s << QString();
    QTest::newRow("key before any section") << u"A=1\n[text]\nB=2"_s << u"A"_s << QString();
    QTest::newRow("empty header drops keys") << u"[text]\nA=1\n[]\nB=2"_s << u"B"_s << QString();
    QTest::newRow("text section after font") << u"[font]\nA=font\n[text]\nA=text"_s << u"A"_s << u"text"_s;
    QTest::newRow("later key replaces") << u"[text]\nK=1\nK=2"_s << u"K"_s << u"2"_s;
    QTest::newRow("comment line") << u"[text]\n;K=1"_s << u"K"_s << QString();
    QTest::newRow("empty key") << u"[text]\n = v"_s << QString() << QString();
    QTest::newRow("CR dropped anywhere") << u"[text]\r\nK=a\rb\r\n"_s << u"K"_s << u"ab"_s;
    QTest::newRow("NUL ends the document") << u"[text]\nA=1\u0000\nB=2"_s << u"B"_s << QString();
    QTest::newRow("escaped line break")
        << u"[text]\nK=\"one\\ntwo\\rthree\""_s << u"K"_s << u"one\ntwo\rthree"_s;
    QTest::newRow("bare key") << u"[text]\nBARE"_s << u"BARE"_s << QString();
    QTest::newRow("section name case") << u"[TeXt]\nk=v"_s << u"K"_s << u"v"_s;
}

void LanguagePackTest::parsesLines()
{
    QFETCH(QString, document);
    QFETCH(QString, key);
    QFETCH(QString, text);
    WriteResource(u"ENGLISH"_s, Utf16Document(document));
    LanguagePack::SetResourceFolder(m_dir.path());
    LanguagePack pack;
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    QVERIFY(pack.Load(u"english"_s));
    QCOMPARE(pack.Text(key), text.isNull() ? u""_s : text);
}

void LanguagePackTest::decodesAnsiDocuments()
{
    const auto document = LanguageDocument::Parse(QByteArray("[text]\nK=caf\xE9\0junk", 17));
    QVERIFY(document);
    QCOMPARE(document->Value(u"K"), u"caf\u00E9"_s);
}

void LanguagePackTest::tooShortDocumentIsNotParsed()
{
    QVERIFY(!LanguageDocument::Parse(QByteArray("[")));
    QVERIFY(LanguageDocument::Parse(QByteArray("\xFF\xFE", 2))); // empty, but a document

    // A primary that does not parse still loads when English does.
    WriteResource(u"ENGLISH"_s, Utf16Document(u"[text]\nK=en"_s));
    WriteResource(u"GERMAN"_s, QByteArray("x"));
    LanguagePack::SetResourceFolder(m_dir.path());
    LanguagePack pack;
    QVERIFY(pack.Load(u"german"_s));
    QCOMPARE(pack.Text(u"K"), u"en"_s);
}

void LanguagePackTest::emitsOneDebugLinePerStoredKey()
{
    DebugLineRecorder debug;
    const auto document = LanguageDocument::Parse(
        Utf16Document(u"[font]\nDEFAULT_UI_FACENAME=Tahoma\n[text]\nIDS_STRING108=\"Save\"\nBARE\n\"x\""_s));
    QVERIFY(document);
    QCOMPARE(debug.Lines(),
             (QStringList{u"[DEFAULT_UI_FACENAME] = \"Tahoma\"\n"_s, u"[IDS_STRING108] = \"Save\"\n"_s}));
}

void LanguagePackTest::fallsBackToEnglish_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("translated") << u"IDS_STRING108"_s << u"Enregistrer"_s;
    QTest::newRow("absent in French") << u"IDS_STRING107"_s << u"Cancel"_s;
    QTest::newRow("empty in French") << u"IDS_STRING106"_s << u"Initialize"_s;
    QTest::newRow("absent everywhere") << u"IDS_STRING999"_s << u""_s;
}

void LanguagePackTest::fallsBackToEnglish()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    WriteResource(
        u"ENGLISH"_s,
        Utf16Document(u"[text]\nIDS_STRING106=Initialize\nIDS_STRING107=Cancel\nIDS_STRING108=Save"_s));
    WriteResource(u"FRENCH"_s, Utf16Document(u"[TEXT]\nIDS_STRING106=\"\"\nIDS_STRING108=Enregistrer"_s));
    LanguagePack::SetResourceFolder(m_dir.path());
    LanguagePack pack;
    QVERIFY(pack.Load(u"French"_s)); // resource names match without regard to case
    QCOMPARE(pack.Text(key), text);
}

void LanguagePackTest::missingResourceFailsTheWholeLoad_data()
{
    QTest::addColumn<bool>("withEnglish");
    QTest::addColumn<QString>("name");
    QTest::newRow("primary missing") << true << u"portuguese"_s;
    QTest::newRow("English missing") << false << u"french"_s;
}

void LanguagePackTest::missingResourceFailsTheWholeLoad()
{
    QFETCH(bool, withEnglish);
    QFETCH(QString, name);
    QTemporaryDir dir;
    if (withEnglish) {
        QFile file(dir.filePath(u"ENGLISH"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Utf16Document(u"[text]\nIDS_STRING108=Save"_s));
    }
    QFile french(dir.filePath(u"FRENCH"_s));
    QVERIFY(french.open(QIODevice::WriteOnly));
    french.write(Utf16Document(u"[text]\nIDS_STRING108=Enregistrer"_s));
    french.close();

    LanguagePack::SetResourceFolder(dir.path());
    LanguagePack pack;
    QCOMPARE(pack.Text(u"IDS_STRING108"), u"Error Loading"_s); // nothing loaded yet
    QVERIFY(!pack.Load(name));
    QCOMPARE(pack.Text(u"IDS_STRING108"), u"Error Loading"_s);
    QCOMPARE(pack.Text(u"anything"), u"Error Loading"_s);
}

void LanguagePackTest::indexOutsideTheTableIsEnglish_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("-1") << -1 << u"english"_s;
    QTest::newRow("0") << 0 << u"english"_s;
    QTest::newRow("5") << 5 << u"chinesesimplified"_s;
    QTest::newRow("6") << 6 << u"chinesetraditional"_s;
    QTest::newRow("10") << 10 << u"portuguese"_s;
    QTest::newRow("11") << 11 << u"english"_s;
}

void LanguagePackTest::indexOutsideTheTableIsEnglish()
{
    QFETCH(int, index);
    QTEST(LanguagePack::ResourceName(index), "name");
}

QTEST_GUILESS_MAIN(LanguagePackTest)
#include "LanguagePackTest.moc"
