#pragma once

#include "ui/CBaseDialog.h"

// The record settings page: recording, parking mode and battery protection.
class CParkingDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CParkingDlg)

public:
    static constexpr int TemplateId = 132;

    explicit CParkingDlg(QWidget* parent);

    void LoadFromRecord() override;
};
