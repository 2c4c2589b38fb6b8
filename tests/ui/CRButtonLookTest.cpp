#define QTEST_QPA_MOUSE_HANDLING

#include "tests/support/SyntheticSkin.h"
#include "ui/CRButton.h"
#include "skin/SkinFont.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using State = CRButton::State;

namespace {

constexpr int kNormal = 9301;
constexpr int kHover = 9302;
constexpr int kPressed = 9303;
constexpr int kSelected = 9304;
constexpr int kDisabled = 9305;
constexpr int kBlack = 9306;
constexpr int kCaption = 9307;
constexpr int kPush = 9308;
constexpr int kEven = 9309;

const QRgb kParentColour = qRgb(255, 0, 255);
const QPoint kAway(290, 140);

// Source-over of one straight-alpha pixel on an opaque one.
QRgb Over(QRgb top, QRgb below)
{
    const auto mix = [&](int t, int b) { return (t * qAlpha(top) + b * (255 - qAlpha(top)) + 127) / 255; };
    return qRgb(mix(qRed(top), qRed(below)), mix(qGreen(top), qGreen(below)), mix(qBlue(top), qBlue(below)));
}

bool Near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2 && qAbs(qBlue(a) - qBlue(b)) <= 2;
}

// A tab image of one colour whose image column 3 (drawn at x = 2) is transparent and
// column 4 (drawn at x = 3) half transparent red.
QImage TabImage(QRgb colour)
{
    QImage image = SyntheticSkin::TabLike();
    SyntheticSkin::FillInner(image, colour);
    for (int y = 1; y < image.height() - 1; ++y) {
        image.setPixel(3, y, qRgba(255, 255, 255, 0));
        image.setPixel(4, y, qRgba(200, 0, 0, 128));
    }
    return image;
}

QImage BackgroundPattern()
{
    QImage image(300, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 300; ++x)
            image.setPixel(x, y, qRgb(x % 256, y, 77));
    }
    return image;
}

// The parent paints a flat colour of its own, so what a button leaves transparent is visible.
class Backdrop final : public QWidget
{
public:
    Backdrop()
    {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(kParentColour));
        setPalette(palette);
        setAutoFillBackground(true);
        resize(300, 150);
    }
};

QString Hex(QRgb pixel)
{
    return u"#%1"_s.arg(pixel & 0xffffff, 6, 16, QLatin1Char('0'));
}

// Bounding box of the pixels that differ from `plain`.
QRect InkBox(const QImage& image, QRgb plain)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != (plain & 0xffffff))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class CRButtonLookTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stateLook_data();
    void stateLook();
    void withoutBackgroundTheParentShows();
    void naturalImageAtTheTopLeft();
    void lookIsCachedUntilRedraw();
    void selectedTabKeepsItsLook_data();
    void selectedTabKeepsItsLook();
    void disablingWithoutDisabledImage_data();
    void disablingWithoutDisabledImage();
    void labelPlacement_data();
    void labelPlacement();
    void labelColourFollowsState_data();
    void labelColourFollowsState();

private:
    void Drive(CRButton* button, Backdrop& window, const QString& action);
    void LetGo(Backdrop& window, const QString& action);

    std::unique_ptr<SyntheticSkin> m_skin;
    QImage m_background;
};

