#pragma once

#include <QWidget>

// The common base of the three settings pages: a borderless 700 x 437 child of the main window
// that shows the shared settings block and writes each change into it at once.
class CBaseDialog : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CBaseDialog)

public:
    static constexpr int Width = 700;
    static constexpr int Height = 437;

    CBaseDialog(int templateId, QWidget* parent);

    int TemplateId() const { return m_templateId; }

    // Fills the controls from the settings block without running their change handlers.
    virtual void LoadFromRecord() = 0;

private:
    const int m_templateId;
};
