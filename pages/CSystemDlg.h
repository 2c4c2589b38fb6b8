#pragma once

#include "ui/CBaseDialog.h"

// The system settings page: language, sound, time zone, clock and units.
class CSystemDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSystemDlg)

public:
    static constexpr int TemplateId = 221;

    explicit CSystemDlg(QWidget* parent);

    void LoadFromRecord() override;
};
