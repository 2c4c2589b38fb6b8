#include "ui/CRStaticText.h"

#include "tests/support/SyntheticSkin.h"
#include "skin/SkinFont.h"

#include <QMouseEvent>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTabImage = 9401;

// Bounding box of the pixels with any alpha.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage Transparent(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Records the mouse events that reach it, in its own coordinates.
class MouseRecorder final : public QWidget
{
public:
    QList<QPair<QEvent::Type, QPoint>> m_events;

protected:
    void mousePressEvent(QMouseEvent* event) override { Record(event); }
    void mouseMoveEvent(QMouseEvent* event) override { Record(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Record(event); }

private:
    void Record(QMouseEvent* event) { m_events.append({event->type(), event->position().toPoint()}); }
};

} // namespace

class CRStaticTextTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void offsets_data();
    void offsets();
    void drawnWhereTheOffsetsSay_data();
    void drawnWhereTheOffsetsSay();
    void colourRule_data();
    void colourRule();
    void emptyTextDrawsNothing();
    void textRectangle_data();
    void textRectangle();
    void composesBackgroundImageAndText();
    void mouseGoesToTheParent_data();
    void mouseGoesToTheParent();

private:
    std::unique_ptr<SyntheticSkin> m_skin;
    QFont m_titleFont;
};

void CRStaticTextTest::initTestCase()
{
    QVERIFY(SkinFont::EnsureRegistered());
    m_titleFont = SkinFont::Create(13, true);
    m_skin = std::make_unique<SyntheticSkin>();
    QImage tab = SyntheticSkin::TabLike();
    SyntheticSkin::FillInner(tab, qRgba(0, 0, 255, 128));
    m_skin->Add(kTabImage, tab);
}

void CRStaticTextTest::offsets_data()
{
    QTest::addColumn<SkinRect>("rect");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<int>("centring");
    QTest::addColumn<QPoint>("offset");

    // The title: 400 x 20, one 13-pixel line, at the left, centred vertically.
    QTest::newRow("title") << SkinRect{0, 0, 400, 20} << QSize(120, 13) << 0 << QPoint(0, 3);
    QTest::newRow("odd spare width") << SkinRect{0, 0, 140, 20} << QSize(101, 13) << 1 << QPoint(20, 3);
    QTest::newRow("even spare width") << SkinRect{0, 0, 140, 20} << QSize(100, 13) << 1 << QPoint(20, 3);
    QTest::newRow("spare width 1") << SkinRect{0, 0, 140, 20} << QSize(139, 13) << 1 << QPoint(1, 3);
    QTest::newRow("rectangle not at the origin")
        << SkinRect{6, 2, 136, 37} << QSize(101, 13) << 1 << QPoint(15, 11);
    QTest::newRow("odd spare height truncates")
        << SkinRect{0, 0, 140, 20} << QSize(50, 14) << 0 << QPoint(0, 3);
    QTest::newRow("wider than the rectangle")
        << SkinRect{0, 0, 140, 20} << QSize(150, 13) << 1 << QPoint(0, 3);
    QTest::newRow("one pixel too wide") << SkinRect{0, 0, 140, 20} << QSize(141, 13) << 1 << QPoint(0, 3);
    QTest::newRow("higher than the rectangle")
        << SkinRect{0, 0, 140, 20} << QSize(50, 26) << 1 << QPoint(45, 0);
}

void CRStaticTextTest::offsets()
{
    QFETCH(SkinRect, rect);
    QFETCH(QSize, text);
    QFETCH(int, centring);
    QFETCH(QPoint, offset);
    QCOMPARE(CRStaticText::AlphaTextOffset(rect, text, centring), offset);
}

