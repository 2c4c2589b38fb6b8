#include "ui/CBaseDialog.h"

#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/support/WheelEvent.h"

#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtEndian>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

enum
{
    IdHeading = 10,
    IdLabel = 11,
    IdHiddenHeading = 12,
    IdTopLabel = 13,
    IdA = 20,
    IdB = 21,
    IdC = 22,
    IdD = 23,
    IdUnplaced = 24,
    IdBox = 30,
};

// A small page built the way the settings pages are built.
class TestPage final : public CBaseDialog
{
public:
    explicit TestPage(int range, int step, QWidget* parent = nullptr) : CBaseDialog(1, parent)
    {
        SetScrollStep(step);
        CreatePageFonts();
        AddLabel(IdHeading);
        AddLabel(IdLabel);
        AddLabel(IdHiddenHeading);
        AddLabel(IdTopLabel);
        AddRadio(IdA, 1);
        AddRadio(IdB, 1);
        AddRadio(IdC, 2);
        AddRadio(IdD, 2);
        AddRadio(IdUnplaced, 2);
        AddCheckBox(IdBox);
        ClearHeadings();
        PlaceHeading(IdHeading, u"Heading"_s, 15, 20);
        PlaceHeading(IdHiddenHeading, u"Hidden"_s, 15, 300);
        Control(IdHiddenHeading)->hide();
        PlaceLabel(IdLabel, u"Label"_s, TextFont(), 60, 200);
        PlaceLabel(IdTopLabel, u"Top"_s, TextFont(), 60, 0);
        PlaceLabel(IdA, u"A"_s, TextFont(), 25, 60);
        PlaceLabel(IdB, u"B"_s, TextFont(), 25, 80);
        PlaceLabel(IdC, u"C"_s, TextFont(), 25, 100);
        PlaceLabel(IdD, u"D"_s, TextFont(), 25, 120);
        PlaceLabel(IdBox, u"Box"_s, TextFont(), 25, 140);
        SetScrollRange(range);
        ConfigureScrollBar();
        HideUnplaced();
    }
    void LoadFromRecord() override {}

    using CBaseDialog::SetChecked;
    using CBaseDialog::SwallowKey;
};

// Stands for the main window: records the keys that reach it from the page.
class KeyRecorder final : public QWidget
{
public:
    QList<int> m_keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { m_keys.append(event->key()); }
};

// Bound controls: a radio group with a fallback, a radio group without one, a check box and a
// check box that only stores.
enum
{
    IdChoice1 = 40,
    IdChoice2 = 41,
    IdChoiceOther = 42, // stores 0; shown for any value the group does not name
    IdPlain3 = 50,
    IdPlain4 = 51,
    IdSwitch = 60,
    IdStoreOnlySwitch = 61,
};

const FieldSpec& ChoiceField = Field::unplaced_radio_choice;
const FieldSpec& PlainField = Field::device_language;
const FieldSpec& SwitchField = Field::unplaced_switch_536;
const FieldSpec& StoreOnlyField = Field::unplaced_switch_540;

// A page whose radios and check boxes are all rows of the binding table.
class BoundPage final : public CBaseDialog
{
public:
    BoundPage() : CBaseDialog(2, nullptr)
    {
        CreatePageFonts();
        int y = 20;
        const auto add = [&](int id, QAbstractButton* button) {
            PlaceLabel(id, QString::number(id), TextFont(), 25, y);
            y += 25;
            return button;
        };
        add(IdChoice1, AddRadio(IdChoice1, 1));
        add(IdChoice2, AddRadio(IdChoice2, 1));
        add(IdChoiceOther, AddRadio(IdChoiceOther, 1));
        add(IdPlain3, AddRadio(IdPlain3, 2));
        add(IdPlain4, AddRadio(IdPlain4, 2));
        add(IdSwitch, AddCheckBox(IdSwitch));
        add(IdStoreOnlySwitch, AddCheckBox(IdStoreOnlySwitch));
        Bind({
            RadioRow(IdChoice1, ChoiceField, 1),
            RadioRow(IdChoice2, ChoiceField, 2),
            FallbackRadioRow(IdChoiceOther, ChoiceField, 0),
            RadioRow(IdPlain3, PlainField, 3),
            RadioRow(IdPlain4, PlainField, 4),
            CheckBoxRow(IdSwitch, SwitchField),
            StoreOnly(CheckBoxRow(IdStoreOnlySwitch, StoreOnlyField)),
        });
        ConfigureScrollBar();
    }
    void LoadFromRecord() override { LoadBindings(); }

