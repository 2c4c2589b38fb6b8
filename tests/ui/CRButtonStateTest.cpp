// Mouse input goes through the window system layer, so Qt's own routing applies: hover
// enter and leave, and the implicit grab that keeps a pressed button receiving the mouse.
#define QTEST_QPA_MOUSE_HANDLING

#include "CommandSink.h"
#include "tests/support/SyntheticSkin.h"
#include "ui/CRButton.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using State = CRButton::State;

namespace {

constexpr int kNormal = 9101;
constexpr int kHover = 9102;
constexpr int kPressed = 9103;
constexpr int kSelected = 9104;
constexpr int kDisabled = 9105;
constexpr int kButtonId = 2203;
const QRect kButtonRect(20, 20, 140, 37);
const QPoint kInside(90, 38);
const QPoint kInsideToo(30, 25);
const QPoint kOutside(250, 150);

QImage Flat(QRgb colour)
{
    QImage image = SyntheticSkin::TabLike();
    SyntheticSkin::FillInner(image, colour);
    return image;
}

} // namespace

class CRButtonStateTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void transitions_data();
    void transitions();

private:
    std::unique_ptr<SyntheticSkin> m_skin;
};

void CRButtonStateTest::initTestCase()
{
    m_skin = std::make_unique<SyntheticSkin>();
    m_skin->Add(kNormal, Flat(qRgb(40, 40, 40)));
    m_skin->Add(kHover, Flat(qRgb(80, 80, 80)));
    m_skin->Add(kPressed, Flat(qRgb(107, 138, 162)));
    m_skin->Add(kSelected, Flat(qRgb(90, 110, 130)));
    m_skin->Add(kDisabled, Flat(qRgb(20, 20, 20)));
}

void CRButtonStateTest::transitions_data()
{
    QTest::addColumn<QString>("setup"); // plain | tab | with disabled image
    QTest::addColumn<QString>("steps");
    QTest::addColumn<State>("expected");
    QTest::addColumn<int>("clicks");

    const QString plain = u"plain"_s;
    const QString tab = u"tab"_s;
    const QString disabledLook = u"with disabled image"_s;

    QTest::newRow("starts normal") << plain << QString() << State::Normal << 0;
    QTest::newRow("move: hover") << plain << u"move"_s << State::Hover << 0;
    QTest::newRow("move, move: hover") << plain << u"move move2"_s << State::Hover << 0;
    QTest::newRow("leave: normal") << plain << u"move exit"_s << State::Normal << 0;
    QTest::newRow("press: pressed") << plain << u"move press"_s << State::Pressed << 0;
    QTest::newRow("move while pressed: pressed") << plain << u"move press move2"_s << State::Pressed << 0;
    QTest::newRow("click: hover, one command") << plain << u"move press release"_s << State::Hover << 1;
    QTest::newRow("click, leave: normal") << plain << u"move press release exit"_s << State::Normal << 1;
    QTest::newRow("two clicks") << plain << u"move press release press release"_s << State::Hover << 2;
    // The button does not keep the mouse: dragging off it is leaving it.
    QTest::newRow("press, drag off: normal") << plain << u"move press exit"_s << State::Normal << 0;
    QTest::newRow("press, drag off, release: nothing posted")
        << plain << u"move press exit release-out"_s << State::Normal << 0;
    QTest::newRow("press, drag off and back, release: click")
        << plain << u"move press exit move release"_s << State::Hover << 1;
    QTest::newRow("right button: no press") << plain << u"move right"_s << State::Hover << 0;

    QTest::newRow("selected") << tab << u"select"_s << State::Selected << 0;
    QTest::newRow("selected, hover: selected") << tab << u"select move"_s << State::Selected << 0;
    QTest::newRow("selected, hover, leave: selected") << tab << u"select move exit"_s << State::Selected << 0;
    QTest::newRow("selected, press: pressed") << tab << u"select move press"_s << State::Pressed << 0;
    // Without an owner re-selecting it the clicked selected tab stays pressed.
    QTest::newRow("selected, click: pressed, command")
        << tab << u"select move press release"_s << State::Pressed << 1;
    QTest::newRow("selected, press, drag off: pressed")
        << tab << u"select move press exit"_s << State::Pressed << 0;
    QTest::newRow("unselected: normal") << tab << u"select unselect"_s << State::Normal << 0;
    QTest::newRow("unselected, click: hover")
        << tab << u"select unselect move press release"_s << State::Hover << 1;
    // The selected flag alone does not hold a button without a selected image.
    QTest::newRow("selected without image, click: hover")
        << plain << u"select move press release"_s << State::Hover << 1;

    QTest::newRow("disabled with image") << disabledLook << u"disable"_s << State::Disabled << 0;
    QTest::newRow("disabled, enabled: normal") << disabledLook << u"disable enable"_s << State::Normal << 0;
    QTest::newRow("disabled: no input")
        << disabledLook << u"disable move press release"_s << State::Disabled << 0;
    QTest::newRow("disabled while hovered, leave: disabled")
        << disabledLook << u"move disable exit"_s << State::Disabled << 0;
    QTest::newRow("disabled without image: unchanged") << plain << u"move disable"_s << State::Hover << 0;
    QTest::newRow("enabled again without image: unchanged")
        << plain << u"move disable enable"_s << State::Hover << 0;
}