void CRStaticTextTest::drawnWhereTheOffsetsSay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SkinRect>("rect");
    QTest::addColumn<int>("centring");

    QTest::newRow("title") << u"Dash Cam Settings"_s << SkinRect{0, 0, 400, 20} << 0;
    QTest::newRow("centred") << u"Record Settings"_s << SkinRect{6, 2, 136, 37} << 1;
    QTest::newRow("two lines, centred") << u"Format\r\nnow?"_s << SkinRect{10, 10, 190, 90} << 1;
    // Not clipped to the rectangle.
    QTest::newRow("wider than the rectangle") << u"Memory Card Settings"_s << SkinRect{20, 5, 60, 25} << 1;
}

void CRStaticTextTest::drawnWhereTheOffsetsSay()
{
    QFETCH(QString, text);
    QFETCH(SkinRect, rect);
    QFETCH(int, centring);

    QImage surface = Transparent(400, 100);
    CRStaticText::DrawAlphaText(surface, text, m_titleFont, rect, QColor(214, 223, 233), centring);

    const QSize extent = SkinFont::TextExtent(m_titleFont, text);
    const QPoint origin = QPoint(rect.left, rect.top) + CRStaticText::AlphaTextOffset(rect, extent, centring);
    const QRect ink = InkBox(surface);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(
        QRect(origin, extent).contains(ink),
        qPrintable(u"ink at %1,%2 %3x%4"_s.arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    // The ink fills most of the measured block, so the block is where the text really is.
    QVERIFY(ink.left() - origin.x() <= 2);
    QVERIFY(origin.x() + extent.width() - 1 - ink.right() <= 3);
    if (text.startsWith(u"Memory"_s))
        QVERIFY(ink.right() >= rect.right);
}

void CRStaticTextTest::colourRule_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QRgb>("below"); // 0: transparent surface

    QTest::newRow("title colour") << QColor(214, 223, 233) << QRgb(0);
    QTest::newRow("white") << QColor(255, 255, 255) << QRgb(0);
    QTest::newRow("black") << QColor(0, 0, 0) << QRgb(0);
    QTest::newRow("over an opaque background") << QColor(214, 223, 233) << qRgb(32, 34, 36);
}

void CRStaticTextTest::colourRule()
{
    QFETCH(QColor, colour);
    QFETCH(QRgb, below);

    QImage surface = Transparent(200, 20);
    surface.fill(below);
    CRStaticText::DrawAlphaText(surface, u"Dash Cam Settings"_s, m_titleFont, SkinRect{0, 0, 200, 20}, colour,
                                0);

    // Coverage a gives premultiplied (c x a) >> 8 with alpha a: full coverage is 254/255.
    int full = 0;
    int partial = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const QRgb pixel = surface.pixel(x, y);
            if (pixel == below)
                continue;
            if (below == 0) {
                const QRgb raw = reinterpret_cast<const QRgb*>(surface.constScanLine(y))[x];
                const int alpha = qAlpha(raw);
                QCOMPARE(qRed(raw), (colour.red() * alpha) >> 8);
                QCOMPARE(qGreen(raw), (colour.green() * alpha) >> 8);
                QCOMPARE(qBlue(raw), (colour.blue() * alpha) >> 8);
                (alpha == 255 ? full : partial)++;
            } else {
                // Composed over an opaque surface: stays opaque, between the two colours.
                QCOMPARE(qAlpha(pixel), 255);
                QVERIFY(qRed(pixel) >= qRed(below) && qRed(pixel) <= colour.red());
                ++partial;
            }
        }
    }
    QVERIFY(partial > 0);
    if (below == 0)
        QVERIFY(full > 0);
}

void CRStaticTextTest::emptyTextDrawsNothing()
{
    QImage surface = Transparent(50, 20);
    CRStaticText::DrawAlphaText(surface, QString(), m_titleFont, SkinRect{0, 0, 50, 20}, Qt::white, 1);
    CRStaticText::DrawAlphaText(surface, u"\r\n"_s, m_titleFont, SkinRect{0, 0, 50, 20}, Qt::white, 1);
    QVERIFY(InkBox(surface).isEmpty());
}

