#pragma once
// Colours of the flat-style controls.
//
// A TColor is a 32-bit value that is either a plain RGB colour, stored as
// 0x00BBGGRR (red in the low byte), or a reference to a system colour: top
// byte 0xFF and the system colour index in the low byte (clBtnShadow is
// 0xFF000010, index 16). A reference is resolved through the one table of
// classic system colours below each time something is drawn, so every
// painter of the program shares the same palette.
#include <QColor>
#include <QtGlobal>

using TColor = quint32;

// System colour indexes (the classic Windows numbering).
enum TSysColorIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
    COLOR_COUNT = 31
};

constexpr TColor kSysColorFlag = 0xFF000000u;
constexpr TColor sysColorRef(int index) { return kSysColorFlag | TColor(index & 0xFF); }
constexpr TColor rgbColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr bool isSysColor(TColor c) { return (c & 0xFF000000u) == kSysColorFlag; }
constexpr int sysColorIndex(TColor c) { return int(c & 0xFF); }

// System colour references.
constexpr TColor clScrollBar = sysColorRef(COLOR_SCROLLBAR);
constexpr TColor clBackground = sysColorRef(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = sysColorRef(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = sysColorRef(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = sysColorRef(COLOR_MENU);
constexpr TColor clWindow = sysColorRef(COLOR_WINDOW);
constexpr TColor clWindowFrame = sysColorRef(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = sysColorRef(COLOR_MENUTEXT);
constexpr TColor clWindowText = sysColorRef(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = sysColorRef(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = sysColorRef(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = sysColorRef(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = sysColorRef(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = sysColorRef(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = sysColorRef(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = sysColorRef(COLOR_BTNFACE);
constexpr TColor clBtnShadow = sysColorRef(COLOR_BTNSHADOW);
constexpr TColor clGrayText = sysColorRef(COLOR_GRAYTEXT);
constexpr TColor clBtnText = sysColorRef(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = sysColorRef(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = sysColorRef(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = sysColorRef(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = sysColorRef(COLOR_3DLIGHT);
constexpr TColor clInfoText = sysColorRef(COLOR_INFOTEXT);
constexpr TColor clInfoBk = sysColorRef(COLOR_INFOBK);
constexpr TColor clHotLight = sysColorRef(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = sysColorRef(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = sysColorRef(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = sysColorRef(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = sysColorRef(COLOR_MENUBAR);

// Plain RGB colours (0x00BBGGRR).
constexpr TColor clBlack = 0x000000u;
constexpr TColor clMaroon = 0x000080u;
constexpr TColor clGreen = 0x008000u;
constexpr TColor clOlive = 0x008080u;
constexpr TColor clNavy = 0x800000u;
constexpr TColor clPurple = 0x800080u;
constexpr TColor clTeal = 0x808000u;
constexpr TColor clGray = 0x808080u;
constexpr TColor clSilver = 0xC0C0C0u;
constexpr TColor clRed = 0x0000FFu;
constexpr TColor clLime = 0x00FF00u;
constexpr TColor clYellow = 0x00FFFFu;
constexpr TColor clBlue = 0xFF0000u;
constexpr TColor clFuchsia = 0xFF00FFu;
constexpr TColor clAqua = 0xFFFF00u;
constexpr TColor clLtGray = 0xC0C0C0u;
constexpr TColor clDkGray = 0x808080u;
constexpr TColor clWhite = 0xFFFFFFu;
constexpr TColor clMoneyGreen = 0xC0DCC0u;
constexpr TColor clSkyBlue = 0xF0CAA6u;
constexpr TColor clCream = 0xF0FBFFu;
constexpr TColor clMedGray = 0xA4A0A0u;
// Special values: no colour / the control's default colour. Both resolve
// to black when drawn; callers that honour them test for them first.
constexpr TColor clNone = 0x1FFFFFFFu;
constexpr TColor clDefault = 0x20000000u;

// The classic system colour value of `index` (black for an unknown index).
QColor sysColor(int index);

// Resolves a TColor to the colour drawn now: system references through
// the table, RGB values as they are. The alpha channel is always opaque.
QColor resolveColor(TColor color);

// Resolves and returns the plain RGB value (0x00BBGGRR).
TColor ColorToRGB(TColor color);

// The RGB TColor of a QColor (alpha dropped).
TColor qColorToColor(const QColor &color);

// A colour moved towards white: each channel x of the resolved colour
// becomes x + (255 - x) * percent / 100, rounded to the nearest integer with
// halves to even, and kept within 0..255. Percentages above 100 count as 100
// (white); below 0 they darken. The result is an RGB value.
TColor LightenColor(TColor color, int percent);

// A colour moved towards black: red and blue lose `amount`, green loses two
// less, each channel kept within 0..255. The result is an RGB value.
TColor DarkenColor(TColor color, int amount);
