#include "widgets/flatborder.h"

#include <QPainter>

namespace {

void fillPixels(QPainter &p, int x, int y, int w, int h, const QColor &c)
{
    if (w > 0 && h > 0)
        p.fillRect(QRect(x, y, w, h), c);
}

// One-pixel 3-D edge along `r`: top and left in `lt`, then bottom and right
// in `rb` (so the top-right and bottom-left corner pixels are `rb`).
void edgeRect(QPainter &p, const QRect &r, const QColor &lt, const QColor &rb)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    fillPixels(p, r.left(), r.top(), r.width(), 1, lt);
    fillPixels(p, r.left(), r.top(), 1, r.height(), lt);
    fillPixels(p, r.left(), r.bottom(), r.width(), 1, rb);
    fillPixels(p, r.right(), r.top(), 1, r.height(), rb);
}

} // namespace

void outlineRect(QPainter &p, const QRect &r, const QColor &c)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    fillPixels(p, r.left(), r.top(), r.width(), 1, c);
    fillPixels(p, r.left(), r.bottom(), r.width(), 1, c);
    fillPixels(p, r.left(), r.top(), 1, r.height(), c);
    fillPixels(p, r.right(), r.top(), 1, r.height(), c);
}

void DrawFlatBorder(QPainter &p, TColor color, TColor borderColor, TFlatBorderStyle style, const QRect &r)
{
    const QRect inner = r.adjusted(1, 1, -1, -1);
    switch (style) {
    case fbsLine:
        outlineRect(p, r, resolveColor(borderColor));
        break;
    case fbsActive:
        // Sunken one-pixel edge outside, button face inside.
        edgeRect(p, r, resolveColor(clBtnShadow), resolveColor(clBtnHighlight));
        outlineRect(p, inner, resolveColor(clBtnFace));
        break;
    case fbsBackground:
        outlineRect(p, r, resolveColor(color));
        outlineRect(p, inner, resolveColor(color));
        break;
    case fbsStandard:
        // The classic two-pixel sunken edge.
        edgeRect(p, r, resolveColor(clBtnShadow), resolveColor(clBtnHighlight));
        edgeRect(p, inner, resolveColor(cl3DDkShadow), resolveColor(cl3DLight));
        break;
    case fbsNone:
        break;
    }
}
