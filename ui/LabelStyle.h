#pragma once

#include <QColor>
#include <QString>

// How a skinned button or label writes its text. The label colour follows the control's
// state: normal (also when disabled), hover, and pressed (also when selected).
struct LabelStyle
{
    QString text;
    QColor normalColour;
    QColor hoverColour;
    QColor pressedColour;
    int fontHeight = 0; // cell height in pixels (ascent + descent)
    int centring = 0;   // 0: top left of the text rectangle; 1: centred
};
