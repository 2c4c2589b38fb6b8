#include "ui/CSubSlider.h"

#include "skin/SkinFont.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

QStringList Numbers(int count)
{
    QStringList labels;
    for (int i = 1; i <= count; ++i)
        labels.append(QString::number(i));
    return labels;
}

const QStringList kVolts{u"11.6V"_s, u"11.7V"_s, u"11.8V"_s, u"11.9V"_s,
                         u"12.0V"_s, u"12.1V"_s, u"12.2V"_s, u"12.3V "_s};

// Columns of `image` inside `rows` that hold a dark pixel.
QList<int> DarkColumns(const QImage& image, int top, int bottom)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = top; y <= bottom; ++y) {
            if (qGray(image.pixel(x, y)) < 100) {
                columns.append(x);
                break;
            }
        }
    }
    return columns;
}

} // namespace

// The slider's labels, ticks, thumb and value tooltip.
class CSubSliderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        SkinFont::EnsureRegistered();
        m_font = SkinFont::Create(13, false);
    }

    void labelPositions_data();
    void labelPositions();
    void labelsArePaintedWhereTheyArePlaced();
    void ticksAndThumbSitOnTheLabels();
    void setLabelsAppends();
    void tooltipText_data();
    void tooltipText();
    void userActionsMoveTheThumb();

private:
    QFont m_font;
};

void CSubSliderTest::labelPositions_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("indices");
    QTest::addColumn<QList<int>>("centres");
    QTest::newRow("five, flags 9") << Numbers(5) << 9 << QList<int>{0, 4, 2} << QList<int>{14, 337, 175};
    QTest::newRow("eight volts, flags 5") << kVolts << 5 << QList<int>{0, 7, 4} << QList<int>{14, 337, 198};
    QTest::newRow("eight, upper and lower middle")
        << Numbers(8) << 12 << QList<int>{4, 3} << QList<int>{198, 152};
    // All labels: single-precision accumulation, 323 / 3 = 107.67 apart.
    QTest::newRow("four, all") << QStringList{u"OFF"_s, u"1"_s, u"3"_s, u"5"_s} << 16
                               << QList<int>{0, 1, 2, 3} << QList<int>{14, 121, 229, 337};
    QTest::newRow("all ignores the other bits")
        << Numbers(3) << 0x1F << QList<int>{0, 1, 2} << QList<int>{14, 175, 337};
    QTest::newRow("one label, all") << Numbers(1) << 16 << QList<int>{} << QList<int>{};
    QTest::newRow("no flags") << Numbers(5) << 0 << QList<int>{} << QList<int>{};
    QTest::newRow("no labels") << QStringList() << 9 << QList<int>{} << QList<int>{};
}

void CSubSliderTest::labelPositions()
{
    QFETCH(QStringList, labels);
    QFETCH(int, flags);
    QFETCH(QList<int>, indices);
    QFETCH(QList<int>, centres);
    CSubSlider slider;
    slider.resize(350, 55);
    slider.SetLabelFont(&m_font);
    slider.SetLabels(labels, CSubSlider::LabelFlags::fromInt(flags));
    const QList<CSubSlider::DrawnLabel> drawn = slider.DrawnLabels();
    QCOMPARE(drawn.size(), indices.size());
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        QCOMPARE(drawn[i].index, indices[i]);
        const QSize text = SkinFont::TextExtent(m_font, labels[drawn[i].index]);
        const QRect& rect = drawn[i].rect;
        QCOMPARE(rect.left(), centres[i] - text.width() / 2);
        QCOMPARE(rect.right() + 1, centres[i] + text.width());
        QCOMPARE(rect.bottom(), 54);
        QCOMPARE(rect.height(), text.height());
    }
}

void CSubSliderTest::labelsArePaintedWhereTheyArePlaced()
{
    CSubSlider slider;
    slider.resize(350, 55);
    slider.SetLabelFont(&m_font);
    slider.SetLabels(Numbers(5), CSubSlider::LabelsFirstAndLast | CSubSlider::LabelLowerMiddle);
    slider.SetRange(1, 5);
    const QImage image = slider.grab().toImage();
    const int top = 55 - SkinFont::TextExtent(m_font, u"1"_s).height();
    const QList<int> ink = DarkColumns(image, top, 54);
    QVERIFY(!ink.isEmpty());
    const auto inkNear = [&](int x) {
        return std::any_of(ink.begin(), ink.end(), [x](int c) { return c >= x - 6 && c <= x + 8; });
    };
    QVERIFY(inkNear(14));
    QVERIFY(inkNear(175));
    QVERIFY(inkNear(337));
    QVERIFY(!inkNear(94)); // "2" and "4" are not drawn with flags 9
    QVERIFY(!inkNear(256));
}