    using CBaseDialog::SetChecked;
    using CBaseDialog::StoreBinding;
};

constexpr int BoundIds[] = {IdChoice1, IdChoice2, IdChoiceOther,    IdPlain3,
                            IdPlain4,  IdSwitch,  IdStoreOnlySwitch};

// The shared settings block for one test function.
class ScopedRecord
{
public:
    ScopedRecord() : m_record(SettingsRecord::CreateInstance()) {}
    ~ScopedRecord() { SettingsRecord::ReleaseInstance(); }
    SettingsRecord& operator*() { return m_record; }
    SettingsRecord* operator->() { return &m_record; }

private:
    SettingsRecord& m_record;
};

QImage Grab(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The page base: layout helpers, scrolling arithmetic, heading rules, radio groups and keys.
class CBaseDialogTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SkinFont::EnsureRegistered(); }

    void placeLabel_data();
    void placeLabel();
    void fittingHelpers();
    void missingControlIsIgnored();
    void scrolling_data();
    void scrolling();
    void scrollBarDrivesThePage();
    void wheelMovesOneStep_data();
    void wheelMovesOneStep();
    void scrollBarConfiguration_data();
    void scrollBarConfiguration();
    void headingRulesFollowTheHeadings();
    void radioGroupsAreSeparate();
    void returnNeverReachesTheDialog();
    void pageKeys_data();
    void pageKeys();
    void bindingsLoad_data();
    void bindingsLoad();
    void bindingsStoreClicks_data();
    void bindingsStoreClicks();
    void bindingsWithoutRecord();
};

void CBaseDialogTest::placeLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("lines");
    QTest::newRow("word") << u"Low"_s << u"Low"_s << 1;
    QTest::newRow("padded") << u"  High \t"_s << u"High"_s << 1;
    QTest::newRow("empty") << QString() << QString() << 0;
    QTest::newRow("blank") << u" \t "_s << QString() << 0;
    QTest::newRow("two lines") << u"short\na much longer line"_s << u"short\na much longer line"_s << 2;
}

void CBaseDialogTest::placeLabel()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, lines);
    TestPage page(100, 10);
    const QSize size = page.PlaceLabel(IdLabel, text, page.BoldFont(), 33, 44);
    const int measured = CBaseDialog::MeasureTextWidth(shown, page.BoldFont());
    if (shown.isEmpty())
        QCOMPARE(measured, 0);
    else if (lines == 2)
        QCOMPARE(measured, QFontMetrics(page.BoldFont()).horizontalAdvance(u"a much longer line"_s));
    QCOMPARE(size.width(), shown.isEmpty() ? 25 : measured + 30);
    QCOMPARE(size.height(), lines == 0 ? 25 : lines * CBaseDialog::SystemFontLineHeight);
    auto* label = page.ControlAs<QLineEdit>(IdLabel);
    QCOMPARE(label->geometry(), QRect(QPoint(33, 44), size));
    QCOMPARE(label->text(), shown);
    QCOMPARE(label->font(), page.BoldFont());
}

void CBaseDialogTest::fittingHelpers()
{
    TestPage page(100, 10);
    const QFont& font = page.TextFont();
    const int space = CBaseDialog::MeasureTextWidth(u" "_s, font);
    const int text = CBaseDialog::MeasureTextWidth(u"Value"_s, font);
    QVERIFY(space > 0);

    page.SetControlText(IdLabel, font, u"Value"_s, 5, 6, 99, 20, true);
    QCOMPARE(page.Control(IdLabel)->geometry(), QRect(5, 6, text + 4 * space, 20));
    QCOMPARE(page.ControlAs<QLineEdit>(IdLabel)->text(), u"Value"_s);
    page.SetControlText(IdLabel, font, QString(), 5, 6, 99, 20, true);
    QCOMPARE(page.Control(IdLabel)->geometry(), QRect(5, 6, 0, 20));
    page.SetControlText(IdLabel, font, u"Value"_s, 5, 6, 99, 20, false);
    QCOMPARE(page.Control(IdLabel)->geometry(), QRect(5, 6, 99, 20));

    // PlaceControl sizes by a text it does not show.
    page.PlaceControl(IdLabel, font, u"Another"_s, 7, 8, 50, 21, true);
    QCOMPARE(page.Control(IdLabel)->geometry(),
             QRect(7, 8, CBaseDialog::MeasureTextWidth(u"Another"_s, font), 21));
    QCOMPARE(page.ControlAs<QLineEdit>(IdLabel)->text(), u"Value"_s);
    QCOMPARE(page.MoveControl(IdLabel, 1, 2, 3, 4), QSize(3, 4));
    QCOMPARE(page.Control(IdLabel)->geometry(), QRect(1, 2, 3, 4));
}

