#include "pages/CEtcDlg.h"

#include "i18n/LanguagePack.h"
#include "pages/CardFormatProcedure.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/NinePatchRenderer.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int PartitionGroup = 1;
// The bar images of the recording types: green, yellow, orange, red, blue.
constexpr std::array<int, CEtcDlg::RecordingTypes> BarImages{175, 176, 177, 178, 179};

// The overwrite boxes the user can change, as they are laid out.
struct OverwriteBox
{
    int id;
    const char16_t* textKey;
    int y;
};

constexpr std::array<OverwriteBox, 4> OverwriteBoxes{{
    {CEtcDlg::IdOverwriteIncidentContinuous, u"IDS_STRING147", 399},
    {CEtcDlg::IdOverwriteMotionParking, u"IDS_STRING148", 424},
    {CEtcDlg::IdOverwriteIncidentParking, u"IDS_STRING149", 449},
    {CEtcDlg::IdOverwriteManual, u"IDS_STRING150", 474},
}};

} // namespace

const CEtcDlg::Shares& CEtcDlg::SharesOf(qint32 partitionType)
{
    static const std::array<Shares, 4> rows{{
        {0.606f, 0.20f, 0.05f, 0.03f, 0.10f}, // any other value
        {0.62f, 0.20f, 0.05f, 0.03f, 0.10f},  // Type A
        {0.37f, 0.15f, 0.05f, 0.03f, 0.40f},  // Type B
        {0.55f, 0.15f, 0.15f, 0.05f, 0.10f},  // Type C
    }};
    return partitionType >= 1 && partitionType <= 3 ? rows[partitionType] : rows[0];
}

std::array<int, CEtcDlg::RecordingTypes> CEtcDlg::BarWidths(qint32 partitionType)
{
    std::array<int, RecordingTypes> widths{};
    const Shares& shares = SharesOf(partitionType);
    // Exactly on the single-precision value: 0.03f is a little below 0.03, so its bar is 11 px.
    for (int i = 0; i < RecordingTypes; ++i)
        widths[i] = int(double(shares[i]) * ChartScale);
    return widths;
}

QString CEtcDlg::ShareText(float share)
{
    return QString::asprintf("%3.1f%%", double(share * 100));
}

CEtcDlg::CEtcDlg(QWidget* parent) : CBaseDialog(TemplateId, parent)
{
    SetScrollStep(100);
    // Escape stays in the page as Return does: in the main window either would close it.
    SwallowKey(Qt::Key_Escape);
    SetScrollRange(100);
    CreatePageFonts();

    AddLabel(IdPartitionHeading);
    for (int id : {IdTypeA, IdTypeB, IdTypeC})
        AddRadio(id, PartitionGroup);
    for (int i = 0; i < RecordingTypes; ++i) {
        AddLabel(IdLabelContinuous + i);
        AddLabel(IdShareContinuous + i, Qt::AlignRight);
    }
    AddLabel(IdFormatHeading);
    connect(AddPushButton(IdFormat), &QPushButton::clicked, this, &CEtcDlg::OnFormatClicked);
    AddLabel(IdOverwriteHeading);
    AddCheckBox(IdOverwriteContinuous);
    for (const OverwriteBox& box : OverwriteBoxes)
        AddCheckBox(box.id);
    AddPushButton(IdFocusSink);

    // A partition type no radio names shows none of them.
    Bind({
        RadioRow(IdTypeA, Field::partition_type, 1),
        RadioRow(IdTypeB, Field::partition_type, 2),
        RadioRow(IdTypeC, Field::partition_type, 3),
        CheckBoxRow(IdOverwriteIncidentContinuous, Field::overwrite_incident_continuous),
        CheckBoxRow(IdOverwriteMotionParking, Field::overwrite_motion_parking),
        CheckBoxRow(IdOverwriteIncidentParking, Field::overwrite_incident_parking),
        CheckBoxRow(IdOverwriteManual, Field::overwrite_manual),
    });
    // Connected after the table's own handler, so the chart shows the type just stored.
    for (int id : {IdTypeA, IdTypeB, IdTypeC})
        connect(Button(id), &QAbstractButton::clicked, this, &CEtcDlg::OnPartitionClicked);

    BuildPage();
    ConfigureScrollBar();
    HideUnplaced(); // the focus sink among them
}

