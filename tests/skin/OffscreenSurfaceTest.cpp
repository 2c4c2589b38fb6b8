#include "skin/OffscreenSurface.h"

#include <QTest>

class OffscreenSurfaceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newSurfaceIsTransparent();
    void createdTwiceKeepsFirstSize();
    void rejectsEmptySizes_data();
    void rejectsEmptySizes();
    void releaseEmptiesIt();
    void copyFromTakesTheAreaAtTheOrigin_data();
    void copyFromTakesTheAreaAtTheOrigin();
};

void OffscreenSurfaceTest::newSurfaceIsTransparent()
{
    OffscreenSurface surface;
    QVERIFY(!surface.IsCreated());
    QVERIFY(surface.Create(5, 3));
    QVERIFY(surface.IsCreated());
    QCOMPARE(surface.Image().format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            QCOMPARE(surface.Image().pixel(x, y), 0u);
    }
}

void OffscreenSurfaceTest::createdTwiceKeepsFirstSize()
{
    OffscreenSurface surface;
    QVERIFY(surface.Create(140, 37));
    surface.Image().fill(Qt::red);
    QVERIFY(!surface.Create(221, 29));
    QCOMPARE(surface.Width(), 140);
    QCOMPARE(surface.Height(), 37);
    // Still the same pixels: nothing was recreated.
    QCOMPARE(surface.Image().pixel(139, 36), qRgb(255, 0, 0));
}

void OffscreenSurfaceTest::rejectsEmptySizes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("zero width") << 0 << 10;
    QTest::newRow("zero height") << 10 << 0;
    QTest::newRow("negative") << -5 << 10;
}

void OffscreenSurfaceTest::rejectsEmptySizes()
{
    QFETCH(int, width);
    QFETCH(int, height);
    OffscreenSurface surface;
    QVERIFY(!surface.Create(width, height));
    QVERIFY(!surface.IsCreated());
    QCOMPARE(surface.Width(), 0);
    QCOMPARE(surface.Height(), 0);
}

void OffscreenSurfaceTest::releaseEmptiesIt()
{
    OffscreenSurface surface;
    QVERIFY(surface.Create(4, 4));
    surface.Release();
    QVERIFY(!surface.IsCreated());
    QCOMPARE(surface.Width(), 0);
    QVERIFY(surface.Create(7, 2));
    QCOMPARE(surface.Width(), 7);
}

void OffscreenSurfaceTest::copyFromTakesTheAreaAtTheOrigin_data()
{
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QRgb>("expected");

    // Source pixel (x, y) is RGB(x, y, 7); the surface starts filled with blue.
    QTest::newRow("inside, first pixel") << QPoint(11, 48) << QPoint(0, 0) << qRgb(11, 48, 7);
    QTest::newRow("inside, last pixel") << QPoint(11, 48) << QPoint(9, 4) << qRgb(20, 52, 7);
    QTest::newRow("beyond the source keeps content") << QPoint(95, 0) << QPoint(6, 0) << qRgb(0, 0, 255);
    QTest::newRow("left of the source keeps content") << QPoint(-3, 0) << QPoint(2, 0) << qRgb(0, 0, 255);
    QTest::newRow("partly beyond, covered part") << QPoint(-3, 0) << QPoint(3, 1) << qRgb(0, 1, 7);
}

void OffscreenSurfaceTest::copyFromTakesTheAreaAtTheOrigin()
{
    QFETCH(QPoint, origin);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, expected);

    QImage source(100, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x)
            source.setPixel(x, y, qRgb(x, y, 7));
    }
    OffscreenSurface surface;
    QVERIFY(surface.Create(10, 5));
    surface.Image().fill(Qt::blue);
    surface.CopyFrom(source, origin.x(), origin.y());
    QCOMPARE(surface.Image().pixel(probe), expected);
}

QTEST_GUILESS_MAIN(OffscreenSurfaceTest)
#include "OffscreenSurfaceTest.moc"
