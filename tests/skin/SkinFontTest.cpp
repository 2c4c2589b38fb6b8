#include "skin/SkinFont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTest>
#include <QTextLayout>

using namespace Qt::StringLiterals;

class SkinFontTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(SkinFont::EnsureRegistered()); }
    void registeringTwiceIsHarmless();
    void cellHeight_data();
    void cellHeight();
    void textExtent_data();
    void textExtent();
    void hanCharactersInTheFaceOfTheLanguagesRegion_data();
    void hanCharactersInTheFaceOfTheLanguagesRegion();
};

void SkinFontTest::registeringTwiceIsHarmless()
{
    QVERIFY(SkinFont::EnsureRegistered());
    QCOMPARE(QFontInfo(SkinFont::Create(13, true)).family(), u"Tahoma"_s);
}

void SkinFontTest::cellHeight_data()
{
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("emPixels");
    // Tahoma's cell is about 1.21 em, so a 13-pixel cell has 11-pixel glyphs, as the skin's
    // labels were sized for.
    QTest::newRow("title and labels, bold 13") << 13 << true << 11;
    QTest::newRow("page text, normal 13") << 13 << false << 11;
    QTest::newRow("page heading, bold 14") << 14 << true << 12;
    QTest::newRow("large, bold 24") << 24 << true << 20;
    QTest::newRow("small, normal 8") << 8 << false << 7;
}

void SkinFontTest::cellHeight()
{
    QFETCH(int, cellHeight);
    QFETCH(bool, bold);
    QFETCH(int, emPixels);

    const QFont font = SkinFont::Create(cellHeight, bold);
    QCOMPARE(QFontInfo(font).family(), u"Tahoma"_s);
    QCOMPARE(QFontInfo(font).bold(), bold);
    QVERIFY(font.styleStrategy() & QFont::PreferAntialias);

    const int height = QFontMetrics(font).height();
    QVERIFY2(height <= cellHeight, qPrintable(u"cell height %1"_s.arg(height)));
    // The next pixel size would no longer fit: this is the closest fit from below.
    QFont larger = font;
    larger.setPixelSize(font.pixelSize() + 1);
    QVERIFY(QFontMetrics(larger).height() > cellHeight);
    QCOMPARE(height, cellHeight);
    QCOMPARE(font.pixelSize(), emPixels);
    // One line of text takes exactly one cell.
    QCOMPARE(SkinFont::TextExtent(font, u"Dash Cam Settings"_s).height(), cellHeight);
}

void SkinFontTest::textExtent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widest"); // the line whose width the block takes
    QTest::addColumn<int>("lines");

    QTest::newRow("one line") << u"Save"_s << u"Save"_s << 1;
    QTest::newRow("crlf") << u"Format\r\nthe memory card now?"_s << u"the memory card now?"_s << 2;
    QTest::newRow("lf, widest first") << u"Initialize all\nOK"_s << u"Initialize all"_s << 2;
    QTest::newRow("lone cr") << u"a\rbb"_s << u"bb"_s << 2;
    QTest::newRow("trailing break") << u"Cancel\r\n"_s << u"Cancel"_s << 2;
    QTest::newRow("empty") << QString() << QString() << 0;
}

void SkinFontTest::textExtent()
{
    QFETCH(QString, text);
    QFETCH(QString, widest);
    QFETCH(int, lines);

    const QFont font = SkinFont::Create(13, true);
    const QSize extent = SkinFont::TextExtent(font, text);
    QCOMPARE(extent.width(), QFontMetrics(font).horizontalAdvance(widest));
    QCOMPARE(extent.height(), lines * 13);
}

void SkinFontTest::hanCharactersInTheFaceOfTheLanguagesRegion_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("cellHeight");

    // The program sets its language once. Qt shares a font engine between fonts that differ in
    // their fallback faces alone, so each row here takes a size of its own.
    QTest::newRow("Japanese") << 9 << u"Noto Sans CJK JP"_s << 15;
    QTest::newRow("Korean") << 3 << u"Noto Sans CJK KR"_s << 16;
    QTest::newRow("Simplified Chinese") << 5 << u"Noto Sans CJK SC"_s << 17;
    QTest::newRow("Traditional Chinese") << 6 << u"Noto Sans CJK TC"_s << 18;
}

void SkinFontTest::hanCharactersInTheFaceOfTheLanguagesRegion()
{
    QFETCH(int, languageIndex);
    QFETCH(QString, face);
    QFETCH(int, cellHeight);

    SkinFont::SetInterfaceLanguage(languageIndex);
    for (const bool bold : {false, true}) {
        const QFont font = SkinFont::Create(cellHeight, bold);
        // Latin text keeps Tahoma and its cell; the Han character (drawn differently in each of
        // the four regions) comes from the region's face.
        QCOMPARE(QFontInfo(font).family(), u"Tahoma"_s);
        QVERIFY(QFontMetrics(font).height() <= cellHeight);
        QTextLayout layout(u"A\u76F4"_s, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList faces;
        for (const QGlyphRun& run : layout.glyphRuns())
            faces.append(run.rawFont().familyName());
        QVERIFY2(faces.contains(u"Tahoma"_s), qPrintable(faces.join(u", ")));
        QVERIFY2(faces.contains(face), qPrintable(faces.join(u", ")));
    }
    SkinFont::SetInterfaceLanguage(0);
    QCOMPARE(SkinFont::Create(13, false).families(), QStringList{u"Tahoma"_s});
}

QTEST_MAIN(SkinFontTest)
#include "SkinFontTest.moc"