void CRButtonLookTest::initTestCase()
{
    QVERIFY(SkinFont::EnsureRegistered());
    m_background = BackgroundPattern();
    m_skin = std::make_unique<SyntheticSkin>();
    m_skin->Add(kNormal, TabImage(qRgb(40, 40, 40)));
    m_skin->Add(kHover, TabImage(qRgb(80, 80, 80)));
    m_skin->Add(kPressed, TabImage(qRgb(107, 138, 162)));
    m_skin->Add(kSelected, TabImage(qRgb(90, 110, 130)));
    m_skin->Add(kDisabled, TabImage(qRgb(20, 20, 20)));
    QImage black = SyntheticSkin::TabLike();
    SyntheticSkin::FillInner(black, qRgb(0, 0, 0));
    m_skin->Add(kBlack, black);
    QImage push = SyntheticSkin::PushLike();
    SyntheticSkin::FillInner(push, qRgb(0, 0, 0));
    m_skin->Add(kPush, push);
    QImage even = SyntheticSkin::NinePatch(14, 38, {6}, {19}, 2, 35, 6, 6);
    SyntheticSkin::FillInner(even, qRgb(0, 0, 0));
    m_skin->Add(kEven, even);
    QImage caption(29, 26, QImage::Format_ARGB32);
    caption.fill(qRgb(10, 200, 10));
    caption.setPixel(0, 25, qRgba(0, 0, 0, 0)); // a rounded corner
    m_skin->Add(kCaption, caption);
}

void CRButtonLookTest::LetGo(Backdrop& window, const QString& action)
{
    // The test mouse remembers its buttons across windows: let go of a pressed one.
    if (action == u"press"_s)
        QTest::mouseRelease(&window, Qt::LeftButton, {}, kAway);
}

void CRButtonLookTest::Drive(CRButton* button, Backdrop& window, const QString& action)
{
    const QPoint inside = button->geometry().center();
    if (action == u"hover"_s) {
        QTest::mouseMove(&window, inside);
    } else if (action == u"press"_s) {
        QTest::mouseMove(&window, inside);
        QTest::mousePress(&window, Qt::LeftButton, {}, inside);
    } else if (action == u"select"_s) {
        button->SetSelected(true);
    } else if (action == u"disable"_s) {
        button->setEnabled(false);
    }
}

void CRButtonLookTest::stateLook_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<State>("state");
    QTest::addColumn<QRgb>("colour");

    QTest::newRow("normal") << QString() << State::Normal << qRgb(40, 40, 40);
    QTest::newRow("hover") << u"hover"_s << State::Hover << qRgb(80, 80, 80);
    QTest::newRow("pressed") << u"press"_s << State::Pressed << qRgb(107, 138, 162);
    QTest::newRow("selected") << u"select"_s << State::Selected << qRgb(90, 110, 130);
    QTest::newRow("disabled") << u"disable"_s << State::Disabled << qRgb(20, 20, 20);
}

void CRButtonLookTest::stateLook()
{
    QFETCH(QString, action);
    QFETCH(State, state);
    QFETCH(QRgb, colour);

    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(20, 30, 140, 37);
    button->SetImagesStretched(kNormal, kHover, kPressed, &m_background, nullptr, kDisabled);
    button->SetSelectedImage(kSelected);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, kAway);

    Drive(button, window, action);
    QCOMPARE(button->CurrentState(), state);

    const QImage look = window.grab(button->geometry()).toImage();
    QCOMPARE(look.pixel(70, 18), colour);
    // Transparent skin pixels show the background captured under the button, in the
    // parent's coordinates, not the parent's own painting.
    const QRgb under = m_background.pixel(20 + 2, 30 + 18);
    QCOMPARE(look.pixel(2, 18), under);
    const QRgb half = look.pixel(3, 18);
    QVERIFY2(Near(half, Over(qRgba(200, 0, 0, 128), m_background.pixel(23, 48))), qPrintable(Hex(half)));
    LetGo(window, action);
}

