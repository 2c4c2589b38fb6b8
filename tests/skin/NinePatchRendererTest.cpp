#include "skin/NinePatchRenderer.h"

#include "tests/support/SyntheticSkin.h"
#include "skin/OffscreenSurface.h"
#include "skin/PngResource.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTestId = 9001;

// Which image column (horizontal) or row (vertical) each drawn pixel along `line` came
// from: the number, "k" for a black content-marker pixel, "-" for a transparent pixel.
QString Trace(const QImage& image, bool vertical, int line, int length)
{
    QStringList parts;
    for (int i = 0; i < length; ++i) {
        const QRgb pixel = vertical ? image.pixel(line, i) : image.pixel(i, line);
        if (qAlpha(pixel) == 0)
            parts << u"-"_s;
        else if (qBlue(pixel) == 200)
            parts << QString::number(vertical ? qGreen(pixel) : qRed(pixel));
        else if ((pixel & 0xffffffu) == 0)
            parts << u"k"_s;
        else
            parts << u"?"_s;
    }
    return parts.join(u' ');
}

QImage Transposed(const QImage& image)
{
    QImage result(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            // Keep the coordinate pattern readable: inner pixels carry (column, row).
            result.setPixel(y, x, qBlue(pixel) == 200 ? qRgba(qGreen(pixel), qRed(pixel), 200, 255) : pixel);
        }
    }
    return result;
}

QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 5 % 256, 90, 255));
    }
    return image;
}

} // namespace

class NinePatchRendererTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { NinePatchRenderer::ReleaseInstance(); }

    void contentRect_data();
    void contentRect();
    void stretchPasses_data();
    void stretchPasses();
    void contentSizeReproducesInnerPixels_data();
    void contentSizeReproducesInnerPixels();
    void markerIsBlackWhateverItsAlpha_data();
    void markerIsBlackWhateverItsAlpha();
    void failedDrawLeavesSurfaceAlone_data();
    void failedDrawLeavesSurfaceAlone();
    void drawingNeedsACreatedSurface();
    void naturalDrawingComposesOverContent_data();
    void naturalDrawingComposesOverContent();
    void naturalDrawingClipsToSurface();
    void markersAtTheImageEdgesAreHarmless_data();
    void markersAtTheImageEdgesAreHarmless();
    void releasedInstanceStartsAfresh();
};