void CBaseDialogTest::missingControlIsIgnored()
{
    TestPage page(100, 10);
    QCOMPARE(page.Control(999), nullptr);
    QCOMPARE(page.PlaceLabel(999, u"x"_s, page.TextFont(), 1, 1), QSize());
    QCOMPARE(page.MoveControl(999, 1, 1, 5, 5), QSize());
    page.SetControlText(999, page.TextFont(), u"x"_s, 1, 1, 1, 1, true);
    page.PlaceControl(999, page.TextFont(), u"x"_s, 1, 1, 1, 1, true);
    QCOMPARE(page.ControlAs<QRadioButton>(IdA), page.Control(IdA));
    QCOMPARE(page.ControlAs<QCheckBox>(IdA), nullptr);
}

void CBaseDialogTest::scrolling_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<int>("expected");
    // clang-format off
    QTest::newRow("line down")             << 561 <<  80 <<   0 << 1 <<   0 <<  80;
    QTest::newRow("line down near end")    << 561 <<  80 << 520 << 1 <<   0 << 561;
    QTest::newRow("line down at end")      << 561 <<  80 << 561 << 1 <<   0 << 561;
    QTest::newRow("line up")               << 561 <<  80 << 200 << 0 <<   0 << 120;
    QTest::newRow("line up near top")      << 561 <<  80 <<  30 << 0 <<   0 <<   0;
    QTest::newRow("line up at top")        << 561 <<  80 <<   0 << 0 <<   0 <<   0;
    QTest::newRow("page down")             << 561 <<  80 <<   0 << 3 <<   0 << 437;
    QTest::newRow("page down near end")    << 561 <<  80 << 437 << 3 <<   0 << 561;
    QTest::newRow("page up")               << 561 <<  80 << 500 << 2 <<   0 <<  63;
    QTest::newRow("page up near top")      << 561 <<  80 << 400 << 2 <<   0 <<   0;
    QTest::newRow("thumb position")        << 561 <<  80 <<   0 << 4 << 300 << 300;
    QTest::newRow("thumb track unclamped") << 561 <<  80 <<   0 << 5 << 562 << 562;
    QTest::newRow("line down past end")    << 561 <<  80 << 562 << 1 <<   0 << 561;
    QTest::newRow("top ignored")           << 561 <<  80 << 200 << 6 <<   0 << 200;
    QTest::newRow("bottom ignored")        << 561 <<  80 << 200 << 7 <<   0 << 200;
    QTest::newRow("end scroll ignored")    << 561 <<  80 << 200 << 8 << 999 << 200;
    QTest::newRow("small range")           <<  67 << 100 <<   0 << 1 <<   0 <<  67;
    QTest::newRow("small range at end")    <<  67 << 100 <<  67 << 1 <<   0 <<  67;
    // clang-format on
}

void CBaseDialogTest::scrolling()
{
    QFETCH(int, range);
    QFETCH(int, step);
    QFETCH(int, start);
    QFETCH(int, code);
    QFETCH(int, thumb);
    QFETCH(int, expected);
    TestPage page(range, step);
    page.OnVScroll(CBaseDialog::ThumbTrack, start);
    QCOMPARE(page.ScrollPos(), start);
    page.OnVScroll(code, thumb);
    QCOMPARE(page.ScrollPos(), expected);
    QCOMPARE(page.VerticalScrollBar()->value(), expected);
    // The whole content moved with it, controls included.
    QCOMPARE(page.Control(IdLabel)->y(), 200 - expected);
    QCOMPARE(page.Control(IdHeading)->y(), 20 - expected);
}