void CRStaticTextTest::textRectangle_data()
{
    QTest::addColumn<QList<int>>("looks"); // image ids given to SetLook in turn
    QTest::addColumn<SkinRect>("expected");

    QTest::newRow("no image: client rectangle") << QList<int>{0} << SkinRect{0, 0, 140, 37};
    QTest::newRow("image: its content rectangle") << QList<int>{kTabImage} << SkinRect{6, 2, 136, 37};
    // A failing image keeps the previous rectangle: all zero for a new label.
    QTest::newRow("missing image on a new label") << QList<int>{4242} << SkinRect{0, 0, 0, 0};
    QTest::newRow("missing image after an image") << QList<int>{kTabImage, 4242} << SkinRect{6, 2, 136, 37};
}

void CRStaticTextTest::textRectangle()
{
    QFETCH(QList<int>, looks);
    QFETCH(SkinRect, expected);

    QWidget window;
    window.resize(300, 100);
    auto* label = new CRStaticText(2001, &window);
    label->setGeometry(11, 7, 140, 37);
    const LabelStyle style{u"Dash Cam Settings"_s, QColor(214, 223, 233), Qt::white, Qt::white, 13, 0};
    for (int id : looks)
        label->SetLook(id, &m_titleFont, nullptr, &style);
    QCOMPARE(label->TextRect(), expected);
}

void CRStaticTextTest::composesBackgroundImageAndText()
{
    QImage background(300, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x)
            background.setPixel(x, y, qRgb(x % 256, y, 40));
    }
    QWidget window;
    window.resize(300, 100);
    auto* label = new CRStaticText(2001, &window);
    label->setGeometry(11, 7, 140, 37);
    const LabelStyle style{u"Record Settings"_s, Qt::white, Qt::white, Qt::white, 13, 1};
    label->SetLook(kTabImage, &m_titleFont, &background, &style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage look = label->grab().toImage();
    // Away from the text: the half transparent blue image over the captured background.
    const QRgb under = background.pixel(11 + 2, 7 + 30);
    const QRgb corner = look.pixel(2, 30);
    QVERIFY(qAbs(qRed(corner) - qRed(under) / 2) <= 1);
    QVERIFY(qAbs(qBlue(corner) - (128 + qBlue(under) / 2)) <= 1);
    // The text: white ink somewhere in the content rectangle's middle rows.
    int white = 0;
    for (int y = 13; y < 26; ++y) {
        for (int x = 6; x < 136; ++x)
            white += qGreen(look.pixel(x, y)) > 200 ? 1 : 0;
    }
    QVERIFY(white > 0);
}

void CRStaticTextTest::mouseGoesToTheParent_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QEvent::Type>("type");
    QTest::newRow("press") << u"press"_s << QEvent::MouseButtonPress;
    QTest::newRow("drag") << u"drag"_s << QEvent::MouseMove;
    QTest::newRow("release") << u"release"_s << QEvent::MouseButtonRelease;
}

void CRStaticTextTest::mouseGoesToTheParent()
{
    QFETCH(QString, action);
    QFETCH(QEvent::Type, type);

    MouseRecorder window;
    window.resize(300, 100);
    auto* label = new CRStaticText(2001, &window);
    label->setGeometry(11, 7, 400, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QPoint at(5, 6);
    if (action == u"press"_s) {
        QTest::mousePress(label, Qt::LeftButton, {}, at);
    } else if (action == u"drag"_s) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), label->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
    } else {
        QTest::mouseRelease(label, Qt::LeftButton, {}, at);
    }
    QCOMPARE(window.m_events.size(), 1);
    QCOMPARE(window.m_events.first().first, type);
    QCOMPARE(window.m_events.first().second, QPoint(11, 7) + at);
}

QTEST_MAIN(CRStaticTextTest)
#include "CRStaticTextTest.moc"
