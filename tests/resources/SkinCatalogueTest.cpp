#include <QColor>
#include <QFile>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QTest>
#include <QtEndian>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int RgbType = 2;
constexpr int RgbaType = 6;
constexpr QRgb BorderBlank = qRgba(255, 255, 255, 0);
constexpr QRgb BorderMarker = qRgba(0, 0, 0, 255);
const QPoint NoRun(-1, -1);

struct PngHeader
{
    bool valid = false;
    QSize size;
    int bitDepth = 0;
    int colourType = -1;
};

// The IHDR chunk, which a PNG file must start with right after its signature.
PngHeader ReadHeader(const QByteArray& bytes)
{
    static const QByteArray Signature("\x89PNG\r\n\x1a\n", 8);
    PngHeader header;
    if (bytes.size() < 33 || !bytes.startsWith(Signature) || bytes.mid(12, 4) != "IHDR")
        return header;
    if (qFromBigEndian<quint32>(bytes.constData() + 8) != 13)
        return header;
    header.size = QSize(int(qFromBigEndian<quint32>(bytes.constData() + 16)),
                        int(qFromBigEndian<quint32>(bytes.constData() + 20)));
    header.bitDepth = static_cast<unsigned char>(bytes.at(24));
    header.colourType = static_cast<unsigned char>(bytes.at(25));
    header.valid = true;
    return header;
}

QByteArray ResourceBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool InRun(int value, QPoint run)
{
    return run.x() >= 0 && value >= run.x() && value <= run.y();
}

QString Describe(QRgb pixel)
{
    return u"RGBA(%1, %2, %3, %4)"_s.arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel)).arg(qAlpha(pixel));
}

bool Near(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance && qAlpha(actual) == 255;
}

} // namespace

class SkinCatalogueTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogue_data();
    void catalogue();
    void look_data();
    void look();
    void programIcon();

private:
    static void AddNinePatch(int id, QSize size, int stretchColumn, int stretchRow, QPoint contentRows,
                             QPoint contentColumns);
    static void AddNatural(int id, QSize size, int colourType, QColor flatColour = {});
};

void SkinCatalogueTest::AddNinePatch(int id, QSize size, int stretchColumn, int stretchRow,
                                     QPoint contentRows, QPoint contentColumns)
{
    QTest::newRow(qPrintable(QString::number(id)))
        << id << size << RgbaType << stretchColumn << stretchRow << contentRows << contentColumns << QColor();
}

void SkinCatalogueTest::AddNatural(int id, QSize size, int colourType, QColor flatColour)
{
    QTest::newRow(qPrintable(QString::number(id)))
        << id << size << colourType << -1 << -1 << NoRun << NoRun << flatColour;
}

void SkinCatalogueTest::catalogue_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colourType");
    QTest::addColumn<int>("stretchColumn"); // -1: drawn at natural size, no markers
    QTest::addColumn<int>("stretchRow");
    QTest::addColumn<QPoint>("contentRows");    // first, last black row of the right column
    QTest::addColumn<QPoint>("contentColumns"); // first, last black column of the bottom row
    QTest::addColumn<QColor>("flatColour");     // valid: every pixel has this colour

    for (int id = 143; id <= 154; ++id)
        AddNinePatch(id, QSize(14, 39), 6, 19, QPoint(2, 36), QPoint(6, 6));
    for (int id = 155; id <= 160; ++id)
        AddNatural(id, QSize(29, 26), RgbaType);
    for (int id = 161; id <= 163; ++id)
        AddNinePatch(id, QSize(15, 31), 7, 15, QPoint(3, 27), QPoint(7, 7));
    AddNinePatch(164, QSize(29, 148), 14, 89, NoRun, NoRun);
    for (int id = 165; id <= 167; ++id)
        AddNatural(id, QSize(30, 26), RgbaType);
    AddNatural(168, QSize(197, 94), RgbaType);
    AddNatural(169, QSize(48, 30), RgbType, QColor(227, 227, 227));
    AddNatural(170, QSize(48, 30), RgbType, QColor(88, 186, 255));
    AddNatural(171, QSize(197, 94), RgbaType);
    for (int id = 172; id <= 174; ++id)
        AddNatural(id, QSize(231, 16), RgbaType);
    for (int id = 175; id <= 179; ++id)
        AddNinePatch(id, QSize(5, 17), 2, 8, QPoint(1, 15), QPoint(2, 2));
    AddNinePatch(501, QSize(29, 101), 14, 42, QPoint(2, 98), QPoint(2, 26));
}