void CBaseDialogTest::scrollBarDrivesThePage()
{
    TestPage page(561, 80);
    QScrollBar* bar = page.VerticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(page.ScrollPos(), 80);
    QCOMPARE(bar->value(), 80);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(page.ScrollPos(), 517);
    bar->triggerAction(QAbstractSlider::SliderToMinimum); // ignored, the bar stays
    QCOMPARE(page.ScrollPos(), 517);
    QCOMPARE(bar->value(), 517);
    // Dragging the thumb to its end: the bar's last position, one past the range.
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum());
    bar->setSliderDown(false);
    QCOMPARE(page.ScrollPos(), 562);
    QCOMPARE(page.Control(IdLabel)->y(), 200 - 562);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(page.ScrollPos(), 482);
}

void CBaseDialogTest::wheelMovesOneStep_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("delta");
    QTest::addColumn<bool>("overBar");
    QTest::addColumn<int>("expected");
    QTest::newRow("one notch down") << 0 << -120 << false << 80;
    QTest::newRow("four notches in one message") << 0 << -480 << false << 80;
    QTest::newRow("tiny delta down") << 160 << -1 << false << 240;
    QTest::newRow("up") << 160 << 120 << false << 80;
    QTest::newRow("no delta") << 160 << 0 << false << 160;
    QTest::newRow("down at end") << 561 << -120 << false << 561;
    QTest::newRow("up at top") << 0 << 360 << false << 0;
    QTest::newRow("over the bar") << 0 << -480 << true << 80;
}

void CBaseDialogTest::wheelMovesOneStep()
{
    QFETCH(int, start);
    QFETCH(int, delta);
    QFETCH(bool, overBar);
    QFETCH(int, expected);
    TestPage page(561, 80);
    page.show();
    page.OnVScroll(CBaseDialog::ThumbPosition, start);
    // Over a label: the label does not take the wheel, the page does.
    QWidget* target = overBar ? static_cast<QWidget*>(page.VerticalScrollBar()) : page.Control(IdLabel);
    SendWheel(target, QPoint(2, 2), delta);
    QCOMPARE(page.ScrollPos(), expected);
    QCOMPARE(page.VerticalScrollBar()->value(), expected);
}

void CBaseDialogTest::scrollBarConfiguration_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("record page") << 561 << true;
    QTest::newRow("memory card page") << 67 << true;
    QTest::newRow("one pixel") << 0 << true;
    QTest::newRow("nothing to scroll") << -1 << false;
}

void CBaseDialogTest::scrollBarConfiguration()
{
    QFETCH(int, range);
    QFETCH(bool, enabled);
    TestPage page(range, 80);
    page.show();
    QScrollBar* bar = page.VerticalScrollBar();
    QCOMPARE(page.ScrollBarMaximum(), range + 437);
    QCOMPARE(page.ScrollBarPage(), 437);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), std::max(0, range + 1));
    QCOMPARE(bar->pageStep(), 437);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->isEnabled(), enabled);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), QRect(CBaseDialog::ClientWidth, 0, CBaseDialog::ScrollBarWidth, 437));
}

void CBaseDialogTest::headingRulesFollowTheHeadings()
{
    TestPage page(561, 80);
    page.show();
    const QRect heading = page.Control(IdHeading)->geometry();
    const QColor rule(163, 181, 198);
    const auto check = [&](int top) {
        const QImage image = Grab(page.Content());
        const int y = top + heading.height() / 2;
        const int first = heading.width() + 27;
        const int last = CBaseDialog::ClientWidth - 15 - 1;
        QCOMPARE(image.pixelColor(first, y), rule);
        QCOMPARE(image.pixelColor(last, y), rule);
        QCOMPARE(image.pixelColor(first - 1, y), CBaseDialog::BackgroundColor);
        QCOMPARE(image.pixelColor(last + 1, y), CBaseDialog::BackgroundColor);
        QCOMPARE(image.pixelColor(first, y - 1), CBaseDialog::BackgroundColor);
    };
    check(20);
    // The hidden heading at y 300 has no rule.
    const QRect hidden = page.Control(IdHiddenHeading)->geometry();
    QCOMPARE(Grab(page.Content()).pixelColor(400, hidden.top() + hidden.height() / 2),
             CBaseDialog::BackgroundColor);
    page.OnVScroll(CBaseDialog::ThumbTrack, 10);
    check(10);
}

