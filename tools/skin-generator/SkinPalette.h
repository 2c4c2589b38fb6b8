#pragma once

#include <QRgb>

// The skin's colours. Greys carry a slight blue cast so the frame, the controls and the
// steel-blue accents read as one family.
namespace SkinPalette {

// Window frame
inline constexpr QRgb WindowField = qRgb(32, 34, 36);
inline constexpr QRgb WindowFrame = qRgb(49, 53, 56);
inline constexpr QRgb Separator = qRgb(12, 12, 13);
inline constexpr QRgb TitleTop = qRgb(45, 49, 54);
inline constexpr QRgb TitleBottom = qRgb(33, 35, 38);
inline constexpr QRgb TitleHighlight = qRgb(58, 63, 69);
inline constexpr QRgb FooterTop = qRgb(38, 41, 45);
inline constexpr QRgb FooterBottom = qRgb(28, 30, 32);
inline constexpr QRgb FooterHighlight = qRgb(46, 50, 54);
inline constexpr QRgb PageShadow = qRgb(22, 24, 26);

// Steel blue: pressed looks, accents
inline constexpr QRgb SteelBlue = qRgb(107, 138, 162);
inline constexpr QRgb SteelBlueLight = qRgb(120, 151, 175);
inline constexpr QRgb SteelBlueDark = qRgb(94, 124, 148);
inline constexpr QRgb SteelBlueFrame = qRgb(62, 88, 110);
inline constexpr QRgb AccentBlue = qRgb(88, 186, 255);
inline constexpr QRgb AccentBlueSoft = qRgb(104, 172, 228);

// Tabs
inline constexpr QRgb TabNormalTop = qRgb(54, 58, 62);
inline constexpr QRgb TabNormalBottom = qRgb(39, 41, 43);
inline constexpr QRgb TabNormalHighlight = qRgb(64, 69, 74);
inline constexpr QRgb TabHoverTop = qRgb(70, 80, 92);
inline constexpr QRgb TabHoverBottom = qRgb(50, 57, 66);
inline constexpr QRgb TabHoverHighlight = qRgb(84, 96, 110);
inline constexpr QRgb TabSelectedTop = qRgb(86, 106, 126);
inline constexpr QRgb TabSelectedBottom = qRgb(62, 78, 94);
inline constexpr QRgb TabLeftEdge = qRgb(57, 61, 66);
inline constexpr QRgb TabRightEdge = qRgb(0, 0, 0);

// Push buttons
inline constexpr QRgb ButtonNormalTop = qRgb(60, 65, 71);
inline constexpr QRgb ButtonNormalBottom = qRgb(41, 45, 49);
inline constexpr QRgb ButtonNormalHighlight = qRgb(76, 82, 89);
inline constexpr QRgb ButtonNormalOutline = qRgb(16, 17, 19);
inline constexpr QRgb ButtonHoverTop = qRgb(80, 91, 104);
inline constexpr QRgb ButtonHoverBottom = qRgb(58, 66, 76);
inline constexpr QRgb ButtonHoverHighlight = qRgb(100, 113, 128);
inline constexpr QRgb ButtonHoverOutline = qRgb(22, 26, 30);

// Caption tiles
inline constexpr QRgb CaptionNormalTop = qRgb(46, 50, 55);
inline constexpr QRgb CaptionNormalBottom = qRgb(35, 38, 41);
inline constexpr QRgb CaptionHoverTop = qRgb(68, 77, 88);
inline constexpr QRgb CaptionHoverBottom = qRgb(52, 59, 68);
inline constexpr QRgb CaptionOutline = qRgb(14, 15, 16);
inline constexpr QRgb GlyphNormal = qRgb(104, 172, 228);
inline constexpr QRgb GlyphHover = qRgb(150, 206, 250);
inline constexpr QRgb GlyphPressed = qRgb(255, 255, 255);
inline constexpr QRgb CrossNormal = qRgb(196, 206, 218);
inline constexpr QRgb CrossHover = qRgb(255, 132, 132);
inline constexpr QRgb CrossPressed = qRgb(255, 255, 255);

// Panels and charts
inline constexpr QRgb PanelFill = qRgb(34, 37, 40);
inline constexpr QRgb PanelMiddle = qRgb(47, 51, 56);
inline constexpr QRgb PanelOutline = qRgb(14, 15, 16);
inline constexpr QRgb ChartBackground = qRgb(24, 26, 28);
inline constexpr QRgb ChartGrid = qRgb(46, 50, 54);
inline constexpr QRgb ChartFrame = qRgb(62, 67, 72);
inline constexpr QRgb ChartRed = qRgb(236, 78, 78);
inline constexpr QRgb ChartGreen = qRgb(124, 200, 88);

// Swatches
inline constexpr QRgb SwatchGrey = qRgb(227, 227, 227);
inline constexpr QRgb SwatchBlue = qRgb(88, 186, 255);

// Dot strips
inline constexpr QRgb StripFill = qRgb(34, 37, 40);
inline constexpr QRgb StripOutline = qRgb(60, 65, 71);
inline constexpr QRgb DotOff = qRgb(58, 63, 69);
inline constexpr QRgb DotDim = qRgb(50, 92, 126);
inline constexpr QRgb DotMid = qRgb(68, 138, 194);
inline constexpr QRgb DotBright = qRgb(120, 204, 255);

// Memory bar segments
inline constexpr QRgb BarGreen = qRgb(164, 202, 87);
inline constexpr QRgb BarYellow = qRgb(255, 217, 38);
inline constexpr QRgb BarOrange = qRgb(249, 163, 40);
inline constexpr QRgb BarRed = qRgb(245, 81, 81);
inline constexpr QRgb BarBlue = qRgb(48, 167, 228);

// Program icon
inline constexpr QRgb IconBodyTop = qRgb(66, 72, 79);
inline constexpr QRgb IconBodyBottom = qRgb(30, 33, 36);
inline constexpr QRgb IconOutline = qRgb(12, 12, 13);
inline constexpr QRgb IconGlassCentre = qRgb(36, 86, 134);
inline constexpr QRgb IconGlassEdge = qRgb(8, 14, 24);
inline constexpr QRgb IconRecord = qRgb(245, 81, 81);

} // namespace SkinPalette