void NinePatchRendererTest::contentRect_data()
{
    QTest::addColumn<int>("embeddedId"); // 0: use `image`
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("surface");
    QTest::addColumn<SkinRect>("expected");
    QTest::addColumn<QList<int>>("horizontalAmounts");
    QTest::addColumn<QList<int>>("verticalAmounts");

    const QImage tab = SyntheticSkin::TabLike();
    // Same height as the content: the vertical pass is a plain copy and records nothing.
    QTest::newRow("tab 140x37") << 0 << tab << QSize(140, 37) << SkinRect{6, 2, 136, 37} << QList<int>{129}
                                << QList<int>{};
    QTest::newRow("tab 140x40") << 0 << tab << QSize(140, 40) << SkinRect{6, 2, 136, 41} << QList<int>{129}
                                << QList<int>{4};
    QTest::newRow("push 221x29") << 0 << SyntheticSkin::PushLike() << QSize(221, 29)
                                 << SkinRect{7, 3, 217, 28} << QList<int>{209} << QList<int>{};
    QTest::newRow("push 100x29") << 0 << SyntheticSkin::PushLike() << QSize(100, 29) << SkinRect{7, 3, 96, 28}
                                 << QList<int>{88} << QList<int>{};
    QTest::newRow("background 722x587") << 0 << SyntheticSkin::BackgroundLike() << QSize(722, 587)
                                        << SkinRect{2, 2, 723, 588} << QList<int>{696} << QList<int>{489};
    QTest::newRow("bar 60x15") << 0 << SyntheticSkin::BarLike() << QSize(60, 15) << SkinRect{2, 1, 61, 16}
                               << QList<int>{58} << QList<int>{};

    // Stretched rows outside the content run add nothing to its height.
    QTest::newRow("stretch row below content")
        << 0 << SyntheticSkin::NinePatch(14, 39, {6}, {30}, 2, 10, 6, 6) << QSize(140, 50)
        << SkinRect{6, 2, 136, 11} << QList<int>{129} << QList<int>{14};
    // Two stretched columns inside the content run both add their width.
    QTest::newRow("two stretch columns in content")
        << 0 << SyntheticSkin::NinePatch(20, 10, {4, 12}, {}, 2, 5, 2, 15) << QSize(40, 8)
        << SkinRect{2, 2, 40, 6} << QList<int>{12, 12} << QList<int>{};
    // A run that starts at the first pixel never ends (its first pixel, in the top row, is
    // also a second stretch marker); one without black pixels gives -1.
    QTest::newRow("run from row 0") << 0 << SyntheticSkin::NinePatch(14, 39, {6}, {19}, 0, 20, 6, 6)
                                    << QSize(140, 37) << SkinRect{6, 0, 72, 0} << QList<int>{65, 65}
                                    << QList<int>{};
    QTest::newRow("no content markers")
        << 0 << SyntheticSkin::NinePatch(14, 39, {6}, {19}, 5, 4, 7, 6) << QSize(140, 37)
        << SkinRect{-1, -1, 0, 0} << QList<int>{129} << QList<int>{};
    // A run reaching the bottom without a white pixel has no end either.
    QTest::newRow("run to the bottom")
        << 0 << SyntheticSkin::NinePatch(14, 39, {6}, {19}, 30, 38, 6, 6) << QSize(140, 37)
        << SkinRect{6, 30, 136, 0} << QList<int>{129} << QList<int>{};
    {
        // Pixels that are neither black nor white continue a run.
        QImage grey = SyntheticSkin::NinePatch(14, 39, {6}, {19}, 2, 2, 6, 6);
        for (int y = 3; y <= 8; ++y)
            grey.setPixel(13, y, qRgba(128, 128, 128, 255));
        QTest::newRow("grey continues a run")
            << 0 << grey << QSize(140, 37) << SkinRect{6, 2, 136, 9} << QList<int>{129} << QList<int>{};
    }

    QTest::newRow("embedded 143 140x37")
        << 143 << QImage() << QSize(140, 37) << SkinRect{6, 2, 136, 37} << QList<int>{129} << QList<int>{};
    QTest::newRow("embedded 143 140x40")
        << 143 << QImage() << QSize(140, 40) << SkinRect{6, 2, 136, 41} << QList<int>{129} << QList<int>{4};
    QTest::newRow("embedded 161 221x29")
        << 161 << QImage() << QSize(221, 29) << SkinRect{7, 3, 217, 28} << QList<int>{209} << QList<int>{};
    QTest::newRow("embedded 501 722x587") << 501 << QImage() << QSize(722, 587) << SkinRect{2, 2, 723, 588}
                                          << QList<int>{696} << QList<int>{489};
}

void NinePatchRendererTest::contentRect()
{
    QFETCH(int, embeddedId);
    QFETCH(QImage, image);
    QFETCH(QSize, surface);
    QFETCH(SkinRect, expected);
    QFETCH(QList<int>, horizontalAmounts);
    QFETCH(QList<int>, verticalAmounts);

    SyntheticSkin skin;
    int id = embeddedId;
    if (id == 0) {
        id = kTestId;
        skin.Add(id, image);
    } else if (!SyntheticSkin::HasEmbedded(id)) {
        QSKIP("skin image not embedded");
    }

    OffscreenSurface target;
    QVERIFY(target.Create(surface.width(), surface.height()));
    SkinRect rect{99, 99, 99, 99};
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();
    QVERIFY(renderer->DrawNinePatch(target, id, &rect));
    QCOMPARE(rect, expected);
    QCOMPARE(renderer->HorizontalAmounts(), horizontalAmounts);
    QCOMPARE(renderer->VerticalAmounts(), verticalAmounts);
    QCOMPARE(target.Image().size(), surface);
}

