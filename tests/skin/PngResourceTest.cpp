#include "skin/PngResource.h"

#include "tests/support/SyntheticSkin.h"

#include <QBuffer>
#include <QTest>

namespace {

constexpr int kTestId = 9002;

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

class PngResourceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void rejects_data();
    void rejects();
    void embeddedImages_data();
    void embeddedImages();
};

void PngResourceTest::decodes_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QRgb>("expected"); // straight alpha

    QImage rgba(6, 4, QImage::Format_ARGB32);
    rgba.fill(qRgba(255, 255, 255, 0));
    rgba.setPixel(2, 1, qRgba(10, 20, 30, 77));
    QImage rgb(6, 4, QImage::Format_RGB32);
    rgb.fill(qRgb(12, 34, 56));
    QImage indexed(3, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 255, 255, 0), qRgba(0, 0, 0, 0), qRgba(9, 8, 7, 255)});
    indexed.fill(1);

    // Transparent white must stay white: it is what tells a plain border pixel from a marker.
    QTest::newRow("rgba, transparent white") << rgba << QPoint(0, 0) << qRgba(255, 255, 255, 0);
    QTest::newRow("rgba, partly transparent") << rgba << QPoint(2, 1) << qRgba(10, 20, 30, 77);
    QTest::newRow("rgb") << rgb << QPoint(5, 3) << qRgba(12, 34, 56, 255);
    QTest::newRow("palette, transparent black") << indexed << QPoint(1, 1) << qRgba(0, 0, 0, 0);
}

void PngResourceTest::decodes()
{
    QFETCH(QImage, image);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, expected);

    SyntheticSkin skin;
    skin.AddBytes(kTestId, Encoded(image, "PNG"));
    PngResource png;
    QVERIFY(png.LoadPng(kTestId));
    QVERIFY(png.IsLoaded());
    QCOMPARE(png.Image().size(), image.size());
    QCOMPARE(png.Image().format(), QImage::Format_ARGB32);
    QCOMPARE(png.Image().pixel(probe), expected);
}

void PngResourceTest::rejects_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("bytes"); // registered under `id` unless null

    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 4));
    QByteArray truncated = Encoded(image, "PNG");
    truncated.chop(truncated.size() / 2);

    QTest::newRow("id 0") << 0 << QByteArray();
    QTest::newRow("unknown id") << 4242 << QByteArray();
    QTest::newRow("empty") << kTestId << QByteArray("");
    QTest::newRow("garbage") << kTestId << QByteArray("\x89PNG\r\n\x1a\n garbage after the signature");
    QTest::newRow("truncated") << kTestId << truncated;
    // Only PNG is decoded, whatever else the bytes might be.
    QTest::newRow("bmp") << kTestId << Encoded(image, "BMP");
}

void PngResourceTest::rejects()
{
    QFETCH(int, id);
    QFETCH(QByteArray, bytes);

    SyntheticSkin skin;
    QImage good(3, 3, QImage::Format_ARGB32);
    good.fill(Qt::red);
    skin.Add(kTestId + 1, good);
    if (!bytes.isNull())
        skin.AddBytes(id, bytes);

    PngResource png;
    QVERIFY(png.LoadPng(kTestId + 1));
    // A failed load drops what was loaded before.
    QVERIFY(!png.LoadPng(id));
    QVERIFY(!png.IsLoaded());
    QVERIFY(png.Image().isNull());
}

void PngResourceTest::embeddedImages_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");

    const auto add = [](int first, int last, QSize size) {
        for (int id = first; id <= last; ++id)
            QTest::newRow(QByteArray::number(id).constData()) << id << size;
    };
    add(143, 154, QSize(14, 39));
    add(155, 160, QSize(29, 26));
    add(161, 163, QSize(15, 31));
    add(164, 164, QSize(29, 148));
    add(165, 167, QSize(30, 26));
    add(168, 168, QSize(197, 94));
    add(169, 170, QSize(48, 30));
    add(171, 171, QSize(197, 94));
    add(172, 174, QSize(231, 16));
    add(175, 179, QSize(5, 17));
    add(501, 501, QSize(29, 101));
}

void PngResourceTest::embeddedImages()
{
    QFETCH(int, id);
    QFETCH(QSize, size);

    if (!SyntheticSkin::HasEmbedded(id))
        QSKIP("skin image not embedded");
    PngResource png;
    QVERIFY(png.LoadPng(id));
    QCOMPARE(png.Image().size(), size);
}

QTEST_GUILESS_MAIN(PngResourceTest)
#include "PngResourceTest.moc"
