#include "pages/CBaseDialog.h"

#include <QPalette>

CBaseDialog::CBaseDialog(int templateId, QWidget* parent) : QWidget(parent), m_templateId(templateId)
{
    setFixedSize(Width, Height);
    // Near white, not white: the page is told apart from the white page area behind it.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(254, 254, 254));
    setPalette(palette);
    setAutoFillBackground(true);
}
