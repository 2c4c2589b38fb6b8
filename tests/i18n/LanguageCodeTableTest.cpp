#include "i18n/LanguageCodeTable.h"

#include <QSet>
#include <QtTest>

using namespace Qt::StringLiterals;

class LanguageCodeTableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksUpExactCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("zh-Hant-HK") << u"zh-Hant-HK"_s << u"Hong Kong Chinese in traditional script"_s;
        QTest::newRow("lower-case zh-hant-hk") << u"zh-hant-hk"_s << QString();
        QTest::newRow("iw") << u"iw"_s << u"Hebrew"_s;
        QTest::newRow("he") << u"he"_s << u"Hebrew"_s;
        QTest::newRow("ji") << u"ji"_s << u"Yiddish"_s;
        QTest::newRow("yi") << u"yi"_s << u"Yiddish"_s;
        QTest::newRow("in") << u"in"_s << u"Indonesian"_s;
        QTest::newRow("id") << u"id"_s << u"Indonesian"_s;
        QTest::newRow("vo") << u"vo"_s << u"Volap?k"_s;
        QTest::newRow("li") << u"li"_s << u"Limburgish ( Limburger)"_s;
        QTest::newRow("first") << u"ab"_s << u"Abkhazian"_s;
        QTest::newRow("last") << u"zu"_s << u"Zulu"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("prefix only") << u"zh-Han"_s << QString();
    }

    void looksUpExactCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QCOMPARE(LanguageCodeTable::NameOf(code), name);
        QCOMPARE(LanguageCodeTable::NameOf(code).isNull(), name.isNull());
    }

    void codesAreUniqueAndComplete()
    {
        QSet<QString> codes;
        for (const auto& entry : LanguageCodeTable::Entries()) {
            QVERIFY2(!entry.code.isEmpty() && !entry.name.isEmpty(), qPrintable(entry.code.toString()));
            codes.insert(entry.code.toString());
        }
        QCOMPARE(codes.size(), 165);
        QCOMPARE(LanguageCodeTable::Entries().size(), std::size_t(165));
    }
};

QTEST_GUILESS_MAIN(LanguageCodeTableTest)
#include "LanguageCodeTableTest.moc"