void SkinCatalogueTest::catalogue()
{
    QFETCH(int, id);
    QFETCH(QSize, size);
    QFETCH(int, colourType);
    QFETCH(int, stretchColumn);
    QFETCH(int, stretchRow);
    QFETCH(QPoint, contentRows);
    QFETCH(QPoint, contentColumns);
    QFETCH(QColor, flatColour);

    const QString path = u":/PNG/"_s + QString::number(id);
    const QByteArray bytes = ResourceBytes(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path + u" is not in the program's resources"_s));

    const PngHeader header = ReadHeader(bytes);
    QVERIFY2(header.valid, "no PNG header");
    QCOMPARE(header.size, size);
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, colourType);

    const QImage decoded = QImage::fromData(bytes, "PNG");
    QVERIFY(!decoded.isNull());
    QCOMPARE(decoded.size(), size);
    // Non-premultiplied, so a transparent border pixel keeps its colour.
    const QImage image = decoded.convertToFormat(QImage::Format_ARGB32);

    if (flatColour.isValid()) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != flatColour.rgb())
                    QFAIL(qPrintable(u"(%1, %2) is %3"_s.arg(x).arg(y).arg(Describe(image.pixel(x, y)))));
            }
        }
    }
    if (stretchColumn < 0)
        return;

    // Every border pixel is either transparent white or an opaque black marker, exactly where
    // the catalogue puts one.
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    for (int y = 0; y <= bottom; ++y) {
        for (int x = 0; x <= right; ++x) {
            const bool onBorder = x == 0 || y == 0 || x == right || y == bottom;
            if (!onBorder)
                continue;
            const bool corner = (x == 0 || x == right) && (y == 0 || y == bottom);
            bool marker = false;
            if (!corner) {
                if (y == 0)
                    marker = x == stretchColumn;
                else if (x == 0)
                    marker = y == stretchRow;
                else if (x == right)
                    marker = InRun(y, contentRows);
                else
                    marker = InRun(x, contentColumns);
            }
            const QRgb expected = marker ? BorderMarker : BorderBlank;
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(u"border (%1, %2) is %3, expected %4"_s.arg(x).arg(y).arg(
                    Describe(image.pixel(x, y)), Describe(expected))));
        }
    }

    // The stretched middle is repeated over most of the control: it must be drawn, not a hole.
    QCOMPARE(qAlpha(image.pixel(stretchColumn, stretchRow)), 255);
}

void SkinCatalogueTest::look_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QPoint>("pixel"); // image coordinates, border included
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<int>("tolerance");

    const QColor black(0, 0, 0);
    const QColor tabEdgeGrey(57, 61, 66);
    // Tabs: the middle of the normal fill, the pressed flat colour, the divider lines.
    QTest::newRow("143 normal fill") << 143 << QPoint(6, 19) << QColor(46, 49, 52) << 6;
    QTest::newRow("143 black right edge") << 143 << QPoint(12, 19) << black << 0;
    QTest::newRow("145 pressed steel blue") << 145 << QPoint(6, 19) << QColor(107, 138, 162) << 0;
    QTest::newRow("147 grey left edge") << 147 << QPoint(1, 19) << tabEdgeGrey << 0;
    QTest::newRow("147 black right edge") << 147 << QPoint(12, 19) << black << 0;
    QTest::newRow("150 grey left edge") << 150 << QPoint(1, 19) << tabEdgeGrey << 0;
    QTest::newRow("151 grey left edge") << 151 << QPoint(1, 19) << tabEdgeGrey << 0;
    QTest::newRow("143 fill reaches left edge") << 143 << QPoint(1, 19) << QColor(46, 49, 52) << 6;
    QTest::newRow("151 fill reaches right edge") << 151 << QPoint(12, 19) << QColor(46, 49, 52) << 6;
    // Main window background: field, frame, the separators around the stretch row.
    QTest::newRow("501 field") << 501 << QPoint(14, 42) << QColor(32, 34, 36) << 0;
    QTest::newRow("501 left frame") << 501 << QPoint(1, 42) << QColor(49, 53, 56) << 0;
    QTest::newRow("501 right frame") << 501 << QPoint(27, 42) << QColor(49, 53, 56) << 0;
    QTest::newRow("501 separator above") << 501 << QPoint(14, 41) << QColor(12, 12, 13) << 0;
    QTest::newRow("501 separator below") << 501 << QPoint(14, 43) << QColor(12, 12, 13) << 0;
    // Bar segments in their colours.
    QTest::newRow("175 green") << 175 << QPoint(2, 8) << QColor(164, 202, 87) << 20;
    QTest::newRow("176 yellow") << 176 << QPoint(2, 8) << QColor(255, 217, 38) << 20;
    QTest::newRow("177 orange") << 177 << QPoint(2, 8) << QColor(249, 163, 40) << 20;
    QTest::newRow("178 red") << 178 << QPoint(2, 8) << QColor(245, 81, 81) << 20;
    QTest::newRow("179 blue") << 179 << QPoint(2, 8) << QColor(48, 167, 228) << 20;
}

void SkinCatalogueTest::look()
{
    QFETCH(int, id);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, expected);
    QFETCH(int, tolerance);

    const QImage image = QImage(u":/PNG/"_s + QString::number(id)).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    QVERIFY(image.rect().contains(pixel));
    const QRgb actual = image.pixel(pixel);
    QVERIFY2(Near(actual, expected.rgb(), tolerance),
             qPrintable(Describe(actual) + u" is not within "_s + QString::number(tolerance) + u" of "_s +
                        Describe(expected.rgb())));
}

void SkinCatalogueTest::programIcon()
{
    const QByteArray bytes = ResourceBytes(u":/icons/dashcam-settings.png"_s);
    QVERIFY2(!bytes.isEmpty(), "the program icon is not in the program's resources");
    const PngHeader header = ReadHeader(bytes);
    QVERIFY(header.valid);
    QCOMPARE(header.size, QSize(256, 256));
    QCOMPARE(header.colourType, RgbaType);
    const QImage icon = QImage::fromData(bytes, "PNG");
    // Shaped, not a filled square: transparent corners around an opaque body.
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(128, 128)), 255);
}

QTEST_GUILESS_MAIN(SkinCatalogueTest)
#include "SkinCatalogueTest.moc"