void CRButtonLookTest::withoutBackgroundTheParentShows()
{
    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(20, 30, 140, 37);
    button->SetImagesStretched(kNormal, kHover, kPressed, nullptr, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage look = window.grab(button->geometry()).toImage();
    QCOMPARE(look.pixel(70, 18), qRgb(40, 40, 40));
    QCOMPARE(look.pixel(2, 18), kParentColour);
    const QRgb half = look.pixel(3, 18);
    QVERIFY2(Near(half, Over(qRgba(200, 0, 0, 128), kParentColour)), qPrintable(Hex(half)));
}

void CRButtonLookTest::naturalImageAtTheTopLeft()
{
    Backdrop window;
    auto* button = new CRButton(2300, &window);
    button->setGeometry(100, 10, 40, 30);
    button->SetImagesNatural(kCaption, kCaption, kCaption, &m_background);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage look = window.grab(button->geometry()).toImage();
    QCOMPARE(look.pixel(10, 10), qRgb(10, 200, 10));
    QCOMPARE(look.pixel(28, 25), qRgb(10, 200, 10));
    QCOMPARE(look.pixel(0, 25), m_background.pixel(100, 35)); // the transparent corner
    QCOMPARE(look.pixel(35, 5), m_background.pixel(135, 15)); // beyond the image
}

void CRButtonLookTest::lookIsCachedUntilRedraw()
{
    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(20, 30, 140, 37);
    button->SetImagesStretched(kNormal, kHover, kPressed, &m_background, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Selected before a selected image exists: the look is only the background.
    button->SetSelected(true);
    const QRgb under = m_background.pixel(20 + 70, 30 + 18);
    QCOMPARE(window.grab(button->geometry()).toImage().pixel(70, 18), under);

    // Preparing the image does not recompose; an ordinary repaint reuses the cached look.
    button->SetSelectedImage(kSelected);
    button->repaint();
    QCOMPARE(window.grab(button->geometry()).toImage().pixel(70, 18), under);

    button->Redraw();
    QCOMPARE(window.grab(button->geometry()).toImage().pixel(70, 18), qRgb(90, 110, 130));
}

void CRButtonLookTest::selectedTabKeepsItsLook_data()
{
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::newRow("hovered") << QList<QPoint>{QPoint(90, 48)};
    QTest::newRow("hovered and left") << QList<QPoint>{QPoint(90, 48), kAway};
}

void CRButtonLookTest::selectedTabKeepsItsLook()
{
    QFETCH(QList<QPoint>, moves);

    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(20, 30, 140, 37);
    button->SetImagesStretched(kNormal, kHover, kPressed, &m_background, nullptr);
    button->SetSelectedImage(kSelected);
    button->SetSelected(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, kAway);

    for (const QPoint& point : moves)
        QTest::mouseMove(&window, point);
    QCOMPARE(window.grab(button->geometry()).toImage().pixel(70, 18), qRgb(90, 110, 130));
}

void CRButtonLookTest::disablingWithoutDisabledImage_data()
{
    QTest::addColumn<int>("disabledId");
    QTest::addColumn<bool>("lookChanges");
    QTest::newRow("no disabled image") << 0 << false;
    QTest::newRow("with disabled image") << int(kDisabled) << true;
}

void CRButtonLookTest::disablingWithoutDisabledImage()
{
    QFETCH(int, disabledId);
    QFETCH(bool, lookChanges);

    Backdrop window;
    auto* button = new CRButton(2304, &window);
    button->setGeometry(20, 30, 140, 37);
    const LabelStyle style{u"Save"_s, QColor(176, 187, 200), Qt::white, Qt::white, 13, 1};
    button->SetImagesStretched(kNormal, kHover, kPressed, &m_background, &style, disabledId);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage before = window.grab(button->geometry()).toImage();
    button->setEnabled(false);
    const QImage after = window.grab(button->geometry()).toImage();
    QCOMPARE(after != before, lookChanges);
}

void CRButtonLookTest::labelPlacement_data()
{
    QTest::addColumn<int>("imageId");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("centring");
    QTest::addColumn<SkinRect>("textRect");
    QTest::addColumn<SkinRect>("labelRect");

    const QString tab = u"Memory Card Settings"_s;
    QTest::newRow("tab, centred") << int(kBlack) << QSize(140, 37) << tab << 1 << SkinRect{6, 2, 136, 37}
                                  << SkinRect{6, 13, 136, 37};
    QTest::newRow("tab, top left") << int(kBlack) << QSize(140, 37) << tab << 0 << SkinRect{6, 2, 136, 37}
                                   << SkinRect{6, 2, 136, 37};
    QTest::newRow("wide push button") << int(kPush) << QSize(221, 29) << u"Initialize"_s << 1
                                      << SkinRect{7, 3, 217, 28} << SkinRect{7, 9, 217, 28};
    QTest::newRow("push button") << int(kPush) << QSize(100, 29) << u"Cancel"_s << 1 << SkinRect{7, 3, 96, 28}
                                 << SkinRect{7, 9, 96, 28};
    // 34 - 13 is odd: the half is truncated, not rounded.
    QTest::newRow("even content height")
        << int(kEven) << QSize(140, 36) << tab << 1 << SkinRect{6, 2, 136, 36} << SkinRect{6, 12, 136, 36};
    QTest::newRow("too long, clipped") << int(kBlack) << QSize(140, 37) << (tab + u" and more"_s) << 0
                                       << SkinRect{6, 2, 136, 37} << SkinRect{6, 2, 136, 37};
}

void CRButtonLookTest::labelPlacement()
{
    QFETCH(int, imageId);
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(int, centring);
    QFETCH(SkinRect, textRect);
    QFETCH(SkinRect, labelRect);

    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(QRect(QPoint(5, 40), size));
    const LabelStyle style{text, Qt::white, Qt::white, Qt::white, 13, centring};
    button->SetImagesStretched(imageId, imageId, imageId, &m_background, &style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(button->TextRect(), textRect);
    QCOMPARE(button->LabelRect(), labelRect);

    const QRect ink = InkBox(window.grab(button->geometry()).toImage(), qRgb(0, 0, 0));
    QVERIFY(!ink.isEmpty());
    // Capitals start a few pixels below the top of the 13-pixel cell.
    QVERIFY2(ink.top() >= labelRect.top && ink.top() <= labelRect.top + 4,
             qPrintable(QString::number(ink.top())));
    QVERIFY(ink.bottom() < labelRect.top + 13);
    QVERIFY(ink.left() >= labelRect.left);
    QVERIFY(ink.right() < labelRect.right);
    if (centring == 1) {
        const double middle = (ink.left() + ink.right() + 1) / 2.0;
        QVERIFY2(qAbs(middle - (labelRect.left + labelRect.right) / 2.0) <= 1.5,
                 qPrintable(QString::number(middle)));
    } else {
        QVERIFY2(ink.left() <= labelRect.left + 2, qPrintable(QString::number(ink.left())));
    }
}

void CRButtonLookTest::labelColourFollowsState_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("channel"); // 0 red: normal colour, 1 green: hover, 2 blue: pressed

    QTest::newRow("normal") << QString() << 0;
    QTest::newRow("hover") << u"hover"_s << 1;
    QTest::newRow("pressed") << u"press"_s << 2;
    QTest::newRow("selected") << u"select"_s << 2;
    QTest::newRow("disabled") << u"disable"_s << 0;
}

void CRButtonLookTest::labelColourFollowsState()
{
    QFETCH(QString, action);
    QFETCH(int, channel);

    Backdrop window;
    auto* button = new CRButton(2203, &window);
    button->setGeometry(20, 30, 140, 37);
    const LabelStyle style{u"HHHH"_s, QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), 13, 1};
    button->SetImagesStretched(kBlack, kBlack, kBlack, &m_background, &style, kBlack);
    button->SetSelectedImage(kBlack);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, kAway);
    Drive(button, window, action);

    // Over black, every text pixel is a shade of the text colour.
    const QImage look = window.grab(button->geometry()).toImage();
    LetGo(window, action);
    int sums[3] = {0, 0, 0};
    for (int y = 0; y < look.height(); ++y) {
        for (int x = 0; x < look.width(); ++x) {
            const QRgb pixel = look.pixel(x, y);
            sums[0] += qRed(pixel);
            sums[1] += qGreen(pixel);
            sums[2] += qBlue(pixel);
        }
    }
    QVERIFY(sums[channel] > 0);
    for (int other = 0; other < 3; ++other) {
        if (other != channel)
            QCOMPARE(sums[other], 0);
    }
}

QTEST_MAIN(CRButtonLookTest)
#include "CRButtonLookTest.moc"