void NinePatchRendererTest::stretchPasses_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("imageLength");
    QTest::addColumn<QList<int>>("markers"); // image positions
    QTest::addColumn<int>("targetLength");
    QTest::addColumn<QString>("expected"); // image position each target pixel shows

    for (const bool vertical : {false, true}) {
        const QByteArray axis = vertical ? "rows: " : "columns: ";
        const auto row = [&axis](const char* name) -> QTestData& {
            return QTest::newRow(QByteArray(axis + name).constData());
        };
        row("one marker") << vertical << 8 << QList<int>{3} << 10 << u"1 2 3 3 3 3 3 4 5 6"_s;
        row("one marker, content size") << vertical << 8 << QList<int>{3} << 6 << u"1 2 3 4 5 6"_s;
        // The second stretched strip is drawn one pixel early and the strip after it is
        // copied from the stretched one again, so it repeats once more.
        row("two markers, even spare") << vertical << 8 << QList<int>{2, 5} << 10 << u"1 2 2 2 3 4 5 5 5 5"_s;
        row("two markers, odd spare")
            << vertical << 8 << QList<int>{2, 5} << 11 << u"1 2 2 2 3 4 5 5 5 5 6"_s;
        row("no marker") << vertical << 8 << QList<int>{} << 10 << u"1 2 3 4 5 6 k - - -"_s;
        row("three markers") << vertical << 8 << QList<int>{2, 3, 5} << 10 << u"- - - - - - - - - -"_s;
        row("shrinking") << vertical << 8 << QList<int>{3} << 4 << u"1 4 5 6"_s;
    }
    // Only the vertical pass copies plainly when nothing has to be stretched; the
    // horizontal pass still follows its markers.
    QTest::newRow("columns: three markers, content size")
        << false << 8 << QList<int>{2, 3, 5} << 6 << u"- - - - - -"_s;
    QTest::newRow("rows: three markers, content size")
        << true << 8 << QList<int>{2, 3, 5} << 6 << u"1 2 3 4 5 6"_s;
}

void NinePatchRendererTest::stretchPasses()
{
    QFETCH(bool, vertical);
    QFETCH(int, imageLength);
    QFETCH(QList<int>, markers);
    QFETCH(int, targetLength);
    QFETCH(QString, expected);

    // The other axis has no marker and the content size, so it is a plain copy; the probe
    // line (image position 5) lies inside the content run, whose marker pixel shows as "k".
    QImage image = SyntheticSkin::NinePatch(imageLength, 12, markers, {}, 2, 9, 1, 1);
    if (vertical)
        image = Transposed(image);

    SyntheticSkin skin;
    skin.Add(kTestId, image);
    OffscreenSurface target;
    QVERIFY(vertical ? target.Create(10, targetLength) : target.Create(targetLength, 10));
    QVERIFY(NinePatchRenderer::Instance()->DrawNinePatch(target, kTestId));
    QCOMPARE(Trace(target.Image(), vertical, 4, targetLength), expected);
}

void NinePatchRendererTest::contentSizeReproducesInnerPixels_data()
{
    QTest::addColumn<int>("embeddedId");
    QTest::addColumn<QImage>("image");

    const auto withAlpha = [](QImage image) {
        // Partly transparent inner pixels must come through unchanged too.
        for (int y = 1; y < image.height() - 1; ++y) {
            for (int x = 1; x < image.width() - 1; ++x)
                image.setPixel(x, y, qRgba(x * 9 % 256, y * 3 % 256, (x + y) % 256, (x * 31 + y * 17) % 256));
        }
        return image;
    };
    QTest::newRow("tab") << 0 << withAlpha(SyntheticSkin::TabLike());
    QTest::newRow("push") << 0 << withAlpha(SyntheticSkin::PushLike());
    QTest::newRow("background") << 0 << withAlpha(SyntheticSkin::BackgroundLike());
    QTest::newRow("bar") << 0 << withAlpha(SyntheticSkin::BarLike());
    for (int id : {143, 147, 151, 161, 175, 501})
        QTest::newRow(QByteArray("embedded " + QByteArray::number(id)).constData()) << id << QImage();
}

void NinePatchRendererTest::contentSizeReproducesInnerPixels()
{
    QFETCH(int, embeddedId);
    QFETCH(QImage, image);

    SyntheticSkin skin;
    int id = embeddedId;
    if (id == 0) {
        id = kTestId;
        skin.Add(id, image);
    } else {
        PngResource png;
        if (!png.LoadPng(id))
            QSKIP("skin image not embedded");
        image = png.Image();
    }

    OffscreenSurface target;
    QVERIFY(target.Create(image.width() - 2, image.height() - 2));
    QVERIFY(NinePatchRenderer::Instance()->DrawNinePatch(target, id));
    const QImage expected = image.copy(1, 1, image.width() - 2, image.height() - 2)
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (target.Image().pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(u"pixel (%1, %2) differs"_s.arg(x).arg(y)));
        }
    }
}