void CSubSliderTest::ticksAndThumbSitOnTheLabels()
{
    CSubSlider slider;
    slider.resize(350, 55);
    slider.SetRange(1, 5);
    slider.setValue(3);
    QCOMPARE(slider.TickPositions(), (QList<int>{14, 94, 175, 256, 337}));
    QCOMPARE(slider.ThumbCentreX(), 175);
    // The painted ticks: one dark column per tick in the rows above the thumb.
    const QImage image = slider.grab().toImage();
    QCOMPARE(DarkColumns(image, 0, CSubSlider::ThumbTop - 3), slider.TickPositions());
    slider.setValue(5);
    QCOMPARE(slider.ThumbCentreX(), 337);

    CSubSlider voltage;
    voltage.resize(350, 55);
    voltage.SetRange(0, 7);
    voltage.SetLabelFont(&m_font);
    voltage.SetLabels(kVolts, CSubSlider::LabelsFirstAndLast | CSubSlider::LabelUpperMiddle);
    const QList<int> ticks = voltage.TickPositions();
    QCOMPARE(ticks.size(), 8);
    for (const CSubSlider::DrawnLabel& label : voltage.DrawnLabels()) {
        const int width = SkinFont::TextExtent(m_font, kVolts[label.index]).width();
        QCOMPARE(label.rect.left() + width / 2, ticks[label.index]);
    }
}

void CSubSliderTest::setLabelsAppends()
{
    CSubSlider slider;
    slider.SetLabels({u"a"_s, u"b"_s}, CSubSlider::LabelsFirstAndLast);
    slider.SetLabels({u"c"_s}, CSubSlider::LabelsAll);
    QCOMPARE(slider.Labels(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    QCOMPARE(slider.LabelSelection(), CSubSlider::LabelFlags(CSubSlider::LabelsAll));
}

void CSubSliderTest::tooltipText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("24 V at 4") << 3 << 4 << u"24.0"_s;
    QTest::newRow("24 V at 7") << 3 << 7 << u"24.6"_s;
    QTest::newRow("12 V at 0") << 2 << 0 << u"11.6"_s;
    QTest::newRow("12 V at 7") << 2 << 7 << u"12.3"_s;
    QTest::newRow("hours kind 4 at 0") << 4 << 0 << u"6"_s;
    QTest::newRow("hours kind 1 at 3") << 1 << 3 << u"48"_s;
    QTest::newRow("motion at 0") << 5 << 0 << u"0"_s;
    QTest::newRow("motion at 2") << 5 << 2 << u"3"_s;
    QTest::newRow("position") << 0 << 2 << u"2"_s;
    QTest::newRow("unknown kind") << 9 << 4 << u"4"_s;
}

void CSubSliderTest::tooltipText()
{
    QFETCH(int, kind);
    QFETCH(int, position);
    QFETCH(QString, text);
    CSubSlider slider;
    slider.SetRange(0, 7);
    slider.setValue(position);
    slider.SetTooltipKind(kind);
    QCOMPARE(slider.ToolTipText(), text);
}

void CSubSliderTest::userActionsMoveTheThumb()
{
    QWidget window;
    window.resize(400, 80);
    auto* slider = new CSubSlider(&window);
    slider->setGeometry(10, 10, 350, 55);
    slider->SetRange(1, 5);
    slider->setValue(3);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy actions(slider, &QAbstractSlider::actionTriggered);

    // Dragging the thumb onto the last tick.
    const int y = CSubSlider::ThumbTop + CSubSlider::ThumbHeight / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(175, y));
    QTest::mouseMove(slider, QPoint(300, y));
    QTest::mouseMove(slider, QPoint(337, y));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(337, y));
    QCOMPARE(slider->value(), 5);
    QVERIFY(!actions.isEmpty());

    // A click on the channel left of the thumb pages one step toward it.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(20, y));
    QCOMPARE(slider->value(), 4);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Left);
    QCOMPARE(slider->value(), 3);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(slider->value(), 5);
    // Up and Page Up move toward the minimum, Down and Page Down toward the maximum.
    QTest::keyClick(slider, Qt::Key_Up);
    QCOMPARE(slider->value(), 4);
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(slider->value(), 3);
    QTest::keyClick(slider, Qt::Key_Down);
    QCOMPARE(slider->value(), 4);

    // While the user steps, the tooltip shows the value the position stands for.
    slider->SetRange(0, 7);
    slider->SetTooltipKind(CSubSlider::KindVolts12);
    slider->setValue(0);
    QTest::keyClick(slider, Qt::Key_Right);
    QTRY_COMPARE(QToolTip::text(), u"11.7"_s);
}

QTEST_MAIN(CSubSliderTest)
#include "CSubSliderTest.moc"