void CBaseDialogTest::radioGroupsAreSeparate()
{
    TestPage page(561, 80);
    page.show();
    auto click = [&](int id) { QTest::mouseClick(page.Button(id), Qt::LeftButton, {}, QPoint(6, 8)); };
    click(IdA);
    click(IdC);
    QVERIFY(page.IsChecked(IdA));
    QVERIFY(page.IsChecked(IdC));
    click(IdB);
    QVERIFY(!page.IsChecked(IdA));
    QVERIFY(page.IsChecked(IdB));
    QVERIFY(page.IsChecked(IdC));
    // A radio that is never laid out is hidden but still belongs to its own group only.
    QVERIFY(page.Control(IdUnplaced)->isHidden());
    page.Button(IdUnplaced)->click();
    QVERIFY(page.IsChecked(IdUnplaced));
    QVERIFY(!page.IsChecked(IdC));
    QVERIFY(page.IsChecked(IdB));
    // Unchecking by code works in an exclusive group and runs no handler.
    QSignalSpy clicked(page.Button(IdUnplaced), &QAbstractButton::clicked);
    QSignalSpy toggled(page.Button(IdUnplaced), &QAbstractButton::toggled);
    page.SetChecked(IdUnplaced, false);
    QVERIFY(!page.IsChecked(IdUnplaced) && !page.IsChecked(IdC) && !page.IsChecked(IdD));
    page.SetChecked(IdD, true);
    QVERIFY(page.IsChecked(IdD));
    QCOMPARE(clicked.size(), 0);
    QCOMPARE(toggled.size(), 0);
}

void CBaseDialogTest::returnNeverReachesTheDialog()
{
    QDialog dialog;
    auto* ok = new QPushButton(u"OK"_s, &dialog);
    ok->setDefault(true);
    ok->setGeometry(0, 450, 80, 25);
    auto* page = new TestPage(561, 80, &dialog);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QSignalSpy clicked(ok, &QPushButton::clicked);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int id : {IdLabel, IdA, IdBox}) {
        QWidget* control = page->Control(id);
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
    }
    QCOMPARE(accepted.size(), 0);
    QCOMPARE(clicked.size(), 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(!page->IsChecked(IdA));
}

void CBaseDialogTest::pageKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("swallowEscape"); // the page adds Escape to its keys
    QTest::addColumn<bool>("swallowed");
    QTest::newRow("Return") << int(Qt::Key_Return) << false << true;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << false << true;
    QTest::newRow("Escape, not added") << int(Qt::Key_Escape) << false << false;
    QTest::newRow("Escape, added") << int(Qt::Key_Escape) << true << true;
    QTest::newRow("Return, Escape added") << int(Qt::Key_Return) << true << true;
    QTest::newRow("another key") << int(Qt::Key_A) << true << false;
}

void CBaseDialogTest::pageKeys()
{
    QFETCH(int, key);
    QFETCH(bool, swallowEscape);
    QFETCH(bool, swallowed);
    KeyRecorder window;
    auto* page = new TestPage(561, 80, &window);
    if (swallowEscape)
        page->SwallowKey(Qt::Key_Escape);
    QCOMPARE(page->SwallowsKey(key), swallowed);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* box = page->Control(IdBox);
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(window.m_keys, swallowed ? QList<int>{} : QList<int>{key});
}

void CBaseDialogTest::bindingsLoad_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("plain");
    QTest::addColumn<int>("switchValue");
    QTest::addColumn<QList<int>>("checked"); // every bound control checked after loading
    // clang-format off
    QTest::newRow("named values")           << 1  << 3 << 1  << QList<int>{IdChoice1, IdPlain3, IdSwitch};
    QTest::newRow("second radios")          << 2  << 4 << 0  << QList<int>{IdChoice2, IdPlain4};
    QTest::newRow("the fallback's own value") << 0 << 4 << 0 << QList<int>{IdChoiceOther, IdPlain4};
    QTest::newRow("unnamed: fallback, none") << 7 << 9 << 5  << QList<int>{IdChoiceOther, IdSwitch};
    QTest::newRow("negative")               << -1 << -1 << -1 << QList<int>{IdChoiceOther, IdSwitch};
    // 3 is named by a radio of another field only.
    QTest::newRow("another field's value")  << 3  << 3 << 0  << QList<int>{IdChoiceOther, IdPlain3};
    // clang-format on
}

