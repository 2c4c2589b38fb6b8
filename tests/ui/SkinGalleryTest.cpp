#include "ui/CRButton.h"
#include "ui/CRStaticText.h"
#include "skin/NinePatchRenderer.h"
#include "skin/OffscreenSurface.h"
#include "skin/PngResource.h"
#include "skin/SkinFont.h"

#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSheetWidth = 1480;
constexpr int kMargin = 16;
const QRect kPageArea(QPoint(11, 85), QPoint(710, 521));

// The main window's frame as its owner builds it: the stretched background with the white
// page area, and the controls at their places.
class Frame final : public QWidget
{
public:
    Frame()
    {
        resize(722, 587);
        m_background.Create(722, 587);
        NinePatchRenderer::Instance()->DrawNinePatch(m_background, 501);
        NinePatchRenderer::ReleaseInstance();
    }

    const QImage& Background() const { return m_background.Image(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_background.Image());
        painter.fillRect(kPageArea, Qt::white);
    }

private:
    OffscreenSurface m_background;
};

struct ButtonPlace
{
    QString name;
    int id;
    QRect rect;
    int normal;
    int selected; // 0: not a tab
    bool stretched;
    LabelStyle style;
};

std::vector<ButtonPlace> MainWindowButtons()
{
    const LabelStyle tab{QString(), QColor(119, 148, 177), QColor(119, 148, 177), Qt::white, 13, 1};
    const LabelStyle push{QString(), QColor(176, 187, 200), Qt::white, Qt::white, 13, 1};
    const auto with = [](LabelStyle style, const QString& text) {
        style.text = text;
        return style;
    };
    return {
        {u"tab 2203"_s, 2203, QRect(11, 48, 140, 37), 143, 146, true, with(tab, u"Memory Card Settings"_s)},
        {u"tab 2202"_s, 2202, QRect(151, 48, 140, 37), 147, 150, true, with(tab, u"Record Settings"_s)},
        {u"tab 2204"_s, 2204, QRect(291, 48, 140, 37), 151, 154, true, with(tab, u"System Settings"_s)},
        {u"minimize"_s, 2300, QRect(648, 0, 29, 26), 155, 0, false, {}},
        {u"close"_s, 2301, QRect(677, 0, 29, 26), 158, 0, false, {}},
        {u"Initialize"_s, 2302, QRect(8, 546, 221, 29), 161, 0, true, with(push, u"Initialize"_s)},
        {u"Cancel"_s, 2303, QRect(510, 546, 100, 29), 161, 0, true, with(push, u"Cancel"_s)},
        {u"Save"_s, 2304, QRect(614, 546, 100, 29), 161, 0, true, with(push, u"Save"_s)},
    };
}

CRButton* AddButton(Frame& frame, const ButtonPlace& place)
{
    auto* button = new CRButton(place.id, &frame);
    button->setGeometry(place.rect);
    if (place.stretched) {
        const LabelStyle* style = place.style.text.isEmpty() ? nullptr : &place.style;
        button->SetImagesStretched(place.normal, place.normal + 1, place.normal + 2, &frame.Background(),
                                   style);
    } else {
        button->SetImagesNatural(place.normal, place.normal + 1, place.normal + 2, &frame.Background());
    }
    if (place.selected != 0) {
        button->SetSelectedImage(place.selected);
        button->SetSelected(false);
    }
    return button;
}

void PutInState(CRButton* button, const QString& state)
{
    const QPointF inside(button->width() / 2.0, button->height() / 2.0);
    if (state == u"hover"_s || state == u"pressed"_s) {
        QMouseEvent move(QEvent::MouseMove, inside, button->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(button, &move);
    }
    if (state == u"pressed"_s)
        QTest::mousePress(button, Qt::LeftButton, {}, inside.toPoint());
    if (state == u"selected"_s)
        button->SetSelected(true);
}

QImage Checkerboard(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < size.height(); y += 6) {
        for (int x = 0; x < size.width(); x += 6)
            painter.fillRect(x, y, 6, 6, ((x + y) / 6) % 2 ? QColor(200, 200, 200) : QColor(245, 245, 245));
    }
    return image;
}

// Lays pictures out left to right, with a caption under each, wrapping at the sheet width.
class SheetWriter final
{
public:
    explicit SheetWriter(QPainter& painter) : m_painter(painter) {}

    void Heading(const QString& text)
    {
        NewLine();
        m_painter.setPen(Qt::black);
        m_painter.setFont(QFont(u"DejaVu Sans"_s, 14, QFont::Bold));
        m_painter.drawText(kMargin, m_y + 20, text);
        m_y += 32;
    }

