#pragma once
// The two-pixel frame ring of the flat controls.
#include <QColor>
#include <QRect>

#include "widgets/syscolors.h"

class QPainter;

// The looks of the two-pixel frame ring (codes of the shared border routine).
enum TFlatBorderStyle : int { fbsNone = 0, fbsLine = 1, fbsActive = 2, fbsBackground = 3, fbsStandard = 6 };

// Draws `style` into the two-pixel ring just inside `r` (r = the whole
// control). `color` is the control's background, `borderColor` the line.
void DrawFlatBorder(QPainter &p, TColor color, TColor borderColor, TFlatBorderStyle style, const QRect &r);

// A one-pixel outline along the edge of `r` (all four sides inside r).
void outlineRect(QPainter &p, const QRect &r, const QColor &c);
