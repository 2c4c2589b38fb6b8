#pragma once

#include "device/CTimeZoneInfoManager.h"
#include "settings/RecordLayout.h"
#include "ui/CBaseDialog.h"

#include <QDateTime>
#include <QString>
#include <optional>

class QComboBox;
class QDateTimeEdit;
class QSlider;
struct DeviceClock;
struct DeviceVersionInfo;

// The system settings page: the camera's menu language, voice volume, time zone, the clock to
// hand to the camera, daylight saving, speed unit and the speed camera alerts. Every handler
// writes straight into the shared settings block (or the device clock); filling the controls
// runs none of them. The radios are rows of the base's binding table; the lists, sliders and
// the clock have handlers of their own. The page owns the time zone catalogue, built once with the page.
class CSystemDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSystemDlg)

public:
    static constexpr int TemplateId = 221;

    // Control ids.
    enum Id
    {
        // Headings and labels.
        IdLanguageHeading = 1363,
        IdVoiceHeading = 1014,
        IdVolumeLabel = 1017,
        IdTimeZoneHeading = 1345,
        IdDateTimeHeading = 1343,
        IdDaylightHeading = 1365,
        IdSpeedUnitHeading = 1366,
        IdSpeedStampHeading = 1302,
        IdSafetyCameraHeading = 4004,
        IdSpeedTrapHeading = 1368,
        // Settings.
        IdLanguageList = 1390,
        IdVolumeSlider = 1018,
        IdTimeZoneList = 1123,
        IdWriteClock = 1326,
        IdDatePicker = 1122,
        IdTimePicker = 1121,
        IdGetCurrentTime = 1344,
        IdDaylightOn = 1380,
        IdDaylightOff = 1381,
        IdKmh = 1382,
        IdMph = 1383,
        IdSpeedStampOn = 1387,
        IdSpeedStampOff = 1398,
        IdSafetyCameraOn = 4005,
        IdSafetyCameraOff = 4006,
        IdSpeedTrapOn = 1399,
        IdSpeedTrapOff = 1400,
        // Never laid out; filled and handled all the same.
        IdChoice1 = 1330,
        IdChoice2 = 1331,
        IdChoice3 = 1332,
        IdChoice0 = 1333,
        IdBrightness = 1035,
        IdAutoOff30s = 1037,
        IdAutoOff10min = 1038,
        IdAutoOffNever = 1039,
        IdLanguage0 = 1384,
        IdLanguage1 = 1385,
        IdLanguage4 = 1386,
        IdTouchHeading = 1359,
        IdTouchCalibrationReset = 1360,
        IdFocusSink = 1389,
    };

    static constexpr int PageScrollStep = 100;
    static constexpr int PageScrollRange = 415;
    // The marker file the camera looks for at the root of its card.
    static constexpr const char16_t* TouchMarkerName = u"set_touch_cal.txt";

    // versionInfo gives the camera's language list; it must outlive the page.
    CSystemDlg(const DeviceVersionInfo& versionInfo, QWidget* parent);
    ~CSystemDlg() override;

    void LoadFromRecord() override;

    const CTimeZoneInfoManager& TimeZones() const { return m_timeZones; }
    // Where the touch calibration marker goes for the current card root.
    static QString TouchMarkerPath();


protected:
    void OnBackgroundPressed() override;

private:
    void BuildLayout();
    void ConnectHandlers();
    QComboBox* List(int id) const;
    QDateTimeEdit* Picker(int id) const;

    void FillTimeZoneList();
    void OnTimeZoneChanged();
    void OnLanguageSelected(int row);
    void OnVolumeScrolled();
    void OnBrightnessScrolled();
    void OnWriteClockToggled();
    void OnTimeChanged();
    void OnDateChanged();
    void OnGetCurrentTime();
    void OnTouchCalibrationReset();
    void SetClockControlsEnabled(bool enabled);

    const DeviceVersionInfo& m_versionInfo;
    CTimeZoneInfoManager m_timeZones;
};