void NinePatchRendererTest::markerIsBlackWhateverItsAlpha_data()
{
    QTest::addColumn<QRgb>("borderPixel");
    QTest::addColumn<bool>("isMarker");

    QTest::newRow("black, alpha 0") << qRgba(0, 0, 0, 0) << true;
    QTest::newRow("black, alpha 128") << qRgba(0, 0, 0, 128) << true;
    QTest::newRow("black, opaque") << qRgba(0, 0, 0, 255) << true;
    QTest::newRow("white, alpha 0") << qRgba(255, 255, 255, 0) << false;
    QTest::newRow("white, opaque") << qRgba(255, 255, 255, 255) << false;
    QTest::newRow("almost black red") << qRgba(1, 0, 0, 255) << false;
    QTest::newRow("almost black blue, alpha 0") << qRgba(0, 0, 1, 0) << false;
}

void NinePatchRendererTest::markerIsBlackWhateverItsAlpha()
{
    QFETCH(QRgb, borderPixel);
    QFETCH(bool, isMarker);

    QImage image = SyntheticSkin::NinePatch(12, 12, {}, {}, 2, 9, 2, 9);
    image.setPixel(4, 0, borderPixel);
    image.setPixel(0, 7, borderPixel);

    SyntheticSkin skin;
    skin.Add(kTestId, image);
    OffscreenSurface target;
    QVERIFY(target.Create(30, 30));
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();
    QVERIFY(renderer->DrawNinePatch(target, kTestId));
    QCOMPARE(renderer->HorizontalMarkers(), isMarker ? QList<int>{3} : QList<int>{});
    QCOMPARE(renderer->VerticalMarkers(), isMarker ? QList<int>{6} : QList<int>{});
    // A marker stretches its column over the spare width; without one the image is copied
    // and the spare width stays empty.
    QCOMPARE(qAlpha(target.Image().pixel(29, 29)) != 0, isMarker);
}

void NinePatchRendererTest::failedDrawLeavesSurfaceAlone_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("bytes"); // registered under `id` unless null

    QImage tiny(1, 1, QImage::Format_ARGB32);
    tiny.fill(qRgba(10, 20, 30, 255));
    QByteArray truncated = SyntheticSkin::EncodePng(SyntheticSkin::TabLike());
    truncated.chop(truncated.size() / 2);

    QTest::newRow("id 0") << 0 << QByteArray();
    QTest::newRow("unknown id") << 4242 << QByteArray();
    QTest::newRow("empty image") << kTestId << QByteArray("");
    QTest::newRow("not a png") << kTestId << QByteArray("GIF89a this is not a PNG at all");
    QTest::newRow("truncated png") << kTestId << truncated;
    QTest::newRow("1x1 image") << kTestId << SyntheticSkin::EncodePng(tiny);
}

void NinePatchRendererTest::failedDrawLeavesSurfaceAlone()
{
    QFETCH(int, id);
    QFETCH(QByteArray, bytes);

    SyntheticSkin skin;
    if (!bytes.isNull())
        skin.AddBytes(id, bytes);

    OffscreenSurface target;
    QVERIFY(target.Create(40, 30));
    target.Image() = Pattern(40, 30);
    const QImage before = target.Image();
    SkinRect rect{1, 2, 3, 4};
    QVERIFY(!NinePatchRenderer::Instance()->DrawNinePatch(target, id, &rect));
    QCOMPARE(target.Image(), before);
    QCOMPARE(rect, (SkinRect{1, 2, 3, 4}));

    // A 1 x 1 image is a valid picture at its natural size.
    if (QTest::currentDataTag() != QByteArrayView("1x1 image")) {
        QVERIFY(!NinePatchRenderer::Instance()->DrawImageNatural(target, id));
        QCOMPARE(target.Image(), before);
    }
}

void NinePatchRendererTest::drawingNeedsACreatedSurface()
{
    SyntheticSkin skin;
    skin.Add(kTestId, SyntheticSkin::TabLike());
    OffscreenSurface target;
    SkinRect rect{1, 2, 3, 4};
    QVERIFY(!NinePatchRenderer::Instance()->DrawNinePatch(target, kTestId, &rect));
    QVERIFY(!NinePatchRenderer::Instance()->DrawImageNatural(target, kTestId));
    QVERIFY(!target.IsCreated());
    QCOMPARE(rect, (SkinRect{1, 2, 3, 4}));
}

void NinePatchRendererTest::naturalDrawingComposesOverContent_data()
{
    QTest::addColumn<QRgb>("imagePixel");   // straight alpha
    QTest::addColumn<QRgb>("surfacePixel"); // opaque
    QTest::addColumn<QRgb>("expected");

    QTest::newRow("opaque") << qRgba(200, 10, 30, 255) << qRgb(0, 0, 255) << qRgb(200, 10, 30);
    QTest::newRow("transparent") << qRgba(200, 10, 30, 0) << qRgb(0, 0, 255) << qRgb(0, 0, 255);
    QTest::newRow("half") << qRgba(200, 100, 0, 128) << qRgb(0, 0, 254) << qRgb(100, 50, 127);
}

