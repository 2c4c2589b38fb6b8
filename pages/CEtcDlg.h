#pragma once

#include "ui/CBaseDialog.h"

// The memory card page: partition layout, overwrite rules and formatting.
class CEtcDlg final : public CBaseDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CEtcDlg)

public:
    static constexpr int TemplateId = 133;

    explicit CEtcDlg(QWidget* parent);

    void LoadFromRecord() override;
};