    void Picture(const QImage& image, const QString& caption)
    {
        if (m_x + image.width() > kSheetWidth - kMargin)
            NewLine();
        m_painter.drawImage(m_x, m_y, image);
        m_painter.setPen(Qt::black);
        m_painter.setFont(QFont(u"DejaVu Sans"_s, 8));
        m_painter.drawText(m_x, m_y + image.height() + 12, caption);
        m_x += std::max(image.width(), 60) + 14;
        m_rowHeight = std::max(m_rowHeight, image.height() + 18);
    }

    void NewLine()
    {
        m_y += m_rowHeight;
        m_x = kMargin;
        m_rowHeight = 0;
    }

    int Bottom() const { return m_y + m_rowHeight; }

private:
    QPainter& m_painter;
    int m_x = kMargin;
    int m_y = kMargin;
    int m_rowHeight = 0;
};

} // namespace

class SkinGalleryTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeSheet();
};

void SkinGalleryTest::writeSheet()
{
    const QString directory = qEnvironmentVariable("SCREENSHOT_DIR");
    if (directory.isEmpty())
        QSKIP("SCREENSHOT_DIR not set");
    if (!QFile::exists(PngResource::ResourcePath(501)))
        QSKIP("skin images not embedded");
    QVERIFY(SkinFont::EnsureRegistered());
    QVERIFY(QDir().mkpath(directory));

    QImage sheet(kSheetWidth, 6000, QImage::Format_RGB32); // cropped to what was drawn
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    SheetWriter writer(painter);

    writer.Heading(u"Skin images at natural size, three times enlarged, over a checkerboard"_s);
    QList<int> ids;
    for (int id = 143; id <= 179; ++id)
        ids << id;
    ids << 501;
    for (int id : ids) {
        PngResource png;
        QVERIFY2(png.LoadPng(id), qPrintable(QString::number(id)));
        const QSize size = png.Image().size() * 3;
        QImage tile = Checkerboard(size);
        QPainter(&tile).drawImage(QRect(QPoint(0, 0), size), png.Image());
        writer.Picture(tile, u"%1 (%2x%3)"_s.arg(id).arg(png.Image().width()).arg(png.Image().height()));
    }

    writer.Heading(
        u"Main window buttons over background 501, in their places: normal, hover, pressed, selected"_s);
    for (const ButtonPlace& place : MainWindowButtons()) {
        QStringList states = {u"normal"_s, u"hover"_s, u"pressed"_s};
        if (place.selected != 0)
            states << u"selected"_s;
        for (const QString& state : states) {
            Frame frame;
            CRButton* button = AddButton(frame, place);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            PutInState(button, state);
            const QRect around = place.rect.adjusted(-6, -6, 6, 6).intersected(frame.rect());
            QImage picture = frame.grab(around).toImage();
            picture = picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            writer.Picture(picture, place.name + u", "_s + state);
        }
        writer.NewLine();
    }

    writer.Heading(u"Memory card bar segments 175-179 stretched to 60x15 and 200x15"_s);
    for (int id = 175; id <= 179; ++id) {
        for (int width : {60, 200}) {
            OffscreenSurface bar;
            QVERIFY(bar.Create(width, 15));
            NinePatchRenderer::Instance()->DrawNinePatch(bar, id);
            NinePatchRenderer::ReleaseInstance();
            QImage tile = Checkerboard(QSize(width, 15) * 2);
            QPainter(&tile).drawImage(QRect(QPoint(0, 0), QSize(width, 15) * 2), bar.Image());
            writer.Picture(tile, u"%1, %2 wide"_s.arg(id).arg(width));
        }
    }

    writer.Heading(u"The whole frame, memory card tab selected"_s);
    {
        Frame frame;
        auto* title = new CRStaticText(2001, &frame);
        title->setGeometry(QRect(QPoint(11, 7), QPoint(410, 26)));
        const QFont titleFont = SkinFont::Create(13, true);
        const LabelStyle titleStyle{
            u"Dash Cam Settings"_s, QColor(214, 223, 233), Qt::white, Qt::white, 13, 0};
        title->SetLook(0, &titleFont, &frame.Background(), &titleStyle);
        std::vector<CRButton*> buttons;
        for (const ButtonPlace& place : MainWindowButtons())
            buttons.push_back(AddButton(frame, place));
        buttons[0]->SetSelected(true);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        writer.Picture(frame.grab().toImage(), u"722 x 587"_s);
    }

    painter.end();
    const QString path = QDir(directory).filePath(u"skin-gallery.png"_s);
    QVERIFY(sheet.copy(0, 0, kSheetWidth, writer.Bottom() + kMargin).save(path));
    qInfo("wrote %s", qPrintable(path));
}

QTEST_MAIN(SkinGalleryTest)
#include "SkinGalleryTest.moc"