void CRButtonStateTest::transitions()
{
    QFETCH(QString, setup);
    QFETCH(QString, steps);
    QFETCH(State, expected);
    QFETCH(int, clicks);

    CommandSink window;
    window.resize(300, 200);
    auto* button = new CRButton(kButtonId, &window);
    button->setGeometry(kButtonRect);
    button->SetImagesStretched(kNormal, kHover, kPressed, nullptr, nullptr,
                               setup == u"with disabled image"_s ? kDisabled : 0);
    if (setup == u"tab"_s)
        button->SetSelectedImage(kSelected);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Start with the pointer away from the button.
    QTest::mouseMove(&window, kOutside);
    QCOMPARE(button->CurrentState(), State::Normal);

    bool held = false;
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        held = (held || step == u"press"_s) && !step.startsWith(u"release"_s);
        if (step == u"move"_s)
            QTest::mouseMove(&window, kInside);
        else if (step == u"move2"_s)
            QTest::mouseMove(&window, kInsideToo);
        else if (step == u"exit"_s)
            QTest::mouseMove(&window, kOutside);
        else if (step == u"press"_s)
            QTest::mousePress(&window, Qt::LeftButton, {}, kInside);
        else if (step == u"release"_s)
            QTest::mouseRelease(&window, Qt::LeftButton, {}, kInside);
        else if (step == u"release-out"_s)
            QTest::mouseRelease(&window, Qt::LeftButton, {}, kOutside);
        else if (step == u"right"_s)
            QTest::mouseClick(&window, Qt::RightButton, {}, kInside);
        else if (step == u"disable"_s)
            button->setEnabled(false);
        else if (step == u"enable"_s)
            button->setEnabled(true);
        else if (step == u"select"_s)
            button->SetSelected(true);
        else if (step == u"unselect"_s)
            button->SetSelected(false);
        else
            QFAIL(qPrintable(u"unknown step "_s + step));
    }
    QCoreApplication::processEvents();

    QCOMPARE(button->CurrentState(), expected);
    QCOMPARE(window.m_commands.size(), clicks);
    for (int id : window.m_commands)
        QCOMPARE(id, kButtonId);
    // The test mouse remembers its buttons across windows: let go of it for the next row.
    if (held)
        QTest::mouseRelease(&window, Qt::LeftButton, {}, kOutside);
}

QTEST_MAIN(CRButtonStateTest)
#include "CRButtonStateTest.moc"
