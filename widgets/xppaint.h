#pragma once
// The flat XP look of push buttons, group boxes and panels, drawn over what
// the control painted itself.
//
// Coordinates are pixels of the control, (0, 0) at its top-left corner.
// The routines follow the rules of the classic drawing surface: a line
// paints its start point and every pixel up to, but not including, its end
// point; a polyline paints each of its segments that way; a filled or
// outlined rectangle (Left, Top)-(Right, Bottom) covers the columns Left to
// Right - 1 and the rows Top to Bottom - 1. Every pixel is drawn solid,
// without antialiasing (captions excepted).
#include <functional>

#include "widgets/syscolors.h"

class QGroupBox;
class QPainter;
class QPushButton;
class QWidget;
class TPanel;

// A rectangle with an exclusive right and bottom edge.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The derived colours a painter draws with (see TXPStylePainter). The
// restyled controls use IconStripBack, SelectFrame and DisabledText.
struct TXPColorScheme {
    TColor MenuBack = 0;
    TColor IconStripBack = 0;
    TColor SelectFill = 0;
    TColor SelectFrame = 0;
    TColor SelectText = 0;
    TColor CheckFill = 0;
    TColor CheckFillSelected = 0;
    TColor CheckMark = 0;
    TColor MenuBarBack = 0;
    TColor DisabledText = 0;
    TColor SeparatorLine = 0;
    TColor MenuBorder = 0;
    TColor MenuShadow = 0;
};

// What DrawXPButton needs besides the button: the scheme, the two
// lightening percentages of the face and the state of the hook.
struct XPButtonState {
    const TXPColorScheme *scheme = nullptr;
    int FaceLightenNormal = 16;
    int FaceLightenHot = 40;
    bool Hot = false;
    bool HasFocus = false;
    bool MouseDown = false;
    bool SpaceDown = false;
};

// n times: the left and top edges of r in `tl`, the right and bottom edges
// in `br`, then r shrinks by one pixel on every side. r ends up n pixels
// smaller on every side. With n = 1 on (0, 0)-(W, H): the left column
// (rows 0 to H-2) and the top row (columns 0 to W-2) in tl, the right
// column (rows 0 to H-2) and the whole bottom row in br.
void BevelFrame(QPainter &p, TRect &r, TColor tl, TColor br, int n);

// The flat push button: parent colour in the corners, a rounded outline
// with the face inside, a one-pixel shade (right and bottom, or left and
// top when pressed; none when disabled) and the centred caption.
void DrawXPButton(QPainter &p, const QPushButton *button, const XPButtonState &state);

// The colour already on the drawing surface at (x, y).
using SurfacePixel = std::function<TColor(int x, int y)>;

// The caption of a button centred on it, "&" marking the next character as
// the underlined mnemonic ("&&" gives "&"), in `color`, on a transparent
// background. An enabled default button first gets four copies, each in
// the colour below its top-left corner (`pixelBelow`) darkened.
void DrawXPCaption(QPainter &p, const QPushButton *button, TColor color, const SurfacePixel &pixelBelow = {});

// The flat group box: a one-pixel frame whose top edge lies at row
// (caption height) div 2 + 1, broken under the caption, which starts 9
// pixels from the left; everything above that row in the parent's colour.
// Covers the whole control, so nothing of its own painting shows.
void DrawXPGroupBox(QPainter &p, const QGroupBox *box);

// The bevels of a panel: the outer one on the outermost pixels, the inner
// one BorderWidth pixels further in; `light` on the left and top of a
// raised or space bevel and `dark` on its right and bottom, the other way
// round for a lowered one.
void drawPanelBevels(QPainter &p, const TPanel *panel, TColor light, TColor dark);

// The bevels of a panel in the flat colours (light: the panel colour
// lightened by 60 %, dark: darkened by 60).
void DrawXPPanel(QPainter &p, const TPanel *panel);

// The background colour of a control (its palette's background role).
TColor backgroundOf(const QWidget *w);
// The background colour of the control's parent (its own without a parent).
TColor parentBackgroundOf(const QWidget *w);