void NinePatchRendererTest::naturalDrawingComposesOverContent()
{
    QFETCH(QRgb, imagePixel);
    QFETCH(QRgb, surfacePixel);
    QFETCH(QRgb, expected);

    QImage image(29, 26, QImage::Format_ARGB32);
    image.fill(imagePixel);
    SyntheticSkin skin;
    skin.Add(kTestId, image);

    OffscreenSurface target;
    QVERIFY(target.Create(40, 30));
    target.Image().fill(surfacePixel);
    QVERIFY(NinePatchRenderer::Instance()->DrawImageNatural(target, kTestId));

    const QRgb inside = target.Image().pixel(28, 25);
    QVERIFY2(qAbs(qRed(inside) - qRed(expected)) <= 1 && qAbs(qGreen(inside) - qGreen(expected)) <= 1 &&
                 qAbs(qBlue(inside) - qBlue(expected)) <= 1 && qAlpha(inside) == 255,
             qPrintable(u"got %1"_s.arg(inside, 8, 16)));
    // Beyond the image the surface keeps its content.
    QCOMPARE(target.Image().pixel(29, 0), surfacePixel);
    QCOMPARE(target.Image().pixel(0, 26), surfacePixel);
}

void NinePatchRendererTest::naturalDrawingClipsToSurface()
{
    QImage image(29, 26, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 255));
    SyntheticSkin skin;
    skin.Add(kTestId, image);
    OffscreenSurface target;
    QVERIFY(target.Create(10, 5));
    QVERIFY(NinePatchRenderer::Instance()->DrawImageNatural(target, kTestId));
    QCOMPARE(target.Image().size(), QSize(10, 5));
    QCOMPARE(target.Image().pixel(9, 4), qRgba(1, 2, 3, 255));
}

void NinePatchRendererTest::markersAtTheImageEdgesAreHarmless_data()
{
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QSize>("surface");

    QTest::newRow("corner marker") << QList<int>{0} << QList<int>{0} << QSize(50, 40);
    QTest::newRow("corner and far marker") << QList<int>{0, 13} << QList<int>{0, 11} << QSize(50, 40);
    QTest::newRow("last column and row") << QList<int>{13} << QList<int>{11} << QSize(50, 40);
    QTest::newRow("much smaller target") << QList<int>{6} << QList<int>{5} << QSize(1, 1);
    QTest::newRow("two markers, smaller target") << QList<int>{2, 9} << QList<int>{3, 8} << QSize(3, 2);
}

void NinePatchRendererTest::markersAtTheImageEdgesAreHarmless()
{
    QFETCH(QList<int>, columns);
    QFETCH(QList<int>, rows);
    QFETCH(QSize, surface);

    SyntheticSkin skin;
    skin.Add(kTestId, SyntheticSkin::NinePatch(14, 12, columns, rows, 2, 9, 3, 5));
    OffscreenSurface target;
    QVERIFY(target.Create(surface.width(), surface.height()));
    SkinRect rect;
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();
    QVERIFY(renderer->DrawNinePatch(target, kTestId, &rect));
    QCOMPARE(renderer->HorizontalMarkers().size(), columns.size());
    QCOMPARE(target.Image().size(), surface);
}

void NinePatchRendererTest::releasedInstanceStartsAfresh()
{
    SyntheticSkin skin;
    skin.Add(kTestId, SyntheticSkin::TabLike());
    OffscreenSurface target;
    QVERIFY(target.Create(140, 40));
    QCOMPARE(NinePatchRenderer::Instance(), NinePatchRenderer::Instance());
    QVERIFY(NinePatchRenderer::Instance()->DrawNinePatch(target, kTestId));
    QCOMPARE(NinePatchRenderer::Instance()->VerticalAmounts(), QList<int>{4});
    NinePatchRenderer::ReleaseInstance();
    QVERIFY(NinePatchRenderer::Instance()->VerticalAmounts().isEmpty());
    QVERIFY(NinePatchRenderer::Instance()->HorizontalMarkers().isEmpty());
}

QTEST_GUILESS_MAIN(NinePatchRendererTest)
#include "NinePatchRendererTest.moc"
