#pragma once

#include "skin/OffscreenSurface.h"
#include "ui/CBaseDialog.h"

#include <QPoint>
#include <QString>
#include <array>

// The memory card page: how the camera shares the card among its recording types (with a bar
// chart of the shares), which recordings may overwrite the oldest ones, and formatting the card.
class CEtcDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CEtcDlg)

public:
    static constexpr int TemplateId = 133;

    enum Id
    {
        IdOverwriteHeading = 1300,
        IdPartitionHeading = 1305,
        IdLabelContinuous = 1306, // ... 1310, one label per recording type
        IdShareContinuous = 1312, // ... 1316, the percentage of each recording type
        IdOverwriteIncidentContinuous = 1320,
        IdOverwriteMotionParking = 1321,
        IdOverwriteIncidentParking = 1322,
        IdOverwriteManual = 1323,
        IdOverwriteContinuous = 1325,
        IdTypeA = 1334,
        IdTypeB = 1335,
        IdTypeC = 1336,
        IdFormatHeading = 1340,
        IdFormat = 1341,
        IdFocusSink = 1342,
    };
    static constexpr int RecordingTypes = 5;
    static constexpr int BarHeight = 15;
    static constexpr int ChartScale = 400;
    static constexpr int BarSpacing = 30;

    using Shares = std::array<float, RecordingTypes>;
    // The shares of a partition type (1..3); any other value has a row of its own.
    static const Shares& SharesOf(qint32 partitionType);
    // Share x 400, truncated: the bars' pixel widths.
    static std::array<int, RecordingTypes> BarWidths(qint32 partitionType);
    // "62.0%" and the like.
    static QString ShareText(float share);

    explicit CEtcDlg(QWidget* parent);

    void LoadFromRecord() override;

    // Where the first bar is drawn in the page's content; it moves with the controls.
    QPoint ChartOrigin() const;

protected:
    void PaintPage(QPainter& painter) override;
    void OnBackgroundPressed() override;

private:
    void BuildPage();
    void DrawPartitionChart(QPainter& painter);
    void BuildShareBars(const std::array<int, RecordingTypes>& widths);
    void ShowShareTexts();
    qint32 PartitionType() const;

    // After a partition radio stored its type: the chart and the percentages follow.
    void OnPartitionClicked();
    void OnFormatClicked();

    std::array<OffscreenSurface, RecordingTypes> m_bars;
};