void CEtcDlg::BuildPage()
{
    const QFont& text = TextFont();
    ClearHeadings();

    PlaceHeading(IdPartitionHeading, GetText(u"IDS_STRING156"), 15, 20);
    const int w1 = PlaceLabel(IdTypeA, GetText(u"IDS_STRING157"), text, 25, 45).width();
    const int w2 = PlaceLabel(IdTypeB, GetText(u"IDS_STRING158"), text, w1 + 55, 45).width();
    PlaceLabel(IdTypeC, GetText(u"IDS_STRING159"), text, w1 + 55 + w2 + 100, 45);

    static constexpr std::array<const char16_t*, RecordingTypes> labelKeys{
        u"IDS_STRING171", u"IDS_STRING172", u"IDS_STRING173", u"IDS_STRING174", u"IDS_STRING175"};
    int m = 0;
    for (int i = 0; i < RecordingTypes; ++i)
        m = std::max(m,
                     PlaceLabel(IdLabelContinuous + i, GetText(labelKeys[i]), text, 25, 85 + 30 * i).width());
    // Three digits wide; the chart puts the real percentages in.
    for (int i = 0; i < RecordingTypes; ++i)
        PlaceLabel(IdShareContinuous + i, u"000"_s, text, m + 50, 85 + 30 * i);

    PlaceHeading(IdFormatHeading, GetText(u"IDS_STRING160"), 15, 245);
    const QString format = GetText(u"IDS_STRING161");
    if (QAbstractButton* button = Button(IdFormat)) {
        button->setFont(text);
        button->setText(format);
    }
    MoveControl(IdFormat, 25, 284, int(format.size()) * 6 + 40, 30);

    PlaceHeading(IdOverwriteHeading, GetText(u"IDS_STRING145"), 15, 334);
    PlaceLabel(IdOverwriteContinuous, GetText(u"IDS_STRING166"), text, 25, 374);
    for (const OverwriteBox& box : OverwriteBoxes)
        PlaceLabel(box.id, GetText(QStringView(box.textKey)), text, 25, box.y);
    // Continuous recordings always overwrite the oldest ones.
    SetChecked(IdOverwriteContinuous, true);
    SetEnabled(IdOverwriteContinuous, false);

    SetScrollRange(67);
    ShowShareTexts();
}

qint32 CEtcDlg::PartitionType() const
{
    const SettingsRecord* record = SettingsRecord::Instance();
    return record ? record->Int32(Field::partition_type) : 0;
}

void CEtcDlg::LoadFromRecord()
{
    if (!SettingsRecord::Instance())
        return;
    LoadBindings();
    ShowShareTexts();
    Content()->update();
}

void CEtcDlg::OnPartitionClicked()
{
    ShowShareTexts();
    Content()->update();
}

void CEtcDlg::OnFormatClicked()
{
    const QString text = GetText(u"IDS_STRING163") + u"\r\n"_s + GetText(u"IDS_STRING1630") + u"\r\n"_s;
    if (!MessageBox::Ask(this, GetText(u"IDS_STRING162"), text))
        return;
    CardFormatProcedure::HandshakeAndFormat(this);
}

void CEtcDlg::OnBackgroundPressed()
{
    // Keyboard focus leaves the page's controls, as it does for a click on an empty spot.
    QWidget* focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused))
        focused->clearFocus();
}

QPoint CEtcDlg::ChartOrigin() const
{
    const QWidget* box = Control(IdShareContinuous);
    const QWidget* radio = Control(IdTypeA);
    if (!box || !radio)
        return {};
    return QPoint(box->x() + box->width() + 10, radio->y() + radio->height() + 21);
}

void CEtcDlg::ShowShareTexts()
{
    const Shares& shares = SharesOf(PartitionType());
    for (int i = 0; i < RecordingTypes; ++i) {
        if (auto* box = ControlAs<QLineEdit>(IdShareContinuous + i)) {
            const QString text = ShareText(shares[i]);
            if (box->text() != text)
                box->setText(text);
        }
    }
}

void CEtcDlg::PaintPage(QPainter& painter)
{
    CBaseDialog::PaintPage(painter);
    DrawPartitionChart(painter);
}

void CEtcDlg::DrawPartitionChart(QPainter& painter)
{
    const std::array<int, RecordingTypes> widths = BarWidths(PartitionType());
    BuildShareBars(widths);
    const QPoint origin = ChartOrigin();
    for (int i = 0; i < RecordingTypes; ++i) {
        if (m_bars[i].IsCreated())
            painter.drawImage(origin.x(), origin.y() + BarSpacing * i, m_bars[i].Image());
    }
}

void CEtcDlg::BuildShareBars(const std::array<int, RecordingTypes>& widths)
{
    NinePatchRenderer* renderer = NinePatchRenderer::Instance();
    for (int i = 0; i < RecordingTypes; ++i) {
        m_bars[i].Release();
        if (m_bars[i].Create(widths[i], BarHeight) && renderer)
            renderer->DrawNinePatch(m_bars[i], BarImages[i]);
    }
    NinePatchRenderer::ReleaseInstance();
}
