#include "CommandSink.h"
#include "tests/support/SyntheticSkin.h"
#include "ui/CRButton.h"

#include <QTest>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;
using State = CRButton::State;

namespace {

constexpr int kNormal = 9201;
constexpr int kHover = 9202;
constexpr int kPressed = 9203;
constexpr int kSelected = 9204;

QImage Flat(QRgb colour)
{
    QImage image = SyntheticSkin::TabLike();
    SyntheticSkin::FillInner(image, colour);
    return image;
}

} // namespace

// How a click reaches the owner. Mouse events are delivered straight to the button here
// (no event processing in between), so what happens inside the release can be told apart
// from what happens after it.
class CRButtonClickTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commandArrivesAfterTheRelease_data();
    void commandArrivesAfterTheRelease();
    void commandGoesToTheImmediateParent();
    void ownerSwitchesTabs_data();
    void ownerSwitchesTabs();

private:
    std::unique_ptr<SyntheticSkin> m_skin;
};

void CRButtonClickTest::initTestCase()
{
    m_skin = std::make_unique<SyntheticSkin>();
    m_skin->Add(kNormal, Flat(qRgb(40, 40, 40)));
    m_skin->Add(kHover, Flat(qRgb(80, 80, 80)));
    m_skin->Add(kPressed, Flat(qRgb(107, 138, 162)));
    m_skin->Add(kSelected, Flat(qRgb(90, 110, 130)));
}

void CRButtonClickTest::commandArrivesAfterTheRelease_data()
{
    QTest::addColumn<bool>("selectedTab");
    QTest::addColumn<State>("stateWhenDelivered");

    QTest::newRow("push button: already hover") << false << State::Hover;
    // A selected tab is still pressed; its owner re-selects it.
    QTest::newRow("selected tab: still pressed") << true << State::Pressed;
}

void CRButtonClickTest::commandArrivesAfterTheRelease()
{
    QFETCH(bool, selectedTab);
    QFETCH(State, stateWhenDelivered);

    CommandSink window;
    window.resize(300, 100);
    auto* button = new CRButton(2304, &window);
    button->setGeometry(20, 20, 100, 29);
    button->SetImagesStretched(kNormal, kHover, kPressed, nullptr, nullptr);
    if (selectedTab) {
        button->SetSelectedImage(kSelected);
        button->SetSelected(true);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QList<State> seen;
    window.m_onCommand = [&](int) { seen.append(button->CurrentState()); };

    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(button->CurrentState(), State::Pressed);
    QTest::mouseRelease(button, Qt::LeftButton);
    // Posted, not sent: nothing has arrived while the release was handled.
    QVERIFY(window.m_commands.isEmpty());
    QTRY_COMPARE(window.m_commands, QList<int>{2304});
    QCOMPARE(seen, QList<State>{stateWhenDelivered});
}

void CRButtonClickTest::commandGoesToTheImmediateParent()
{
    CommandSink window;
    window.resize(300, 100);
    auto* page = new CommandSink(&window);
    page->setGeometry(0, 0, 200, 100);
    auto* button = new CRButton(2302, page);
    button->setGeometry(8, 8, 100, 29);
    button->SetImagesStretched(kNormal, kHover, kPressed, nullptr, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(page->m_commands, QList<int>{2302});
    QCoreApplication::processEvents();
    QVERIFY(window.m_commands.isEmpty());
}

void CRButtonClickTest::ownerSwitchesTabs_data()
{
    QTest::addColumn<QList<int>>("clicks"); // tab indices, in order
    QTest::addColumn<int>("selected");

    QTest::newRow("nothing clicked") << QList<int>{} << 0;
    QTest::newRow("second tab") << QList<int>{1} << 1;
    QTest::newRow("selected tab again") << QList<int>{0} << 0;
    QTest::newRow("second, third") << QList<int>{1, 2} << 2;
    QTest::newRow("third, third") << QList<int>{2, 2} << 2;
}

void CRButtonClickTest::ownerSwitchesTabs()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, selected);

    CommandSink window;
    window.resize(500, 100);
    const std::array<int, 3> ids = {2203, 2202, 2204};
    std::array<CRButton*, 3> tabs{};
    for (int i = 0; i < 3; ++i) {
        tabs[i] = new CRButton(ids[i], &window);
        tabs[i]->setGeometry(11 + 140 * i, 48, 140, 37);
        tabs[i]->SetImagesStretched(kNormal, kHover, kPressed, nullptr, nullptr);
        tabs[i]->SetSelectedImage(kSelected);
        tabs[i]->SetSelected(i == 0);
    }
    // The owner's tab switching: the clicked tab becomes selected, the others not.
    window.m_onCommand = [&](int id) {
        for (int i = 0; i < 3; ++i)
            tabs[i]->SetSelected(ids[i] == id);
    };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    for (int index : clicks) {
        const qsizetype before = window.m_commands.size();
        QTest::mouseClick(tabs[index], Qt::LeftButton);
        QTRY_COMPARE(window.m_commands.size(), before + 1);
        QCOMPARE(window.m_commands.last(), ids[index]);
    }
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(tabs[i]->CurrentState(), i == selected ? State::Selected : State::Normal);
        QCOMPARE(tabs[i]->IsSelected(), i == selected);
    }
}

QTEST_MAIN(CRButtonClickTest)
#include "CRButtonClickTest.moc"
