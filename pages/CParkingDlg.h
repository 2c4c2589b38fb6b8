#pragma once

#include "ui/CBaseDialog.h"

// The record settings page: incident sensitivities, brightness, parking mode, motion detection,
// the parking record timer and the battery cut-off voltages. Every user change goes straight
// into the shared settings block. Some controls of the page are never laid out (low-voltage
// shutdown, winter months, a few switches); they stay hidden but keep their handlers, which
// OnCommand reaches by id. The switches that only mirror a field are rows of the base's binding
// table; the parking mode and low-voltage radios ask first and the month boxes edit single bits,
// so those keep handlers of their own.
class CParkingDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CParkingDlg)

public:
    static constexpr int TemplateId = 132;
    static constexpr int ScrollStepPixels = 80;
    static constexpr int BuiltScrollRange = 561;

    // Control ids.
    enum Id
    {
        // Headings.
        IdContinuousHeading = 1210,
        IdBrightnessHeading = 1000,
        IdParkingHeading = 1112,
        IdParkingImpactHeading = 1109,
        IdMotionHeading = 1113,
        IdTimerHeading = 1117,
        IdBatteryHeading = 1119,
        // Labels.
        IdContinuousLow = 1211,
        IdContinuousHigh = 1212,
        IdDark = 1003,
        IdBright = 1005,
        IdParkingImpactLow = 1110,
        IdParkingImpactHigh = 1111,
        IdMotionLow = 1114,
        IdMotionHigh = 1115,
        IdHours = 1118,
        Id12V = 1120,
        Id24V = 1122,
        // Sliders.
        IdContinuousImpact = 1252,
        IdBrightness = 1020,
        IdParkingImpact = 1160,
        IdMotion = 1161,
        IdRecordHours = 1162,
        IdCutoff12V = 1163,
        IdCutoff24V = 1164,
        // Parking mode radios: on, on without motion detection (never laid out), off.
        IdParkingOn = 4000,
        IdParkingOnNoMotion = 4001,
        IdParkingOff = 4002,
        // Never laid out.
        IdLowVoltageOn = 1153,
        IdLowVoltageOff = 1154,
        IdSwitch508On = 1155,
        IdSwitch508Off = 1156,
        IdMonth1 = 1165, // to IdMonth5, consecutive: bits 0 to 4 of the winter month mask
        IdMonth2 = 1166,
        IdMonth3 = 1167,
        IdMonth4 = 1168,
        IdMonth5 = 1169,
        IdSwitch536Box = 4103,
        IdSwitch508Box = 4104,
        IdSwitch540On = 4106,
        IdSwitch540Off = 4107,
        IdSwitch100On = 4109, // commands only: no such controls
        IdSwitch100Off = 4110,
        IdFocusSink = 1171,
        // Text fields of the template that are never laid out.
        IdUnplacedLabel1 = 1001,
        IdUnplacedLabel2 = 1002,
        IdUnplacedLabel3 = 1124,
        IdUnplacedLabel4 = 1125,
        IdUnplacedLabel5 = 1126,
        IdUnplacedLabel6 = 1127,
        IdUnplacedLabel7 = 4105,
    };

    explicit CParkingDlg(QWidget* parent);

    void LoadFromRecord() override;

    // Enables the parking controls when parking mode is on; with `apply`, the impact, motion and
    // timer sliders then follow `level`.
    void UpdateEnableStates(int level, bool apply);

    // The command of a button, as a click on it sends it.
    void OnCommand(int id);
    // Stores the field of slider `id` for its current position.
    void OnSliderChanged(int id);

protected:
    void OnBackgroundPressed() override;

private:
    void CreateControls();
    void Build();
    void SetUpSlider(int id);
    void PlaceLowHighSlider(int lowId, int sliderId, int highId, int sliderTop, int labelTop);
    void SetSliderPosition(int id, int position);
    void ApplyParkingMode(int mode);
    void OnParkingRadio(int id);
    void OnLowVoltageRadio(int id);
    void SetMonthsEnabled(bool enabled);
};