void CBaseDialogTest::bindingsLoad()
{
    QFETCH(int, choice);
    QFETCH(int, plain);
    QFETCH(int, switchValue);
    QFETCH(QList<int>, checked);
    ScopedRecord record;
    BoundPage page;
    // Start from the opposite state, so loading has to change every control it owns.
    for (int id : BoundIds)
        page.SetChecked(id, !checked.contains(id));
    record->SetInt32(ChoiceField, choice);
    record->SetInt32(PlainField, plain);
    record->SetInt32(SwitchField, switchValue);
    // Loading it would untick the store-only box, which starts ticked.
    record->SetInt32(StoreOnlyField, 0);
    const QByteArray before = record->ToByteArray();
    QList<std::shared_ptr<QSignalSpy>> clicks;
    QList<std::shared_ptr<QSignalSpy>> toggles;
    for (int id : BoundIds) {
        clicks.append(std::make_shared<QSignalSpy>(page.Button(id), &QAbstractButton::clicked));
        toggles.append(std::make_shared<QSignalSpy>(page.Button(id), &QAbstractButton::toggled));
    }

    page.LoadFromRecord();

    for (int id : BoundIds) {
        // The store-only box keeps whatever it showed.
        const bool expected = id == IdStoreOnlySwitch ? !checked.contains(id) : checked.contains(id);
        QVERIFY2(page.IsChecked(id) == expected, qPrintable(QString::number(id)));
    }
    // No handler ran: no click, no toggle, and the record keeps its out-of-table values.
    for (qsizetype i = 0; i < clicks.size(); ++i) {
        QCOMPARE(clicks[i]->size(), 0);
        QCOMPARE(toggles[i]->size(), 0);
    }
    QCOMPARE(record->ToByteArray(), before);
}

void CBaseDialogTest::bindingsStoreClicks_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    // clang-format off
    QTest::newRow("radio")                  << int(IdChoice2)         << u"unplaced_radio_choice"_s << 7 << 2;
    QTest::newRow("fallback radio")         << int(IdChoiceOther)     << u"unplaced_radio_choice"_s << 1 << 0;
    QTest::newRow("radio without fallback") << int(IdPlain4)          << u"device_language"_s       << 9 << 4;
    QTest::newRow("box ticked")             << int(IdSwitch)          << u"unplaced_switch_536"_s   << 0 << 1;
    QTest::newRow("box unticked")           << int(IdSwitch)          << u"unplaced_switch_536"_s   << 5 << 0;
    // Not loaded: the box starts unticked whatever the field holds.
    QTest::newRow("store-only box")         << int(IdStoreOnlySwitch) << u"unplaced_switch_540"_s   << 7 << 1;
    // clang-format on
}

void CBaseDialogTest::bindingsStoreClicks()
{
    QFETCH(int, id);
    QFETCH(QString, field);
    QFETCH(int, before);
    QFETCH(int, after);
    ScopedRecord record;
    const FieldSpec* target = nullptr;
    for (const FieldSpec& candidate : Field::all) {
        if (QLatin1StringView(candidate.name.data(), qsizetype(candidate.name.size())) == field)
            target = &candidate;
    }
    QVERIFY(target);
    record->SetInt32(*target, before);
    BoundPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.LoadFromRecord();
    QByteArray expected = record->ToByteArray();

    QAbstractButton* button = page.Button(id);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));

    QCOMPARE(record->Int32(*target), after);
    // One field and nothing else.
    qToLittleEndian<qint32>(after, expected.data() + target->offset);
    QCOMPARE(record->ToByteArray(), expected);
    // The command path stores the same.
    record->SetInt32(*target, before);
    QVERIFY(page.StoreBinding(id));
    QCOMPARE(record->Int32(*target), after);
    QVERIFY(!page.StoreBinding(IdLabel));
}

void CBaseDialogTest::bindingsWithoutRecord()
{
    BoundPage page;
    page.SetChecked(IdChoice2, true);
    page.SetChecked(IdSwitch, true);
    // Nothing to load from: the controls keep what they show.
    page.LoadFromRecord();
    QVERIFY(page.IsChecked(IdChoice2));
    QVERIFY(page.IsChecked(IdSwitch));
    // A click has nowhere to store and still checks its control.
    page.Button(IdChoice1)->click();
    QVERIFY(page.IsChecked(IdChoice1));
    QCOMPARE(SettingsRecord::Instance(), nullptr);
}

QTEST_MAIN(CBaseDialogTest)
#include "CBaseDialogTest.moc"
